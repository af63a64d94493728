#include "widgets/StringGrid.h"

#include "diag/AnsiText.h"

#include <QHeaderView>
#include <QKeyEvent>

StringGrid::StringGrid(int columnCount, int rowCount, QWidget* parent)
    : QTableWidget(rowCount - 1, columnCount, parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The grid is read, not filled in: Tab leaves it for the next control.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(22);
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
    int col = 0;
    for (const int width : widths)
        setColumnWidth(col++, width);
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
