#include "app/MainWindow.h"

#include "app/InputBlocker.h"
#include "app/StatusPanels.h"
#include "widgets/StringGrid.h"
#include "app/ToolbarIcons.h"
#include "app/WindowWords.h"
#include "diag/AnsiText.h"
#include "diag/Version.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "editor/pages/LinkEditorPage.h"
#include "editor/pages/LinkHistory.h"
#include "editor/rules/LinkStepName.h"
#include "editor/pages/TF_PDauswahl.h"
#include "i18n/FormTranslation.h"
#include "i18n/LanguageChoice.h"
#include "i18n/LanguageMenu.h"
#include "i18n/NoticeText.h"
#include "i18n/TextTable.h"
#include "app/LinkTableActions.h"
#include "app/LinkTableQuestionBoxes.h"
#include "core/LinkTableFlows.h"
#include "model/ModuleOverview.h"
#include "app/WriteQuestionBoxes.h"
#include "core/StationClient.h"
#include "core/StationOverview.h"
#include "sequences/CheckedLinkWrite.h"
#include "model/UnsavedLinks.h"
#include "sequences/DeviceNotices.h"
#include "sequences/DeviceRead.h"
#include "sequences/LinkAreaRead.h"
#include "protocol/DeviceRegisters.h"
#include "sequences/PortSearch.h"
#include "diag/ProgramFolder.h"
#include "model/Snapshots.h"
#include "i18n/LanguageTexts.h"
#include "app/TF_rs232.h"
#include "app/TrafficView.h"
#include "protocol/Tvep.h"
#include "editor/pages/LinkTablePage.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

namespace {

// The status text of the automatic search, "ComPort-Suche …".
constexpr int kSearchingText = 50;
// The undo and redo items' captions, and the device read's step name.
constexpr int kUndoCaption = 53;
constexpr int kRedoCaption = 54;
constexpr int kReadDeviceCaption = 18;

} // namespace

TF_Kalmoria_main::TF_Kalmoria_main(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("F_Kalmoria_main"));
    resize(880, 660);
    m_station = std::make_unique<StationClient>(Preferences::Stored());
    m_linkHistory = new LinkHistory(station(), this);
    m_linkTableQuestions = std::make_unique<LinkTableQuestionBoxes>();
    m_linkTable = std::make_unique<LinkTableFlows>(station(), *m_linkTableQuestions, StartDirectory(), m_linkHistory);
    createActions();
    createToolBar();
    createMenu();
    createPages();
    createStatusBar();
    createTextTables();
    FormCreate();
    F_PDauswahl = new TF_PDauswahl(this);
    TabSheet2->useLinkDialog(F_PDauswahl);
    TabSheet2->useLinkHistory(m_linkHistory);
    connect(m_linkHistory, &LinkHistory::changed, this, &TF_Kalmoria_main::ShowStepNames);
    connect(m_linkHistory, &LinkHistory::changed, this, &TF_Kalmoria_main::ShowTitle);
    connect(m_linkHistory, &LinkHistory::linksPutBack, this, &TF_Kalmoria_main::ShowLinksPutBack);
    ShowStepNames();
    F_rs232 = new TF_rs232(station(), this);
}

TF_Kalmoria_main::~TF_Kalmoria_main()
{
    // The traffic view listens to the client's frames: it goes before the
    // client, which the window's members take with them ahead of its children.
    delete findChild<TrafficView*>(QString(), Qt::FindDirectChildrenOnly);
}

