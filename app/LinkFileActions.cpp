#include "app/LinkFileActions.h"

#include "app/DeleteAllLinks.h"
#include "app/FileNameChooser.h"
#include "core/LinkFileRead.h"
#include "sequences/DeviceNotices.h"
#include "widgets/ShellView.h"
#include "editor/LinkHistory.h"
#include "editor/LinkStepName.h"
#include "diag/MessageNumbers.h"
#include "diag/AnsiText.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "i18n/NoticeText.h"
#include "model/Station.h"

#include <filesystem>

namespace {

constexpr int kLinkTablePage = 2;

void showFileError(int message, const std::string& path, const std::string& reason)
{
    MessageBoxEx(GetMessageText(message, {fileNameToAnsi(path), reason}, 1), mbError, mbOk, 0);
}

// A link file as the window's title names it: its name without the folder.
std::string titleName(const std::string& path)
{
    return fileNameToAnsi(std::filesystem::path(path).filename().string());
}

// The dialog asked about the name the user chose; a file written under
// another name (".ini" put in place of its extension) is asked about here.
bool mayWrite(const std::string& chosen)
{
    const std::string other = OtherFileReplaced(chosen);
    if (other.empty())
        return true;
    const std::string question = GetMessageText(kMessageReplaceOtherFile, {fileNameToAnsi(other)}, 0);
    return MessageBoxEx(question, mbQuestion, mbYesNo, 2) == idYes;
}

} // namespace

void LoadLinksFromChosenFile(ShellView& view, Station& station, bool modulesKnown, const std::string& folder,
                             const std::string& workFolder, const OverviewRows& overview, LinkHistory* history)
{
    if (!modulesKnown) {
        ShowMessageText(kMessageNoModulesForLinks, {kDefaultMessageArgument}, 0);
        return;
    }
    // The question comes first, as for deleting all links; the links go only
    // once the file has been read.
    const bool confirmed = AskDeleteAllLinks(station, workFolder, overview);
    view.ShowStatus();
    view.SelectPage(0);
    if (!confirmed)
        return;
    const std::optional<std::string> chosen = ChooseFileName({FileNameRequest::Purpose::Open, folder, {}});
    if (!chosen)
        return;

    station.LinkFileName = *chosen;
    // The window takes the links before a gap, and says so below.
    struct TakeWhatIsThere final : LinkFileQuestions {
        bool UseLinksBeforeGap(const LinkFileLoad&) override { return true; }
    } questions;
    const LinkFileRead read = ReadLinkFile(station.LinkFileName, questions);
    if (!read.ok()) {
        ShowNotices(read.notices);
        return;
    }
    const LinkFileLoad& loaded = read.file;
    ChangeLinks(history, LoadStepName(station.LinkFileName), [&station, &loaded] {
        TakeLinksOfFile(station, loaded, station.LinkFileName, titleName(station.LinkFileName));
    });
    if (DebugFlag())
        WriteErrLog("210-Verkn\xFCpfungsdaten aus Datei gelesen: " + fileNameToAnsi(station.LinkFileName));
    if (loaded.notices.empty())
        ShowMessageText(kMessageLinksLoaded, {IntToText(station.AnzBefehle)}, 0);
    else
        ShowNotices(loaded.notices);
    station.DataState = 0;
    view.ShowStatus();
    view.SelectPage(kLinkTablePage);
}

bool SaveLinksToChosenFile(Station& station, const std::string& workFolder, const OverviewRows& overview)
{
    if (const std::optional<Notice> refusal = RefusalWhileDataIncomplete(station)) {
        ShowNotices({*refusal});
        return false;
    }
    // The dialog offers the file a save would write, so that it warns before
    // an existing one is changed.
    const std::string proposed = (std::filesystem::path(workFolder) / LinkFilePath(station.LinkFileName)).string();
    const std::optional<std::string> chosen = ChooseFileName({FileNameRequest::Purpose::Save, proposed, {}});
    if (!chosen || !mayWrite(*chosen))
        return false;

    station.LinkFileName = *chosen;
    const LinkFileSave saved = SaveLinkFile(station.LinkFileName, station.CurrentLinks(), station.LinkTableOrigin, overview);
    if (!saved.ok) {
        showFileError(kMessageLinkFileNotSaved, LinkFilePath(station.LinkFileName), saved.reason);
        return false;
    }
    MarkLinksKept(station, titleName(LinkFilePath(station.LinkFileName)), LinkFilePath(station.LinkFileName));
    if (DebugFlag())
        WriteErrLog("220-Verkn\xFCpfungsdaten in Datei geschrieben: " + fileNameToAnsi(station.LinkFileName));
    return true;
}
