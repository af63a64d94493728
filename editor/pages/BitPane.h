#pragma once

#include "editor/rules/EditorLayout.h"

#include <QGroupBox>

#include <array>
#include <functional>

class CellCursorFrame;
class EditorCell;
class QComboBox;
class QScrollBar;
struct SpokenText;

// One pane of the link editor: its module box, signal-group box and scroll
// bar, the ten register labels, the sixteen column headers and the 160 bit
// cells. It knows where its parts sit; what they show is the page's business.
// Source pane: GQuelle with ComboBox1, ComboBox2, ScrollBarQ, STL1..STL10,
// STsp1..STsp16, StaticText1..StaticText160; target pane: GZiehl with
// ComboBox3, ComboBox4, ScrollBarZ, STL11..STL20, STsp17..STsp32,
// StaticText161..StaticText320.
//
// The pane takes the keyboard focus (Tab, a click) and then rings the cell
// the keyboard works on, its cell cursor, as a byte editor does: the arrow
// keys move it to the neighbouring cell on screen (past the leftmost bit to
// the register label, past the top or bottom row by scrolling a register),
// Page Up and Page Down scroll by a window, Home and End to the ends. Space,
// Shift+F10 and the menu key are a left and a right click on that cell, and
// Enter asks for the take-over: the keys go the ways the mouse goes.
class BitPane : public QGroupBox {
    Q_OBJECT
public:
    // The cursor on a register label rather than a bit.
    static constexpr int kRegisterLabel = -1;
    using Speech = std::function<SpokenText(int)>;

    BitPane(Pane pane, QWidget* parent);

    Pane pane() const { return m_pane; }
    QComboBox* moduleBox() const { return m_moduleBox; }
    QComboBox* groupBox() const { return m_groupBox; }
    QScrollBar* scrollBar() const { return m_scrollBar; }
    // Cell 0..159 of this pane, row label 0..9.
    EditorCell* cell(int index) const { return m_cells[static_cast<std::size_t>(index)]; }
    EditorCell* rowLabel(int row) const { return m_rowLabels[static_cast<std::size_t>(row)]; }

    // Lays the pane out `scale` times as large as drawn (EditorScale), the
    // pane's own place on the page included.
    void setScale(double scale);
    double scale() const { return m_scale; }

    CellLayout columnOrder() const { return m_columnOrder; }
    // Places cells and headers for bit 0 leftmost (bit layout) or rightmost.
    void setColumnOrder(CellLayout layout);

    // The cell cursor: row 0..9 and bit 0..15, or kRegisterLabel.
    int cursorRow() const { return m_cursorRow; }
    int cursorBit() const { return m_cursorBit; }
    void moveCursorTo(int row, int bit);
    // What a screen reader is told about cell 0..159 and register label 0..9.
    void setSpeech(Speech cells, Speech registerLabels);

signals:
    // Any mouse button released on cell 0..159 of this pane, or the key that stands for it.
    void cellReleased(Pane pane, int index, Qt::MouseButton button);
    void rowLabelReleased(int row, Qt::MouseButton button);
    // Enter or Return: "übernehmen", where it can be pressed.
    void takeOverKeyPressed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void placeColumns();
    // Releases `button` on the cursor's cell or register label, as the mouse does.
    void clickCursor(Qt::MouseButton button);
    // One cell to the left (-1) or right (+1) on screen; the register label is left of the leftmost bit.
    void stepAcross(int direction);
    // One row up (-1) or down (+1), scrolling a register at the window's edge.
    void stepDown(int rows);
    // Scrolls by `registers` as the scroll bar would; where it cannot, the cursor goes to the edge row.
    void scrollBy(int registers);
    void scrollToEnd(bool last);
    EditorCell* cursorWidget() const;
    void showCursor();

    Pane m_pane;
    CellLayout m_columnOrder = CellLayout::Register;
    double m_scale = 1.0;
    QComboBox* m_moduleBox = nullptr;
    QComboBox* m_groupBox = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    std::array<EditorCell*, kPaneCells> m_cells{};
    std::array<EditorCell*, kPaneRows> m_rowLabels{};
    std::array<EditorCell*, kPaneColumns> m_headers{};
    CellCursorFrame* m_cursorFrame = nullptr;
    int m_cursorRow = 0;
    int m_cursorBit = 0;
};