void TF_Kalmoria_main::FormCreate()
{
    BuildLanguageMenu(kLanguageFileMinimumVersion, mSprachwahl, "Kalmoria.ini",
                      [this](QAction* item) { mSprachwahlClick(item); }, "Kalmoria", "Sprache");
    TranslateForm(this);
    ShowOverviewHeadings();
    ShowTitle();
    SelectPage(0);
    StartDirectory(); // the working folder now, where the file dialogs open
    station().LinkFileName = DefaultLinkFileNameText();
    // No page can be used until modules are known.
    TabSheet->setEnabled(false);
    station().DataState = 99;
    if (DebugBit(2))
        WriteErrLog("Kalmorin-Start");
    m_station->SetWaitHook([this] { Repaint(); });
    const Preferences& preferences = m_station->Prefs();
    SchnellesAntwortende1->setChecked(preferences.fastReplyEnd);
    SchreibenPruefen1->setChecked(preferences.writeCheck);
    for (QAction* item : Wiederholungen1->actions())
        item->setChecked(item->data().toInt() == preferences.retries);
    // The port search follows once the window is shown (StartUpSearch);
    // until it ends the status bar shows the values of a fresh start.
    ShowStatus();
}

void TF_Kalmoria_main::StartUpSearch()
{
    ActionComSucheExecute();
    // Nothing is read yet: the type word of a probe is not the device's. The
    // status bar keeps what the search showed until its next refresh.
    station().DeviceType = 0;
}

void TF_Kalmoria_main::ShowStatus()
{
    std::array<std::string, kStatusPanelCount> texts = StatusPanelTexts(station(), WindowStatusWords());
    // Without it the panels after a fruitless search read like a quiet COM1.
    if (m_noDeviceFound && texts[kFreePanel].empty())
        texts[kFreePanel] = NoDeviceFoundText();
    m_status->Show(texts);
}

void TF_Kalmoria_main::ZeigeStation()
{
    if (station().ModulAnzahl > 0)
        TabSheet->setEnabled(true);
    ShowOverviewHeadings();

    const std::vector<OverviewRow> rows = ModuleOverviewRows(station());
    for (int row = 1; row < kOverviewRows; ++row) {
        const auto p = static_cast<std::size_t>(row - 1);
        for (int col = 0; col < kOverviewColumns; ++col)
            SG1->setCell(col, row, p < rows.size() ? rows[p][static_cast<std::size_t>(col)] : std::string());
    }
    SG1->fitColumnsToTexts();
    if (SG1->currentGridRow() < 1)
        SG1->setCurrentGridRow(1);
    ShowStatus();
}

void TF_Kalmoria_main::ShowOverviewHeadings()
{
    for (int col = 0; col < kOverviewColumns; ++col)
        SG1->setCell(col, 0, MemTabLine(kOverviewHeadingLines[static_cast<std::size_t>(col)]));
    SG1->fitColumnsToTexts();
}

void TF_Kalmoria_main::SelectPage(int index)
{
    TabSheet->setCurrentIndex(index);
}

void TF_Kalmoria_main::SetProgressText(const std::string& text)
{
    m_status->SetPanel(kFreePanel, text);
    statusBar()->repaint();
}

