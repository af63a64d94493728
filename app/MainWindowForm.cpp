#include "app/MainWindow.h"

// How the window is laid out: its actions, tool bar, menu, pages, status bar
// and hidden text tables, as the form designer would have placed them.

#include "app/ReportActions.h"
#include "app/StatusPanels.h"
#include "app/ToolbarIcons.h"
#include "app/TrafficView.h"
#include "editor/pages/LinkEditorPage.h"
#include "core/StationClient.h"
#include "editor/pages/LinkTablePage.h"
#include "i18n/TextTable.h"
#include "protocol/Tvep.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QActionGroup>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace {

struct ToolButtonDesign {
    const char* name;
    const char* caption;
    int image;
};

} // namespace

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
    // The menu shows the first: the Windows key, which the users know.
    Wiederholen1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
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
    Oeffnen1->setShortcut(QKeySequence::Open);
    addItem(Datei1, "Sicherung1", QStringLiteral("@15Sicherung wiederherstellen..."), ActionSicherung);
    addItem(Datei1, "N14speichern1", QStringLiteral("@13Speichern"), ActionSpeichern)->setShortcut(QKeySequence::Save);
    // The tool bar's device commands, so that the keyboard reaches them and the menu shows their keys.
    Datei1->addSeparator();
    addItem(Datei1, "LadenQMX1", QStringLiteral("@18LadenQMX"), ActionLadenQMX)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    addItem(Datei1, "SpeichernQMX1", QString::fromUtf8("@19\xC3\xBC" "bertragen"), ActionSpeichernQMX)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    Datei1->addSeparator();
    AddReportEntries(*Datei1, [this]() -> const StationClient& { return *m_station; });
    addItem(Datei1, "ende1", QStringLiteral("@11beenden"), ActionEnde)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

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
    AddTrafficViewEntry(*Einstellung1, *this, m_station->Frames());

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
    connect(SG1, &StringGrid::currentRowEntered, this, &TF_Kalmoria_main::SG1DblClick);
    auto* overviewLayout = new QVBoxLayout(TabSheet1);
    overviewLayout->setContentsMargins(0, 0, 0, 0);
    overviewLayout->addWidget(SG1);
    TabSheet->addTab(TabSheet1, QString::fromUtf8("@26Module \xC3\x9C" "bersicht"));

    // The link editor: source and target pane and the selection below them.
    TabSheet2 = new LinkEditorPage(*this, station(), TabSheet);
    TabSheet->addTab(TabSheet2, QString::fromUtf8("@27Verkn\xC3\xBCpfungen"));
    TabSheet->setTabEnabled(1, false);
    connect(TabSheet, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1)
            TabSheet2->TabSheet2Show();
    });

    TabSheet3 = new LinkTablePage(station(), [this](int i) { return MemTabLine(i); }, [this](int i) { return Memo2Line(i); },
                                  TabSheet);
    connect(TabSheet3, &LinkTablePage::SG2DblClick, this, &TF_Kalmoria_main::SG1DblClick);
    connect(TabSheet3, &LinkTablePage::compareRequested, this, &TF_Kalmoria_main::CompareWithDeviceExecute);
    connect(TabSheet3, &LinkTablePage::comparisonChanged, TabSheet2, &LinkEditorPage::ShowComparison);
    TabSheet->addTab(TabSheet3, QString::fromUtf8("@28Verkn\xC3\xBCpfungstabelle"));
}

void TF_Kalmoria_main::createStatusBar()
{
    m_status = new StatusPanels(statusBar());
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
