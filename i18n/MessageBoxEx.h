#pragma once

// The one place that shows a modal message box. The program installs a Qt
// presenter at start; tests install a scripted one.

#include <functional>
#include <string>

// Kind codes (icon and title).
constexpr int mbWarning = 0;
constexpr int mbError = 1;
constexpr int mbInformation = 2;
constexpr int mbQuestion = 3;
constexpr int mbPlain = 4;

// Buttons codes.
constexpr int mbOk = 4;
constexpr int mbOkCancel = 12;
constexpr int mbYesNo = 3;
constexpr int mbYesNoCancel = 11;
constexpr int mbRetryCancel = 40;
constexpr int mbAbortRetryIgnore = 112;
// Save, Discard and Cancel; the answers are idYes (save), idNo (discard) and idCancel.
constexpr int mbSaveDiscardCancel = 113;

// Result codes.
constexpr int idOk = 1;
constexpr int idCancel = 2;
constexpr int idAbort = 3;
constexpr int idRetry = 4;
constexpr int idIgnore = 5;
constexpr int idYes = 6;
constexpr int idNo = 7;

struct MessageBoxRequest {
    std::string title; // Windows-1252
    std::string text;  // Windows-1252
    int kind = mbPlain;
    int buttons = mbOk;
    int defaultButton = 0;
};

using MessageBoxPresenter = std::function<int(const MessageBoxRequest&)>;

// Installs the presenter and returns the previous one.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);

// Window titles per kind, from "TitelW", "TitelE", "TitelI", "TitelB" and
// "TitelM" of the language file read last (index = kind code 0..4).
void SetMessageTitles(const std::string& warning, const std::string& error, const std::string& information,
                      const std::string& question, const std::string& plain);
// The title for `kind`; an unknown kind is a plain box.
const std::string& MessageTitle(int kind);

// Shows `text` modally with the icon and title of `kind`, the `buttons` and the
// default button (2, 3 or 4 = that button, else the first) and returns the
// result code of the user's answer. Without a presenter: idCancel.
int MessageBoxEx(const std::string& text, int kind, int buttons, int defaultButton);
