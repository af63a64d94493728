#include "app/MainWindow.h"
#include "transports/LineFactory.h"

#include "app/InputBlocker.h"
#include "widgets/StringGrid.h"
#include "app/ToolbarIcons.h"
#include "diag/AnsiText.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "editor/LinkEditorPage.h"
#include "editor/LinkHistory.h"
#include "editor/TF_PDauswahl.h"
#include "i18n/FormTranslation.h"
#include "i18n/LanguageChoice.h"
#include "i18n/LanguageMenu.h"
#include "i18n/NoticeText.h"
#include "i18n/TextTable.h"
#include "app/DeleteAllLinks.h"
#include "app/LinkFileActions.h"
#include "app/UnsavedLinksQuestion.h"
#include "app/LinkProblemQuestion.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/ModuleOverview.h"
#include "app/StationQuestion.h"
#include "sequences/CheckedLinkWrite.h"
#include "model/UnsavedLinks.h"
#include "sequences/DeviceNotices.h"
#include "sequences/DeviceRead.h"
#include "sequences/LinkAreaRead.h"
#include "protocol/DeviceRegisters.h"
#include "sequences/LinkWrite.h"
#include "sequences/PortSearch.h"
#include "sequences/PortSettings.h"
#include "core/ReplyEndSetting.h"
#include "core/WriteCheckSetting.h"
#include "diag/ProgramFolder.h"
#include "model/Snapshots.h"
#include "core/RetrySetting.h"
#include "i18n/LanguageTexts.h"
#include "app/TF_rs232.h"
#include "protocol/Tvep.h"
#include "app/TrafficView.h"
#include "editor/LinkTablePage.h"

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

struct ToolButtonDesign {
    const char* name;
    const char* caption;
    int image;
};

} // namespace

TF_Kalmoria_main::TF_Kalmoria_main(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("F_Kalmoria_main"));
    resize(880, 660);
    m_linkHistory = new LinkHistory(this);
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
    connect(m_linkHistory, &LinkHistory::linksPutBack, this, &TF_Kalmoria_main::ShowLinksPutBack);
    ShowStepNames();
    F_rs232 = new TF_rs232(this);
}

TF_Kalmoria_main::~TF_Kalmoria_main() = default;

QAction* TF_Kalmoria_main::createAction(const char* name, void (TF_Kalmoria_main::*handler)())
{
    auto* action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TF_Kalmoria_main::createActions()
{
    ActionEnde = createAction("ActionEnde", &TF_Kalmoria_main::ActionEndeExecute);
    ActionAlleVerknLoeschen = createAction("ActionAlleVerknLoeschen", &TF_Kalmoria_main::ActionAlleVerknLoeschenExecute);
    ActionLesen = createAction("ActionLesen", &TF_Kalmoria_main::ActionLesenExecute);
    ActionSpeichern = createAction("ActionSpeichern", &TF_Kalmoria_main::ActionSpeichernExecute);
    ActionLadenQMX = createAction("ActionLadenQMX", &TF_Kalmoria_main::ActionLadenQMXExecute);
    ActionSpeichernQMX = createAction("ActionSpeichernQMX", &TF_Kalmoria_main::ActionSpeichernQMXExecute);
    ActionComSuche = createAction("ActionComSuche", &TF_Kalmoria_main::ActionComSucheExecute);
    ActionSicherung = createAction("ActionSicherung", &TF_Kalmoria_main::ActionSicherungExecute);
    Rueckgaengig1 = createAction("Rueckgaengig1", &TF_Kalmoria_main::RueckgaengigExecute);
    Rueckgaengig1->setText(QString::fromUtf8("@53R\xC3\xBC" "ckg\xC3\xA4" "ngig"));
    Rueckgaengig1->setShortcut(QKeySequence::Undo);
    Wiederholen1 = createAction("Wiederholen1", &TF_Kalmoria_main::WiederholenExecute);
    Wiederholen1->setText(QStringLiteral("@54Wiederholen"));
    // Both the Windows key and the one of other desktops.
    Wiederholen1->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
}

void TF_Kalmoria_main::createToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(49);
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    const std::array<std::pair<ToolButtonDesign, QAction*>, 6> buttons{{
        {{"ToolButton1", "@11quitt", 0}, ActionEnde},
        {{"ToolButton7", "@14Loeschen", 9}, ActionAlleVerknLoeschen},
        {{"ToolButton2", "@12\xC3\xB6" "ffnen", 1}, ActionLesen},
        {{"ToolButton3", "@13Speichern", 2}, ActionSpeichern},
        {{"ToolButton4", "@18LadenQMX", 4}, ActionLadenQMX},
        {{"ToolButton6", "@19\xC3\xBC" "bertragen", 7}, ActionSpeichernQMX},
    }};
    for (const auto& [design, action] : buttons) {
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QLatin1String(design.name));
        button->setText(QString::fromUtf8(design.caption));
        button->setIcon(ImageList1(design.image));
        button->setFixedSize(47, 46);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        ToolBar1->addWidget(button);
    }
}

