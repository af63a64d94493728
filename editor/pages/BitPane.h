#pragma once

#include "editor/rules/EditorLayout.h"

#include <QGroupBox>

#include <array>

class EditorCell;
class QComboBox;
class QScrollBar;

// One pane of the link editor: its module box, signal-group box and scroll
// bar, the ten register labels, the sixteen column headers and the 160 bit
// cells. It knows where its parts sit; what they show is the page's business.
// Source pane: GQuelle with ComboBox1, ComboBox2, ScrollBarQ, STL1..STL10,
// STsp1..STsp16, StaticText1..StaticText160; target pane: GZiehl with
// ComboBox3, ComboBox4, ScrollBarZ, STL11..STL20, STsp17..STsp32,
// StaticText161..StaticText320.
class BitPane : public QGroupBox {
    Q_OBJECT
public:
    BitPane(Pane pane, QWidget* parent);

    Pane pane() const { return m_pane; }
    QComboBox* moduleBox() const { return m_moduleBox; }
    QComboBox* groupBox() const { return m_groupBox; }
    QScrollBar* scrollBar() const { return m_scrollBar; }
    // Cell 0..159 of this pane, row label 0..9.
    EditorCell* cell(int index) const { return m_cells[static_cast<std::size_t>(index)]; }
    EditorCell* rowLabel(int row) const { return m_rowLabels[static_cast<std::size_t>(row)]; }

    CellLayout columnOrder() const { return m_columnOrder; }
    // Places cells and headers for bit 0 leftmost (bit layout) or rightmost.
    void setColumnOrder(CellLayout layout);

signals:
    // Any mouse button released on cell 0..159 of this pane.
    void cellReleased(Pane pane, int index, Qt::MouseButton button);
    void rowLabelReleased(int row, Qt::MouseButton button);

private:
    void placeColumns();

    Pane m_pane;
    CellLayout m_columnOrder = CellLayout::Register;
    QComboBox* m_moduleBox = nullptr;
    QComboBox* m_groupBox = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    std::array<EditorCell*, kPaneCells> m_cells{};
    std::array<EditorCell*, kPaneRows> m_rowLabels{};
    std::array<EditorCell*, kPaneColumns> m_headers{};
};
