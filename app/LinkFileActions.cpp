#include "app/LinkFileActions.h"

#include "app/DeleteAllLinks.h"
#include "app/FileNameChooser.h"
#include "comm/DeviceNotices.h"
#include "comm/ShellView.h"
#include "diag/AnsiText.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "i18n/NoticeText.h"
#include "model/LinkModel.h"
#include "model/DeviceValues.h"
#include "model/ModuleModel.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int kLinkTablePage = 2;

// File names are bytes of the file system; messages and the log are Windows-1252.
std::string shownPath(const std::string& path)
{
    return qStringToAnsi(QFile::decodeName(path.c_str()));
}

void showFileError(int message, const std::string& path, const std::string& reason)
{
    MessageBoxEx(GetMessageText(message, {shownPath(path), reason}, 1), mbError, mbOk, 0);
}

} // namespace

void LoadLinksFromChosenFile(ShellView& view, bool modulesKnown, const std::string& folder)
{
    if (!modulesKnown) {
        ShowMessageText(22, {DefaultMessageArgument}, 0);
        return;
    }
    // The question comes first, as for deleting all links; the links go only
    // once the file has been read.
    const bool confirmed = AskDeleteAllLinks();
    view.ShowStatus();
    view.SelectPage(0);
    if (!confirmed)
        return;
    const std::optional<std::string> chosen = ChooseFileName({FileNameRequest::Purpose::Open, folder});
    if (!chosen)
        return;

    LinkFileName = *chosen;
    const LinkFileLoad loaded = LoadLinkFile(LinkFileName);
    if (!loaded.ok) {
        showFileError(kMessageLinkFileUnreadable, LinkFilePath(LinkFileName), loaded.reason);
        return;
    }
    ReplaceLinks(loaded.links);
    LinkTableOrigin = loaded.origin;
    if (DebugFlag())
        WriteErrLog("210-Verkn\xFCpfungsdaten aus Datei gelesen: " + shownPath(LinkFileName));
    if (loaded.linksLeftOut)
        MessageBoxEx(GetMessageText(kMessageLinksLeftOut, {IntToText(AnzBefehle)}, 0), mbWarning, mbOk, 0);
    else
        ShowMessageText(21, {IntToText(AnzBefehle)}, 0);
    DataState = 0;
    view.ShowStatus();
    view.SelectPage(kLinkTablePage);
}

void SaveLinksToChosenFile(const OverviewRows& overview)
{
    if (const std::optional<Notice> refusal = RefusalWhileDataIncomplete()) {
        ShowNotices({*refusal});
        return;
    }
    // The dialog offers the file a save would write, so that it warns before
    // an existing one is changed.
    const std::string proposed =
        QFile::encodeName(QDir(QFile::decodeName(StartDirectory.c_str()))
                              .filePath(QFile::decodeName(LinkFilePath(LinkFileName).c_str())))
            .toStdString();
    const std::optional<std::string> chosen = ChooseFileName({FileNameRequest::Purpose::Save, proposed});
    if (!chosen)
        return;

    LinkFileName = *chosen;
    const LinkFileSave saved = SaveLinkFile(LinkFileName, CurrentLinks(), LinkTableOrigin, overview);
    if (!saved.ok) {
        showFileError(kMessageLinkFileNotSaved, LinkFilePath(LinkFileName), saved.reason);
        return;
    }
    if (DebugFlag())
        WriteErrLog("220-Verkn\xFCpfungsdaten in Datei geschrieben: " + shownPath(LinkFileName));
}