void TF_Kalmoria_main::createMenu()
{
    QMenuBar* MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    const auto addItem = [this](QMenu* menu, const char* name, const QString& caption, QAction* action) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, action, &QAction::trigger);
        return item;
    };

    QMenu* Datei1 = MainMenu1->addMenu(QStringLiteral("@10&Datei"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Datei1->addAction(Rueckgaengig1);
    Datei1->addAction(Wiederholen1);
    Datei1->addSeparator();
    addItem(Datei1, "neu1", QStringLiteral("@14Loeschen"), ActionAlleVerknLoeschen);
    QAction* Oeffnen1 = addItem(Datei1, "Oeffnen1", QStringLiteral("@12aden"), ActionLesen);
    Oeffnen1->setStatusTip(QStringLiteral("Modulliste laden"));
    Oeffnen1->setToolTip(Oeffnen1->statusTip());
    addItem(Datei1, "Sicherung1", QStringLiteral("@15Sicherung wiederherstellen..."), ActionSicherung);
    addItem(Datei1, "N14speichern1", QStringLiteral("@13Speichern"), ActionSpeichern);
    addItem(Datei1, "ende1", QStringLiteral("@11beenden"), ActionEnde);

    QMenu* Einstellung1 = MainMenu1->addMenu(QStringLiteral("@20&Einstellung"));
    Einstellung1->setObjectName(QStringLiteral("Einstellung1"));
    QAction* ComPort1 = Einstellung1->addAction(QString::fromUtf8("@21ComPort ausw\xC3\xA4hlen"));
    ComPort1->setObjectName(QStringLiteral("ComPort1"));
    connect(ComPort1, &QAction::triggered, this, &TF_Kalmoria_main::ComPort1Click);
    addItem(Einstellung1, "ComPortsuchen", QStringLiteral("@22ComPort automatisch suchen"), ActionComSuche);
    Einstellung1->addSeparator();
    SchnellesAntwortende1 = Einstellung1->addAction(QStringLiteral("@23Schnelles Antwortende"));
    SchnellesAntwortende1->setObjectName(QStringLiteral("SchnellesAntwortende1"));
    SchnellesAntwortende1->setCheckable(true);
    connect(SchnellesAntwortende1, &QAction::triggered, this, &TF_Kalmoria_main::SchnellesAntwortende1Click);
    SchreibenPruefen1 = Einstellung1->addAction(QString::fromUtf8("@16Schreiben pr\xC3\xBC" "fen"));
    SchreibenPruefen1->setObjectName(QStringLiteral("SchreibenPruefen1"));
    SchreibenPruefen1->setCheckable(true);
    connect(SchreibenPruefen1, &QAction::triggered, this, &TF_Kalmoria_main::SchreibenPruefen1Click);
    Wiederholungen1 = Einstellung1->addMenu(QString::fromUtf8("@51Wiederholungen bei \xC3\x9C" "bertragungsfehlern"));
    Wiederholungen1->setObjectName(QStringLiteral("Wiederholungen1"));
    auto* retryChoices = new QActionGroup(Wiederholungen1);
    for (int retries = 0; retries <= Tvep::MaxRetries; ++retries) {
        QAction* item = Wiederholungen1->addAction(QString::number(retries));
        item->setObjectName(QStringLiteral("Wiederholungen%1").arg(retries));
        item->setData(retries);
        item->setCheckable(true);
        retryChoices->addAction(item);
    }
    connect(retryChoices, &QActionGroup::triggered, this, &TF_Kalmoria_main::Wiederholungen1Click);
    AddTrafficViewEntry(*Einstellung1, *this);

    mSprachwahl = MainMenu1->addMenu(QStringLiteral("@25&Sprachwahl"));
    mSprachwahl->setObjectName(QStringLiteral("mSprachwahl"));

    // A menu closed with Esc leaves its title highlighted, and the menu bar
    // shows the title's hint again, as a status message that hides the status
    // panels until the next hint: once the menu is gone, so is its hint.
    for (QMenu* menu : {Datei1, Einstellung1, mSprachwahl})
        connect(menu, &QMenu::aboutToHide, this,
                [this] { QTimer::singleShot(0, statusBar(), &QStatusBar::clearMessage); });
}

void TF_Kalmoria_main::createPages()
{
    TabSheet = new QTabWidget(this);
    TabSheet->setObjectName(QStringLiteral("TabSheet"));
    TabSheet->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 140px; }"));
    setCentralWidget(TabSheet);

    TabSheet1 = new QWidget(TabSheet);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    SG1 = new StringGrid(kOverviewColumns, kOverviewRows, TabSheet1);
    SG1->setObjectName(QStringLiteral("SG1"));
    SG1->setColumnWidths({40, 162, 255, 56, 60, 58, 59, 58});
    connect(SG1, &QTableWidget::cellDoubleClicked, this, &TF_Kalmoria_main::SG1DblClick);
    auto* overviewLayout = new QVBoxLayout(TabSheet1);
    overviewLayout->setContentsMargins(0, 0, 0, 0);
    overviewLayout->addWidget(SG1);
    TabSheet->addTab(TabSheet1, QString::fromUtf8("@26Module \xC3\x9C" "bersicht"));

    // The link editor: source and target pane and the selection below them.
    TabSheet2 = new LinkEditorPage(*this, TabSheet);
    TabSheet->addTab(TabSheet2, QString::fromUtf8("@27Verkn\xC3\xBCpfungen"));
    TabSheet->setTabEnabled(1, false);
    connect(TabSheet, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1)
            TabSheet2->TabSheet2Show();
    });

    TabSheet3 = new LinkTablePage([this](int i) { return MemTabLine(i); }, [this](int i) { return Memo2Line(i); },
                                  TabSheet);
    connect(TabSheet3, &LinkTablePage::SG2DblClick, this, &TF_Kalmoria_main::SG1DblClick);
    connect(TabSheet3, &LinkTablePage::compareRequested, this, &TF_Kalmoria_main::CompareWithDeviceExecute);
    connect(TabSheet3, &LinkTablePage::comparisonChanged, TabSheet2, &LinkEditorPage::ShowComparison);
    TabSheet->addTab(TabSheet3, QString::fromUtf8("@28Verkn\xC3\xBCpfungstabelle"));
}

