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

int MessageBoxEx(const std::string& text, int kind, int buttons, int defaultButton);
