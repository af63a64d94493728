#pragma once

#include "editor/ComparisonFrames.h"
#include "editor/EditorGroups.h"
#include "editor/LinkDialogContext.h"
#include "editor/LinkMarks.h"
#include "editor/LinkSelection.h"

#include <QWidget>

#include <string>
#include <vector>

class BitPane;
class LinkHistory;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class ShellView;
class TF_PDauswahl;

// The link editor page (TabSheet2): the source pane GQuelle and the target
// pane GZiehl side by side, each showing one module, one of its signal
// groups and a window of ten registers, with the links of the table drawn
// into the bit cells; below them the selection the user is building.
//
// A link is made in three steps: a source range (left clicks on its first
// and last bit, or on a register label), a target start (a left click on the
// target pane), then "übernehmen". Any other button on a bit that a link uses
// opens the link action dialog for the links on that bit.
//
// The page holds what it shows (groups, cell states, marks) and the
// selection as plain values; the widgets only display them. Group labels
// come from the hidden text table Memo1, so they follow the language.
class LinkEditorPage : public QWidget {
    Q_OBJECT
public:
    // The address shown when a pane has no module.
    static constexpr int32_t kNoModule = -1;

    LinkEditorPage(ShellView& shell, QWidget* parent);

    // Opening the page: both module boxes are rebuilt and their first
    // modules shown; without modules the overview is shown instead.
    void TabSheet2Show();
    void ShowSourceModule();
    void ShowSourceGroup();
    void ShowTargetModule();
    void ShowTargetGroup();
    void DrawSourceLinks(int32_t firstRegister);
    void DrawTargetLinks(int32_t firstRegister);
    // Mark of link n, the ordinal-th link of the source module.
    std::string LinkLetter(int32_t link, int ordinal) const;

    void ComboBox1Change();
    void ComboBox2Change();
    void ScrollBarQChange();
    void ComboBox3Change();
    void ComboBox4Change();
    void ScrollBarZChange();

    // Mouse button released on bit cell n (1..320): the left button chooses
    // bits, any other opens the link actions.
    void StaticTextMouseUp(int cell, Qt::MouseButton button);
    // A left click on source row label 0..9 chooses its register.
    void STLClick(int row);
    void SelectSourceBit(int cell);
    void SelectSourceRegister(int row);
    void SelectTargetBit(int cell);
    // BtnUebernehmenClick: the chosen range becomes a new, inactive link.
    void TakeOverLink();
    // The link action dialog for the links on cell n, and its answer carried out.
    void OpenLinkActions(int cell);
    // The dialog OpenLinkActions shows; the page does not own it.
    void useLinkDialog(TF_PDauswahl* dialog);
    // Where take-overs, deletes and switches are kept as steps that can be
    // undone; the page does not own it. Without one they are just done.
    void useLinkHistory(LinkHistory* history);
    // The table's links changed under the page (an undo): both panes draw
    // them again and a half-made selection goes.
    void ShowLinksAgain();

    // The module at ModuleList position `position` becomes the source module.
    void ShowSourceModuleAt(int position);
    // After a language switch the group boxes show the new group labels;
    // what is chosen and drawn stays.
    void RelabelGroups();
    // From now on both panes frame the bits of the links that differ from
    // these device links (nothing: no frames), as the links stand at each redraw.
    void ShowComparison(const ComparedDeviceLinks& device);

    std::string Memo1Line(int i) const;
    const LinkSelection& selection() const { return m_selection; }
    int32_t sourceModule() const { return m_sourceModule; }
    int32_t targetModule() const { return m_targetModule; }
    const PaneGroup& sourceGroup() const { return m_sourceGroup; }
    const PaneGroup& targetGroup() const { return m_targetGroup; }
    // First register of the visible window of each pane.
    int32_t sourceFirstVisible() const;
    int32_t targetFirstVisible() const;

private:
    void createSelectionArea();
    void connectHandlers();
    GroupLabels groupLabels() const;
    void fillModuleBoxes();
    void showPaneCells(BitPane* pane, const PaneCells& cells);
    void showPaneMarks(BitPane* pane, const PaneMarks& marks);
    void showSelection();
    void showDifferences(Pane pane);
    const PaneMarks& marksOf(Pane pane) const;
    const PaneCells& cellsOf(Pane pane) const;
    LinkDialogContext dialogContext(int cell) const;
    void placeLinkDialog(int cell);
    void showSourceEnd(int32_t link);
    void showTargetEnd(int32_t link);
    std::vector<std::string> groupLabelLines() const;
    static std::vector<std::string> itemTexts(const QComboBox* box);
    static void bringIntoView(QScrollBar* bar, const PaneGroup& group, int32_t reg);
    static void setScrollRange(QScrollBar* bar, int32_t maximum);
    static void resetScroll(QScrollBar* bar);

    ShellView& m_shell;
    BitPane* GQuelle = nullptr;
    BitPane* GZiehl = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QScrollBar* ScrollBarQ = nullptr;
    QScrollBar* ScrollBarZ = nullptr;
    QLabel* LQuelleName = nullptr;
    QLabel* LZielName = nullptr;
    QLabel* LModulQ = nullptr;
    QLabel* LModulZ = nullptr;
    QLabel* LRegQ = nullptr;
    QLabel* LBitQ = nullptr;
    QLabel* LRegZ = nullptr;
    QLabel* LBitZ = nullptr;
    QLabel* LAnzBit = nullptr;
    QPushButton* BtnUebernehmen = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    int32_t m_sourceModule = 0;
    int32_t m_targetModule = kNoModule;
    PaneGroup m_sourceGroup;
    PaneGroup m_targetGroup;
    PaneCells m_sourceCells;
    PaneCells m_targetCells;
    PaneMarks m_sourceMarks;
    PaneMarks m_targetMarks;
    LinkSelection m_selection;
    TF_PDauswahl* m_linkDialog = nullptr;
    LinkHistory* m_history = nullptr;
    LinkDialogContext m_dialogContext;
    ComparedDeviceLinks m_device; // of the last comparison
};