void TF_Kalmoria_main::Repaint()
{
    // Paint what changed, but let no click or key through while a device
    // sequence holds the GUI thread.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TF_Kalmoria_main::ModulesChanged()
{
    ZeigeStation();
    if (station().ModulAnzahl > 0)
        EnableLinkEditorPage();
}

void TF_Kalmoria_main::EnableLinkEditorPage()
{
    TabSheet->setTabEnabled(1, true);
}

void TF_Kalmoria_main::SetBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TF_Kalmoria_main::SetProgress(int done, int total)
{
    // The status bar makes room for the bar only when events are processed.
    if (m_status->SetProgress(done, total))
        Repaint();
}

void TF_Kalmoria_main::HideProgress()
{
    m_status->HideProgress();
}

void TF_Kalmoria_main::ShowSearchingPort(int32_t port)
{
    std::string searching = GetText(kSearchingText, "");
    if (searching.starts_with('@'))
        searching = "ComPort-Suche \x85";
    SetProgressText(searching + " COM" + IntToText(port));
}

void TF_Kalmoria_main::SG1DblClick()
{
    // The overview's current row decides, also for a double click on the link
    // table; before the overview had a row selected, that is its first row.
    const int row = std::clamp(SG1->currentGridRow(), 1, std::max(station().ModulAnzahl, 1));
    SelectPage(1);
    TabSheet2->ShowSourceModuleAt(row - 1);
}

void TF_Kalmoria_main::ActionEndeExecute()
{
    close();
}

void TF_Kalmoria_main::ActionAlleVerknLoeschenExecute()
{
    DeleteAllLinks(*this, *m_linkTable, OverviewForLinkFile(station()));
    ShowTitle(); // the question may have saved the links
}

void TF_Kalmoria_main::ActionLadenQMXExecute()
{
    // The read replaces the links once the port opens, whatever becomes of it.
    if (m_linkTable->ResolveUnsavedLinks(OverviewForLinkFile(station())) == LinkTableFlows::Unsaved::Cancel)
        return;
    DeviceReadResult result;
    m_linkHistory->Record(CommandStepName(kReadDeviceCaption), [&] {
        {
            const InputBlocker noInputWhileReading;
            SelectPage(0);
            result = m_station->Read(*this);
        }
        // A port that would not open left the table as it was, kept or not.
        if (result.outcome != Outcome::PortNotOpen)
            MarkLinksKept(station(), StationTitleName());
    });
    if (result.ok()) {
        m_noDeviceFound = false;
        ShowStatus();
    }
    TabSheet3->ForgetComparison();
    ShowTitle();
    // The port is closed by now: a box left open does not hold the line.
    ShowNotices(result.notices);
}

void TF_Kalmoria_main::ActionSpeichernQMXExecute()
{
    WriteQuestionBoxes questions(station());
    CheckedLinkWriteResult result;
    {
        const InputBlocker noInputWhileWriting;
        result = m_station->Write(this, m_station->WriteChecks(), OverviewForLinkFile(station()), questions);
    }
    if (result.ok())
        MarkLinksKept(station(), StationTitleName());
    ShowTitle();
    TabSheet3->ForgetComparison();
    ShowNotices(result.notices);
}

void TF_Kalmoria_main::ActionLesenExecute()
{
    // The overview's first row is empty until modules were read.
    LoadLinksFromChosenFile(*this, *m_linkTable, !SG1->cell(0, 1).empty(), StartDirectory(),
                            OverviewForLinkFile(station()));
    ShowTitle();
}

void TF_Kalmoria_main::ActionSicherungExecute()
{
    // The newest snapshot of the station read last, else those of every station.
    const std::string start = station().OverviewOrigin ? NewestSnapshotOrFolder(station().OverviewOrigin->serialNumber) : backupFolder();
    LoadLinksFromChosenFile(*this, *m_linkTable, !SG1->cell(0, 1).empty(), start, OverviewForLinkFile(station()));
    ShowTitle();
}

void TF_Kalmoria_main::RueckgaengigExecute()
{
    m_linkHistory->Undo();
}

void TF_Kalmoria_main::WiederholenExecute()
{
    m_linkHistory->Redo();
}

void TF_Kalmoria_main::ShowStepNames()
{
    const auto show = [](QAction* item, int caption, bool enabled, const std::string& step) {
        std::string text = GetText(caption, "");
        if (enabled)
            text += ": " + step;
        item->setText(ansiToQString(text));
        item->setEnabled(enabled);
    };
    show(Rueckgaengig1, kUndoCaption, m_linkHistory->CanUndo(), m_linkHistory->UndoName());
    show(Wiederholen1, kRedoCaption, m_linkHistory->CanRedo(), m_linkHistory->RedoName());
}

Station& TF_Kalmoria_main::station()
{
    return m_station->State();
}

const Station& TF_Kalmoria_main::station() const
{
    return m_station->State();
}

std::string TF_Kalmoria_main::StationTitleName() const
{
    return station().SerialNumber != 0 ? "Station " + IntToText(station().SerialNumber) : std::string();
}

void TF_Kalmoria_main::ShowTitle()
{
    // The caption alone until some station or file holds the links; then
    // also which, and Qt's marker while the table differs from it.
    QString title = QStringLiteral(" Kalmoria " KALMORIA_VERSION);
    if (const std::string keptAs = LastKeptLinks(station()).keptAs; !keptAs.empty())
        title += QStringLiteral(" - ") + ansiToQString(keptAs) + QStringLiteral("[*]");
    setWindowTitle(title);
    setWindowModified(HasUnsavedLinks(station()));
}

void TF_Kalmoria_main::ShowLinksPutBack()
{
    // An undone read puts the overview back too.
    ZeigeStation();
    TabSheet2->ShowLinksAgain();
    TabSheet3->TabSheet3Show();
}

void TF_Kalmoria_main::CompareWithDeviceExecute()
{
    LinkAreaRead area;
    {
        const InputBlocker noInputWhileReading;
        area = m_station->ReadDeviceLinks();
    }
    if (!area.ok()) {
        ShowNotices(area.notices);
        return;
    }
    TabSheet3->ShowComparison(DecodeLinkArea(area.words).links);
}

void TF_Kalmoria_main::ActionSpeichernExecute()
{
    m_linkTable->SaveLinkFile(OverviewForLinkFile(station()));
    ShowTitle();
}

void TF_Kalmoria_main::ActionComSucheExecute()
{
    const InputBlocker noInputWhileSearching;
    // The serial number stays that of the station whose modules are shown.
    m_noDeviceFound = m_station->Search(*this).devices.empty();
    ShowStatus();
}

void TF_Kalmoria_main::ComPort1Click()
{
    F_rs232->exec();
    ShowStatus();
}

void TF_Kalmoria_main::SchnellesAntwortende1Click()
{
    m_station->SetFastReplyEnd(SchnellesAntwortende1->isChecked());
    Preferences::StoreFastReplyEnd(SchnellesAntwortende1->isChecked());
}

void TF_Kalmoria_main::SchreibenPruefen1Click()
{
    m_station->SetWriteCheck(SchreibenPruefen1->isChecked());
    Preferences::StoreWriteCheck(SchreibenPruefen1->isChecked());
}

void TF_Kalmoria_main::Wiederholungen1Click(QAction* item)
{
    m_station->SetRetries(item->data().toInt());
    Preferences::StoreRetries(item->data().toInt());
}

void TF_Kalmoria_main::mSprachwahlClick(QAction* item)
{
    const std::string defaultName = DefaultLinkFileNameText();
    LanguageMenuClick(mSprachwahl, item);
    // A save proposes the new language's name until the user chose one.
    if (station().LinkFileName == defaultName)
        station().LinkFileName = DefaultLinkFileNameText();
    // The headings and group names are copies of text tables: take the new language's.
    ShowOverviewHeadings();
    ShowStatus();
    ShowStepNames();
    TabSheet2->RelabelGroups();
    if (TabSheet3->isVisible())
        TabSheet3->TabSheet3Show();
}

const Tvep& TF_Kalmoria_main::ProtocolClient() const
{
    return m_station->Client();
}

std::string TF_Kalmoria_main::MemTabLine(int i) const
{
    return TextTableLine(MemTab, i);
}

std::string TF_Kalmoria_main::Memo1Line(int i) const
{
    return TabSheet2->Memo1Line(i);
}

std::string TF_Kalmoria_main::Memo2Line(int i) const
{
    return TextTableLine(Memo2, i);
}

std::string TF_Kalmoria_main::statusPanelText(int panel) const
{
    return m_status->PanelText(panel);
}

void TF_Kalmoria_main::closeEvent(QCloseEvent* event)
{
    if (m_linkTable->ResolveUnsavedLinks(OverviewForLinkFile(station())) == LinkTableFlows::Unsaved::Cancel)
        event->ignore();
    else
        QMainWindow::closeEvent(event);
}

void TF_Kalmoria_main::keyPressEvent(QKeyEvent* event)
{
    FormKeyDown(event);
    QMainWindow::keyPressEvent(event);
}

void TF_Kalmoria_main::FormKeyDown(QKeyEvent*)
{
    // The window handles no keys of its own.
}
