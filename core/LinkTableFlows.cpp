#include "core/LinkTableFlows.h"

#include "core/LinkFileRead.h"
#include "core/LinkTableQuestions.h"
#include "diag/AnsiText.h"
#include "diag/ErrLog.h"
#include "diag/MessageNumbers.h"
#include "diag/TextHelpers.h"
#include "editor/rules/LinkChangeRecorder.h"
#include "editor/rules/LinkStepName.h"
#include "model/Station.h"
#include "sequences/DeviceNotices.h"

#include <filesystem>

namespace {

// The command's own caption names the step: "Alle Verknüpfungen löschen".
constexpr int kDeleteAllCaption = 14;

// A link file as the window's title names it: its name without the folder.
std::string titleName(const std::string& path)
{
    return fileNameToAnsi(std::filesystem::path(path).filename().string());
}

} // namespace

LinkTableFlows::LinkTableFlows(Station& station, LinkTableQuestions& questions, std::string workFolder,
                               LinkChangeRecorder* history)
    : m_station(station)
    , m_questions(questions)
    , m_workFolder(std::move(workFolder))
    , m_history(history)
{
}

LinkTableFlows::Unsaved LinkTableFlows::ResolveUnsavedLinks(const OverviewRows& overview)
{
    if (!HasUnsavedLinks(m_station))
        return Unsaved::NoneUnsaved;
    switch (m_questions.AskAboutUnsavedLinks(m_station.AnzBefehle)) {
    case LinkTableQuestions::UnsavedAnswer::Save: return SaveLinkFile(overview) ? Unsaved::GoOn : Unsaved::Cancel;
    case LinkTableQuestions::UnsavedAnswer::Discard: return Unsaved::GoOn;
    case LinkTableQuestions::UnsavedAnswer::Cancel: break;
    }
    return Unsaved::Cancel;
}

bool LinkTableFlows::MayLetLinksGo(const OverviewRows& overview)
{
    // One question only: the one about unsaved edits already says that they go.
    switch (ResolveUnsavedLinks(overview)) {
    case Unsaved::GoOn: return true;
    case Unsaved::Cancel: return false;
    case Unsaved::NoneUnsaved: break;
    }
    return m_questions.ConfirmDeleteAllLinks();
}

bool LinkTableFlows::DeleteAllLinks(const OverviewRows& overview)
{
    if (!MayLetLinksGo(overview))
        return false;
    ChangeLinks(m_history, CommandStepName(kDeleteAllCaption), [this] { m_station.ClearAllLinks(); });
    m_station.DataState = 0;
    return true;
}

bool LinkTableFlows::LoadLinkFile(const std::string& folder)
{
    const std::optional<std::string> chosen = m_questions.ChooseFileToOpen(folder);
    if (!chosen)
        return false;
    m_station.LinkFileName = *chosen;
    const LinkFileRead read = ReadLinkFile(m_station.LinkFileName, m_questions);
    if (!read.ok()) {
        m_questions.Tell(read.notices);
        return false;
    }
    ChangeLinks(m_history, LoadStepName(m_station.LinkFileName), [this, &read] {
        TakeLinksOfFile(m_station, read.file, m_station.LinkFileName, titleName(m_station.LinkFileName));
    });
    if (DebugFlag())
        WriteErrLog("210-Verkn\xFCpfungsdaten aus Datei gelesen: " + fileNameToAnsi(m_station.LinkFileName));
    if (read.notices.empty())
        m_questions.Tell({DeviceNotice(kMessageLinksLoaded, Notice::Severity::Information,
                                       {IntToText(m_station.AnzBefehle)})});
    else
        m_questions.Tell(read.notices);
    m_station.DataState = 0;
    return true;
}

bool LinkTableFlows::SaveLinkFile(const OverviewRows& overview)
{
    if (const std::optional<Notice> refusal = RefusalWhileDataIncomplete(m_station)) {
        m_questions.Tell({*refusal});
        return false;
    }
    // The dialog offers the file a save would write, so that it warns before
    // an existing one is changed.
    const std::string proposed =
        (std::filesystem::path(m_workFolder) / LinkFilePath(m_station.LinkFileName)).string();
    const std::optional<std::string> chosen = m_questions.ChooseFileToSave(proposed);
    if (!chosen)
        return false;
    // The dialog asked about the name the user chose; a file written under
    // another name is asked about here.
    if (const std::string other = OtherFileReplaced(*chosen); !other.empty() && !m_questions.ReplaceOtherFile(other))
        return false;

    m_station.LinkFileName = *chosen;
    const std::string path = LinkFilePath(m_station.LinkFileName);
    const LinkFileSave saved = ::SaveLinkFile(m_station.LinkFileName, m_station.CurrentLinks(),
                                              m_station.LinkTableOrigin, overview);
    if (!saved.ok()) {
        m_questions.Tell(
            {DeviceNotice(kMessageLinkFileNotSaved, Notice::Severity::Error, {fileNameToAnsi(path), saved.reason})});
        return false;
    }
    MarkLinksKept(m_station, titleName(path), path);
    if (DebugFlag())
        WriteErrLog("220-Verkn\xFCpfungsdaten in Datei geschrieben: " + fileNameToAnsi(m_station.LinkFileName));
    return true;
}
