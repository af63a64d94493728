#pragma once

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class StringGrid;

// The link table page (TabSheet3): every link of the table as one read-only
// row of SG2, rebuilt each time the page is shown, with a hint over inactive
// links that tells how to activate them.
class LinkTablePage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 11;
    static constexpr int kDesignRows = 300;
    static constexpr int kMinimumRows = 18;
    static constexpr int kActiveColumn = 10;

    // Line i of a hidden text table of the main window.
    using TextTableLine = std::function<std::string(int)>;

    // `memTabLine` gives the column headings (MemTab), `memo2Line` the hint
    // over inactive links (Memo2, line 1).
    LinkTablePage(TextTableLine memTabLine, TextTableLine memo2Line, QWidget* parent = nullptr);

    // Rebuilds the grid from the link table.
    void TabSheet3Show();
    // Sets the grid's hint for the row under the mouse (viewport coordinates).
    void SG2MouseMove(int x, int y);

    StringGrid& grid() const { return *SG2; }

signals:
    // A double click on the grid; the main window leads to the link editor.
    void SG2DblClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* createHeading(const char* name, const char* caption, int left);

    TextTableLine m_memTabLine;
    TextTableLine m_memo2Line;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    StringGrid* SG2 = nullptr;
};
