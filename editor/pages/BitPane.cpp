#include "editor/pages/BitPane.h"

#include "diag/AnsiText.h"
#include "editor/pages/CellCursorFrame.h"
#include "editor/pages/EditorAccessibility.h"
#include "editor/pages/EditorCell.h"
#include "editor/pages/EditorScale.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kBoxLeft = 4;
constexpr int kBoxWidth = 380;
constexpr int kBoxHeight = 24;
constexpr int kModuleBoxTop = 20;
constexpr int kGroupBoxTop = 50;
constexpr int kScrollBarLeft = 368;
constexpr int kScrollBarWidth = 16;

struct PaneNames {
    const char* box;
    const char* caption;
    int moduleBox; // ComboBox number; the group box is the next one
    const char* scrollBar;
};

PaneNames namesOf(Pane pane)
{
    return pane == Pane::Source ? PaneNames{"GQuelle", "@30Quelle", 1, "ScrollBarQ"}
                                : PaneNames{"GZiehl", "@31Ziel", 3, "ScrollBarZ"};
}

QComboBox* createBox(QWidget* parent, int number)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("ComboBox%1").arg(number));
    return box;
}

} // namespace

BitPane::BitPane(Pane pane, QWidget* parent)
    : QGroupBox(parent)
    , m_pane(pane)
{
    const PaneNames names = namesOf(pane);
    setObjectName(QLatin1String(names.box));
    setTitle(QLatin1String(names.caption));
    if (pane == Pane::Source) {
        // The window's border colour behind the source cells: the two panes
        // side by side are told apart at a glance, in dark themes too.
        setBackgroundRole(QPalette::Mid);
        setAutoFillBackground(true);
    }

    m_moduleBox = createBox(this, names.moduleBox);
    m_groupBox = createBox(this, names.moduleBox + 1);

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(QLatin1String(names.scrollBar));
    m_scrollBar->setRange(0, 0);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(1);

    // The keyboard reaches the cells after the boxes that choose what they show.
    setFocusPolicy(Qt::StrongFocus);
    setTabOrder(m_groupBox, this);

    const int firstLabel = pane == Pane::Source ? 1 : kPaneRows + 1;
    for (int row = 0; row < kPaneRows; ++row) {
        auto* label = new EditorCell(EditorCell::Kind::RegisterLabel, this);
        label->setObjectName(QStringLiteral("STL%1").arg(firstLabel + row));
        connect(label, &EditorCell::released, this, [this, row](Qt::MouseButton b) {
            moveCursorTo(row, kRegisterLabel);
            emit rowLabelReleased(row, b);
        });
        m_rowLabels[static_cast<std::size_t>(row)] = label;
    }

    const int firstHeader = pane == Pane::Source ? 1 : kPaneColumns + 1;
    for (int column = 1; column <= kPaneColumns; ++column) {
        auto* header = new EditorCell(EditorCell::Kind::ColumnHeader, this);
        header->setObjectName(QStringLiteral("STsp%1").arg(firstHeader + column - 1));
        header->setText(std::to_string(column - 1));
        header->setFramed(false);
        m_headers[static_cast<std::size_t>(column - 1)] = header;
    }

    for (int index = 0; index < kPaneCells; ++index) {
        auto* cell = new EditorCell(EditorCell::Kind::Bit, this);
        cell->setObjectName(QStringLiteral("StaticText%1").arg(CellNumber(pane, index)));
        connect(cell, &EditorCell::released, this, [this, index](Qt::MouseButton b) {
            const CellAddress clicked = CellAt(m_pane, index);
            moveCursorTo(clicked.row, clicked.bit);
            emit cellReleased(m_pane, index, b);
        });
        m_cells[static_cast<std::size_t>(index)] = cell;
    }
    m_cursorFrame = new CellCursorFrame(this);
    setScale(1.0);
}

void BitPane::setScale(double scale)
{
    m_scale = scale;
    const auto place = [scale](QWidget* widget, int left, int top, int width, int height) {
        widget->setGeometry(Scaled(QRect(left, top, width, height), scale));
    };
    place(this, m_pane == Pane::Source ? kSourcePaneLeft : kTargetPaneLeft, kPaneTop, kPaneWidth, kPaneHeight);
    place(m_moduleBox, kBoxLeft, kModuleBoxTop, kBoxWidth, kBoxHeight);
    place(m_groupBox, kBoxLeft, kGroupBoxTop, kBoxWidth, kBoxHeight);
    place(m_scrollBar, kScrollBarLeft, RowTop(0), kScrollBarWidth, RowTop(kPaneRows - 1) + kCellSize - RowTop(0));
    for (int row = 0; row < kPaneRows; ++row)
        place(m_rowLabels[static_cast<std::size_t>(row)], kRowLabelLeft, RowTop(row), kRowLabelWidth, kCellSize);
    placeColumns();
}

void BitPane::setSpeech(Speech cells, Speech registerLabels)
{
    for (int index = 0; index < kPaneCells; ++index)
        m_cells[static_cast<std::size_t>(index)]->setSpeech([cells, index] { return cells(index); });
    for (int row = 0; row < kPaneRows; ++row)
        m_rowLabels[static_cast<std::size_t>(row)]->setSpeech([registerLabels, row] { return registerLabels(row); });
}