void TF_Kalmoria_main::createStatusBar()
{
    QStatusBar* StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (std::size_t i = 0; i < m_statusPanels.size(); ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        // 100 pixels each, wider where a text needs it; the last takes what is left.
        const bool last = i + 1 == m_statusPanels.size();
        if (!last)
            panel->setMinimumWidth(100);
        panel->setContentsMargins(3, 0, 3, 0);
        StatusBar1->addWidget(panel, last ? 1 : 0);
        m_statusPanels[i] = panel;
    }
    m_statusPanels[0]->setText(QStringLiteral("QMX-Adr.:"));
    m_statusPanels[7]->setText(QStringLiteral("QMX Vers.:"));

    ProgressBar1 = new QProgressBar(StatusBar1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFormat(QStringLiteral("%v / %m"));
    ProgressBar1->setFixedWidth(140);
    ProgressBar1->hide();
    StatusBar1->addPermanentWidget(ProgressBar1);
}

void TF_Kalmoria_main::createTextTables()
{
    QStringList memTab{QStringLiteral("@91MemoTabelle"), QStringLiteral("1=M Nr."), QStringLiteral("2=Modulname"),
                       QStringLiteral("3=ab Reg"), QStringLiteral("4=ab Bit"), QStringLiteral("5=Anzahl"),
                       QStringLiteral("6=DE")};
    for (int i = 7; i <= 20; ++i)
        memTab << QStringLiteral("%1=x").arg(i);
    MemTab = CreateTextTable(this, "MemTab", memTab);

    Memo2 = CreateTextTable(this, "Memo2",
                            {QStringLiteral("@93div"),
                             QString::fromUtf8("1=inaktive Verkn\xC3\xBCpfung (zum aktivieren im anderen Reiter "
                                               "Rechtsclick auf eines der zugeh\xC3\xB6rigen Bits)"),
                             QString(), QString(), QString()});
}

void TF_Kalmoria_main::FormCreate()
{
    DefaultMessageArgument = " - ";
    BuildLanguageMenu(kLanguageFileMinimumVersion, mSprachwahl, "Kalmoria.ini",
                      [this](QAction* item) { mSprachwahlClick(item); }, "Kalmoria", "Sprache");
    TranslateForm(this);
    ShowOverviewHeadings();
    setWindowTitle(QStringLiteral(" Kalmoria 1.30"));
    SelectPage(0);
    std::error_code noFolder; // a working folder that was deleted gives an empty start
    StartDirectory = std::filesystem::current_path(noFolder).string();
    LinkFileName = kDefaultLinkFileName;
    // No page can be used until modules are known.
    TabSheet->setEnabled(false);
    DataState = 99;
    if (DebugBit(2))
        WriteErrLog("Kalmorin-Start");
    // The port search replaces the client and keeps its settings.
    m_vep = std::make_unique<Tvep>(SystemLines());
    m_vep->Serial().SetWaitHook([this] { Repaint(); });
    m_vep->FastReplyEnd = StoredFastReplyEnd();
    SchnellesAntwortende1->setChecked(m_vep->FastReplyEnd);
    SchreibenPruefen1->setChecked(StoredWriteCheck());
    m_vep->Retries = StoredRetries();
    for (QAction* item : Wiederholungen1->actions())
        item->setChecked(item->data().toInt() == m_vep->Retries);
    // The port search follows once the window is shown (StartUpSearch);
    // until it ends the status bar shows the values of a fresh start.
    ShowStatus();
}

void TF_Kalmoria_main::StartUpSearch()
{
    ActionComSucheExecute();
}

void TF_Kalmoria_main::ShowStatus()
{
    const auto setPanel = [this](int panel, const std::string& text) {
        m_statusPanels[static_cast<std::size_t>(panel)]->setText(ansiToQString(text));
    };
    setPanel(0, "QMX-Adr.: " + IntToText(DeviceAddress));
    if (DeviceType == 0)
        setPanel(1, " ");
    else if (DeviceType == DeviceRegisters::TypeQmx620)
        setPanel(1, "QMX-620");
    else
        setPanel(1, "QMX-Type: " + WordToHex4(DeviceType));
    setPanel(2, "SerNr.: " + IntToText(SerialNumber));
    setPanel(3, DataState == 0 ? "Data: OK" : "Data: Missing");
    setPanel(4, "ComPort: " + IntToText(ComPortNr));
    setPanel(5, std::string());
    setPanel(6, "Stations: " + IntToText(ModulAnzahl));
    setPanel(7, "Links: " + IntToText(AnzBefehle));
}

void TF_Kalmoria_main::ZeigeStation()
{
    if (ModulAnzahl > 0)
        TabSheet->setEnabled(true);
    ShowOverviewHeadings();

    const std::vector<OverviewRow> rows = ModuleOverviewRows();
    for (int row = 1; row < kOverviewRows; ++row) {
        const auto p = static_cast<std::size_t>(row - 1);
        for (int col = 0; col < kOverviewColumns; ++col)
            SG1->setCell(col, row, p < rows.size() ? rows[p][static_cast<std::size_t>(col)] : std::string());
    }
    if (SG1->currentGridRow() < 1)
        SG1->setCurrentGridRow(1);
    ShowStatus();
}

void TF_Kalmoria_main::ShowOverviewHeadings()
{
    for (int col = 0; col < kOverviewColumns; ++col)
        SG1->setCell(col, 0, MemTabLine(kOverviewHeadingLines[static_cast<std::size_t>(col)]));
}

void TF_Kalmoria_main::SelectPage(int index)
{
    TabSheet->setCurrentIndex(index);
}

void TF_Kalmoria_main::SetProgressText(const std::string& text)
{
    m_statusPanels[5]->setText(ansiToQString(text));
    m_statusPanels[5]->repaint();
}

void TF_Kalmoria_main::Repaint()
{
    // Paint what changed, but let no click or key through while a device
    // sequence holds the GUI thread.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
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
    ProgressBar1->setRange(0, std::max(total, 1));
    ProgressBar1->setValue(std::clamp(done, 0, std::max(total, 1)));
    if (ProgressBar1->isHidden()) {
        // The status bar makes room for the bar only when events are processed.
        ProgressBar1->show();
        Repaint();
    } else {
        ProgressBar1->repaint();
    }
}

void TF_Kalmoria_main::HideProgress()
{
    ProgressBar1->hide();
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
    const int row = std::clamp(SG1->currentGridRow(), 1, std::max(ModulAnzahl, 1));
    SelectPage(1);
    TabSheet2->ShowSourceModuleAt(row - 1);
}

void TF_Kalmoria_main::ActionEndeExecute()
{
    close();
}

void TF_Kalmoria_main::ActionAlleVerknLoeschenExecute()
{
    DeleteAllLinks(*this, SG1->rows(), m_linkHistory);
}

void TF_Kalmoria_main::ActionLadenQMXExecute()
{
    // The read replaces the links, whatever becomes of it.
    if (AskAboutUnsavedLinks(SG1->rows()) == UnsavedLinksAnswer::Cancel)
        return;
    DeviceReadResult result;
    m_linkHistory->Record(GetText(kReadDeviceCaption, ""), [&] {
        {
            const InputBlocker noInputWhileReading;
            result = ReadDevice(*m_vep, *this);
        }
        MarkLinksKept();
    });
    TabSheet3->ForgetComparison();
    // The port is closed by now: a box left open does not hold the line.
    ShowNotices(result.notices);
}

void TF_Kalmoria_main::ActionSpeichernQMXExecute()
{
    // Unchecked, the write is the single transfer it always was.
    const bool checked = SchreibenPruefen1->isChecked();
    const LinkWriteChecks checks{checked, checked, checked};
    // A table the write refuses anyway is not asked about first.
    const LinkProblemAnswer problems = LinkWriteRefusal() ? LinkProblemAnswer{} : AskWriteDespiteLinkProblems();
    if (!problems.goOn)
        return;
    const auto confirmStation = [&problems](const StationCheck& check) {
        return AskWriteToOtherStation(check, problems.modulesAgreedMissing);
    };
    CheckedLinkWriteResult result;
    {
        const InputBlocker noInputWhileWriting;
        result = WriteLinksChecked(*m_vep, this, checks, SG1->rows(), confirmStation);
    }
    if (result.ok())
        MarkLinksKept();
    TabSheet3->ForgetComparison();
    ShowNotices(result.notices);
}

void TF_Kalmoria_main::ActionLesenExecute()
{
    // The overview's first row is empty until modules were read.
    LoadLinksFromChosenFile(*this, !SG1->cell(0, 1).empty(), StartDirectory, SG1->rows(), m_linkHistory);
}

void TF_Kalmoria_main::ActionSicherungExecute()
{
    // The snapshots of the station read last, else those of every station.
    const std::string folder = OverviewOrigin ? StationBackupFolder(OverviewOrigin->serialNumber) : backupFolder();
    LoadLinksFromChosenFile(*this, !SG1->cell(0, 1).empty(), folder, SG1->rows(), m_linkHistory);
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

void TF_Kalmoria_main::ShowLinksPutBack()
{
    TabSheet2->ShowLinksAgain();
    TabSheet3->TabSheet3Show();
    ShowStatus();
}

void TF_Kalmoria_main::CompareWithDeviceExecute()
{
    LinkAreaRead area;
    {
        const InputBlocker noInputWhileReading;
        area = ReadLinkArea(*m_vep);
    }
    if (area.transferResult != Tvep::Ok) {
        ShowNotices({DeviceNotice(5, Notice::Severity::Error)});
        return;
    }
    TabSheet3->ShowComparison(DecodeLinkArea(area.words).links);
}

void TF_Kalmoria_main::ActionSpeichernExecute()
{
    SaveLinksToChosenFile(SG1->rows());
}

void TF_Kalmoria_main::ActionComSucheExecute()
{
    const InputBlocker noInputWhileSearching;
    const PortSearchResult result = SearchComPort(m_vep, *this);
    // The status bar keeps what the search showed until the next refresh; a
    // type word from a failed probe must not outlive it.
    DeviceType = 0;
    if (result.devices.empty()) {
        // No device is connected: the panels must not go on naming the last one.
        SerialNumber = 0;
        ShowStatus();
    }
}

void TF_Kalmoria_main::ComPort1Click()
{
    F_rs232->exec();
    ShowStatus();
}

void TF_Kalmoria_main::SchnellesAntwortende1Click()
{
    m_vep->FastReplyEnd = SchnellesAntwortende1->isChecked();
    StoreFastReplyEnd(m_vep->FastReplyEnd);
}

void TF_Kalmoria_main::SchreibenPruefen1Click()
{
    StoreWriteCheck(SchreibenPruefen1->isChecked());
}

void TF_Kalmoria_main::Wiederholungen1Click(QAction* item)
{
    m_vep->Retries = item->data().toInt();
    StoreRetries(m_vep->Retries);
}

void TF_Kalmoria_main::mSprachwahlClick(QAction* item)
{
    LanguageMenuClick(mSprachwahl, item);
    // The headings and group names are copies of text tables: take the new language's.
    ShowOverviewHeadings();
    ShowStepNames();
    TabSheet2->RelabelGroups();
    if (TabSheet3->isVisible())
        TabSheet3->TabSheet3Show();
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
    if (panel < 0 || panel >= kStatusPanelCount)
        return {};
    return qStringToAnsi(m_statusPanels[static_cast<std::size_t>(panel)]->text());
}

void TF_Kalmoria_main::closeEvent(QCloseEvent* event)
{
    if (AskAboutUnsavedLinks(SG1->rows()) == UnsavedLinksAnswer::Cancel)
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
