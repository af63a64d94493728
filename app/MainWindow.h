#pragma once

#include "widgets/ShellView.h"
#include "core/StatusTexts.h"
#include "model/ModuleOverview.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>

class LinkEditorPage;
class LinkHistory;
class LinkTablePage;
class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QToolBar;
class StringGrid;
class TF_PDauswahl;
class LinkTableFlows;
class LinkTableQuestions;
class StationClient;
struct Station;
class StatusPanels;
class TF_rs232;
class Tvep;

// The main window: tool bar, menu, the three pages (module overview, link
// editor, link table), the status bar and the hidden text tables.
class TF_Kalmoria_main : public QMainWindow, public ShellView {
    Q_OBJECT
public:
    static constexpr int kStatusPanelCount = ::kStatusPanelCount;
    static constexpr int kOverviewColumns = ::kOverviewColumns;
    static constexpr int kOverviewRows = kOverviewDataRows + 1; // the heading row first

    explicit TF_Kalmoria_main(QWidget* parent = nullptr);
    ~TF_Kalmoria_main() override;

    // ShellView
    void ShowStatus() override;
    void ModulesChanged() override;
    void ZeigeStation() override;
    void SelectPage(int index) override;
    void SetProgressText(const std::string& text) override;
    void Repaint() override;
    void EnableLinkEditorPage() override;
    void SetBusyCursor(bool busy) override;
    void SetProgress(int done, int total) override;
    void HideProgress() override;
    void ShowSearchingPort(int32_t port) override;

    // The automatic port search of the start, once the window is shown.
    void StartUpSearch();

    void SG1DblClick();
    void ActionEndeExecute();
    void ActionAlleVerknLoeschenExecute();
    void ActionLadenQMXExecute();
    void ActionSpeichernQMXExecute();
    void ActionLesenExecute();
    void ActionSpeichernExecute();
    void ActionComSucheExecute();
    void ActionSicherungExecute();
    // Takes back the newest link step, or makes the step taken back last again.
    void RueckgaengigExecute();
    void WiederholenExecute();
    // The link table page's comparison: the device's links, read in one transfer.
    void CompareWithDeviceExecute();
    void ComPort1Click();
    void SchnellesAntwortende1Click();
    void SchreibenPruefen1Click();
    void Wiederholungen1Click(QAction* item);
    void mSprachwahlClick(QAction* item);

    // Line i of a hidden text table, without a leading "i=" of the design texts.
    std::string MemTabLine(int i) const;
    std::string Memo1Line(int i) const;
    std::string Memo2Line(int i) const;
    std::string statusPanelText(int panel) const;
    const Tvep& ProtocolClient() const;

    // The station the window shows and edits.
    Station& station();
    const Station& station() const;

protected:
    // Edited links that are kept nowhere else are not lost without a question.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void FormKeyDown(QKeyEvent* event);
    void ShowOverviewHeadings();
    void createActions();
    void createToolBar();
    void createMenu();
    void createPages();
    void createStatusBar();
    void createTextTables();
    QAction* createAction(const char* name, void (TF_Kalmoria_main::*handler)());
    // "Rückgängig: <step>" and "Wiederholen: <step>" in the language's words.
    void ShowStepNames();
    // The caption, what holds the links and whether the table differs from it.
    void ShowTitle();
    std::string StationTitleName() const;
    // After an undo or redo every view shows the links the table now holds.
    void ShowLinksPutBack();

    QAction* ActionEnde = nullptr;
    QAction* ActionAlleVerknLoeschen = nullptr;
    QAction* ActionLesen = nullptr;
    QAction* ActionSpeichern = nullptr;
    QAction* ActionLadenQMX = nullptr;
    QAction* ActionSpeichernQMX = nullptr;
    QAction* ActionComSuche = nullptr;
    QAction* ActionSicherung = nullptr;
    QAction* Rueckgaengig1 = nullptr;
    QAction* Wiederholen1 = nullptr;

    QToolBar* ToolBar1 = nullptr;
    QMenu* mSprachwahl = nullptr;
    QAction* SchnellesAntwortende1 = nullptr; // replies end as soon as they are whole
    QAction* SchreibenPruefen1 = nullptr;     // writes check the station, keep a snapshot, read back
    QMenu* Wiederholungen1 = nullptr;        // how often a failed transfer is repeated, 0..5
    QTabWidget* TabSheet = nullptr;
    QWidget* TabSheet1 = nullptr;
    LinkEditorPage* TabSheet2 = nullptr;
    LinkTablePage* TabSheet3 = nullptr;
    StringGrid* SG1 = nullptr;
    StatusPanels* m_status = nullptr;
    // The last search found no device, and no read has reached one since.
    bool m_noDeviceFound = false;
    QPlainTextEdit* MemTab = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    TF_PDauswahl* F_PDauswahl = nullptr;
    TF_rs232* F_rs232 = nullptr;
    LinkHistory* m_linkHistory = nullptr;
    // The device as the window reaches it: its client and the preferences.
    std::unique_ptr<StationClient> m_station;
    // The link table's flows with files, asking with the window's boxes.
    std::unique_ptr<LinkTableQuestions> m_linkTableQuestions;
    std::unique_ptr<LinkTableFlows> m_linkTable;
};
