#pragma once

#include "editor/EditorGroups.h"
#include "editor/LinkMarks.h"
#include "editor/LinkSelection.h"

#include <QWidget>

#include <string>

class BitPane;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class ShellView;

// The link editor page (TabSheet2): the source pane GQuelle and the target
// pane GZiehl side by side, each showing one module, one of its signal
// groups and a window of ten registers, with the links of the table drawn
// into the bit cells; below them the selection the user is building.
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
    // Letter of link n, the ordinal-th link of the source module.
    char LinkLetter(int32_t link, int ordinal) const;

    void ComboBox1Change();
    void ComboBox2Change();
    void ScrollBarQChange();
    void ComboBox3Change();
    void ComboBox4Change();
    void ScrollBarZChange();

    // The module at ModuleList position `position` becomes the source module.
    void ShowSourceModuleAt(int position);
    // After a language switch the group boxes show the new group labels;
    // what is chosen and drawn stays.
    void RelabelGroups();

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
};
