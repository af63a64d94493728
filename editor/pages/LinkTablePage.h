#pragma once

#include "editor/rules/ComparisonFrames.h"
#include "model/LinkModel.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class StringGrid;

// The link table page (TabSheet3): every link of the table as one read-only
// row of SG2, rebuilt each time the page is shown, with a hint over inactive
// links that tells how to activate them, and over links the editor would not
// have made (marked with a warning sign) what is wrong with them. From the
// keyboard: the arrow keys bring up the hint of the row they move to, a
// screen reader reads it with the row, and Enter does what a double click does.
struct Station;

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
    // The page shows the links of `station`.
    LinkTablePage(const Station& station, TextTableLine memTabLine, TextTableLine memo2Line,
                  QWidget* parent = nullptr);

    // Rebuilds the grid from the link table.
    void TabSheet3Show();
    // From now on each row is marked against the device's links: fields of a
    // changed link highlighted, a link only here in the link colour, the
    // device's links the table lacks as extra rows, struck through.
    void ShowComparison(std::vector<LinkRecord> deviceLinks);
    // The marks go: the device's links are not known any more.
    void ForgetComparison();
    // Sets the grid's hint for the row under the mouse (viewport coordinates).
    void SG2MouseMove(int x, int y);
    // "Verknüpfungsplan": the modules and links as a picture, to look at and save.
    void BtnPlanClick();

    StringGrid& grid() const { return *SG2; }

signals:
    // A double click on the grid; the main window leads to the link editor.
    void SG2DblClick();
    // "Mit QMX vergleichen": the main window reads the device's links.
    void compareRequested();
    // The device's links each row is now marked against; nothing when the
    // comparison is forgotten. The link editor frames the bits that differ.
    void comparisonChanged(const ComparedDeviceLinks& device);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* createHeading(const char* name, const char* caption, int left);
    void fitColumnsToHeadings();
    void markProblems(int links);
    void markComparison();
    void showLinkRow(int row, const std::string& number, const LinkRecord& link);
    QString rowHint(int row) const;
    void describeRows();
    void showCurrentRowHint();

    const Station& m_station;
    TextTableLine m_memTabLine;
    TextTableLine m_memo2Line;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    StringGrid* SG2 = nullptr;
    QPushButton* BtnVergleichen = nullptr;
    QPushButton* BtnPlan = nullptr;
    QLabel* LVergleich = nullptr;
    std::vector<QString> m_problemHints; // by grid row; empty where the link has none
    ComparedDeviceLinks m_device; // of the last comparison
};