void BitPane::moveCursorTo(int row, int bit)
{
    m_cursorRow = std::clamp(row, 0, kPaneRows - 1);
    m_cursorBit = std::clamp(bit, kRegisterLabel, kPaneColumns - 1);
    showCursor();
}

EditorCell* BitPane::cursorWidget() const
{
    if (m_cursorBit == kRegisterLabel)
        return rowLabel(m_cursorRow);
    return cell(m_cursorRow * kPaneColumns + m_cursorBit);
}

void BitPane::showCursor()
{
    EditorCell* current = cursorWidget();
    const bool focused = hasFocus();
    for (EditorCell* cell : m_cells)
        cell->setKeyFocus(focused && cell == current);
    for (EditorCell* label : m_rowLabels)
        label->setKeyFocus(focused && label == current);
    m_cursorFrame->ring(current);
    m_cursorFrame->setVisible(focused);
    if (focused)
        AnnounceKeyFocus(current);
}

void BitPane::clickCursor(Qt::MouseButton button)
{
    emit cursorWidget()->released(button);
}

void BitPane::stepAcross(int direction)
{
    // Screen columns from the left: 0 the register label, then the bits in the group's order.
    const bool bitZeroLeft = m_columnOrder == CellLayout::Bit;
    const auto columnOf = [bitZeroLeft](int bit) {
        return bit == kRegisterLabel ? 0 : bitZeroLeft ? bit + 1 : kPaneColumns - bit;
    };
    const int column = std::clamp(columnOf(m_cursorBit) + direction, 0, kPaneColumns);
    moveCursorTo(m_cursorRow, column == 0 ? kRegisterLabel : bitZeroLeft ? column - 1 : kPaneColumns - column);
}

void BitPane::stepDown(int rows)
{
    const int row = m_cursorRow + rows;
    if (row >= 0 && row < kPaneRows)
        moveCursorTo(row, m_cursorBit);
    else
        m_scrollBar->setValue(m_scrollBar->value() + rows);
}

void BitPane::scrollBy(int registers)
{
    const int before = m_scrollBar->value();
    m_scrollBar->setValue(before + registers);
    if (m_scrollBar->value() == before)
        moveCursorTo(registers < 0 ? 0 : kPaneRows - 1, m_cursorBit);
}

void BitPane::scrollToEnd(bool last)
{
    m_scrollBar->setValue(last ? m_scrollBar->maximum() : m_scrollBar->minimum());
    moveCursorTo(last ? kPaneRows - 1 : 0, m_cursorBit);
}

bool BitPane::event(QEvent* event)
{
    // A group box takes Space for its check box, which a pane has none of: here it is a click.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space || key->key() == Qt::Key_Select) {
            if (event->type() == QEvent::KeyPress)
                keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QGroupBox::event(event);
}

void BitPane::keyPressEvent(QKeyEvent* event)
{
    // A key held down moves on, but clicks only once: a click cannot repeat.
    const bool click = event->key() == Qt::Key_Space || event->key() == Qt::Key_Select || event->key() == Qt::Key_Menu ||
                       event->key() == Qt::Key_F10 || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (click && event->isAutoRepeat()) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        stepAcross(-1);
        break;
    case Qt::Key_Right:
        stepAcross(1);
        break;
    case Qt::Key_Up:
        stepDown(-1);
        break;
    case Qt::Key_Down:
        stepDown(1);
        break;
    case Qt::Key_PageUp:
        scrollBy(-kPaneRows);
        break;
    case Qt::Key_PageDown:
        scrollBy(kPaneRows);
        break;
    case Qt::Key_Home:
        scrollToEnd(false);
        break;
    case Qt::Key_End:
        scrollToEnd(true);
        break;
    case Qt::Key_Space:
    case Qt::Key_Select:
        clickCursor(Qt::LeftButton);
        break;
    case Qt::Key_Menu:
        clickCursor(Qt::RightButton);
        break;
    case Qt::Key_F10:
        if (!event->modifiers().testFlag(Qt::ShiftModifier)) {
            QGroupBox::keyPressEvent(event);
            return;
        }
        clickCursor(Qt::RightButton);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit takeOverKeyPressed();
        break;
    default:
        QGroupBox::keyPressEvent(event);
        return;
    }
    event->accept();
}

void BitPane::focusInEvent(QFocusEvent* event)
{
    // The group box would pass the focus on to its first box: the pane keeps it.
    QWidget::focusInEvent(event);
    showCursor();
}

void BitPane::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    showCursor();
}

void BitPane::setColumnOrder(CellLayout layout)
{
    if (layout == m_columnOrder)
        return;
    m_columnOrder = layout;
    placeColumns();
}

void BitPane::placeColumns()
{
    for (int column = 1; column <= kPaneColumns; ++column) {
        const int left = ColumnLeft(m_columnOrder, column);
        m_headers[static_cast<std::size_t>(column - 1)]->setGeometry(
            Scaled(QRect(left, kHeaderTop, kHeaderWidth, kHeaderHeight), m_scale));
        for (int row = 0; row < kPaneRows; ++row)
            m_cells[static_cast<std::size_t>(row * kPaneColumns + column - 1)]->setGeometry(
                Scaled(QRect(left, RowTop(row), kCellSize, kCellSize), m_scale));
    }
    showCursor();
}
