#pragma once

#include <QTableWidget>

#include <algorithm>
#include <string>
#include <vector>

// A read-only text grid addressed like the device tools' grids: cell (col, row)
// with row 0 as the fixed heading row and column 0 as the fixed first column.
// The heading row is the table's horizontal header, so it stays in view while
// the rows scroll; grid row r is table row r - 1.
class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    StringGrid(int columnCount, int rowCount, QWidget* parent = nullptr);

    int gridRowCount() const { return rowCount() + 1; }
    // Rows including the heading row; at least that one stays.
    void setGridRowCount(int rows) { setRowCount(std::max(rows, 1) - 1); }
    // Texts are Windows-1252, as everywhere in the program.
    std::string cell(int col, int row) const;
    void setCell(int col, int row, const std::string& text);
    // Every cell, row by row, the heading row first.
    std::vector<std::vector<std::string>> rows() const;
    void setColumnWidths(std::initializer_list<int> widths);
    // Widens each column that its widest text, heading included, would not
    // fit, and the rows for a taller font; never narrower than set. A larger
    // font then cuts no name short beside empty space.
    void fitColumnsToTexts();
    // Grid row of the current cell (1 for the first row below the headings).
    int currentGridRow() const;
    void setCurrentGridRow(int row);

signals:
    // Return or Enter on the current row: what a double click on it does.
    void currentRowEntered();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<int> m_setWidths;
};
