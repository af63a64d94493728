#include "widgets/StringGrid.h"

#include "diag/AnsiText.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kRowHeight = 22;

} // namespace

StringGrid::StringGrid(int columnCount, int rowCount, QWidget* parent)
    : QTableWidget(rowCount - 1, columnCount, parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The grid is read, not filled in: Tab leaves it for the next control.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int col = 0; col < columnCount; ++col)
        setHorizontalHeaderItem(col, new QTableWidgetItem());
}

std::string StringGrid::cell(int col, int row) const
{
    const QTableWidgetItem* entry = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return entry != nullptr ? qStringToAnsi(entry->text()) : std::string();
}

void StringGrid::setCell(int col, int row, const std::string& text)
{
    if (col < 0 || col >= columnCount() || row < 0 || row >= gridRowCount())
        return;
    if (row == 0) {
        horizontalHeaderItem(col)->setText(ansiToQString(text));
        return;
    }
    QTableWidgetItem* entry = item(row - 1, col);
    if (entry == nullptr) {
        entry = new QTableWidgetItem();
        // The first column is fixed: drawn like a heading.
        if (col == 0)
            entry->setBackground(palette().button());
        setItem(row - 1, col, entry);
    }
    entry->setText(ansiToQString(text));
}

std::vector<std::vector<std::string>> StringGrid::rows() const
{
    std::vector<std::vector<std::string>> cells(static_cast<std::size_t>(gridRowCount()));
    for (int row = 0; row < gridRowCount(); ++row) {
        for (int col = 0; col < columnCount(); ++col)
            cells[static_cast<std::size_t>(row)].push_back(cell(col, row));
    }
    return cells;
}

void StringGrid::setColumnWidths(std::initializer_list<int> widths)
{
    m_setWidths.assign(widths);
    int col = 0;
    for (const int width : widths)
        setColumnWidth(col++, width);
}

void StringGrid::fitColumnsToTexts()
{
    const QFontMetrics cellFont(font());
    const QFontMetrics headingFont(horizontalHeader()->font());
    // The room a cell and a heading leave beside their text.
    const int cellMargin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    const int headingMargin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 2;
    for (int col = 0; col < columnCount(); ++col) {
        int width = col < static_cast<int>(m_setWidths.size()) ? m_setWidths[static_cast<std::size_t>(col)] : columnWidth(col);
        if (const QTableWidgetItem* heading = horizontalHeaderItem(col))
            width = std::max(width, headingFont.horizontalAdvance(heading->text()) + headingMargin);
        for (int row = 0; row < rowCount(); ++row) {
            if (const QTableWidgetItem* entry = item(row, col))
                width = std::max(width, cellFont.horizontalAdvance(entry->text()) + cellMargin);
        }
        setColumnWidth(col, width);
    }
    verticalHeader()->setDefaultSectionSize(std::max(kRowHeight, cellFont.height() + 4));
}

int StringGrid::currentGridRow() const
{
    return currentRow() + 1;
}

void StringGrid::setCurrentGridRow(int row)
{
    setCurrentCell(row - 1, 0);
}

void StringGrid::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentGridRow() >= 1) {
        emit currentRowEntered();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
