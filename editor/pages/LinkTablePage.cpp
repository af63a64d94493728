#include "editor/pages/LinkTablePage.h"

#include "diag/MessageNumbers.h"
#include "widgets/StringGrid.h"
#include "diag/AnsiText.h"
#include "editor/pages/ChangedMark.h"
#include "editor/rules/LinkCheck.h"
#include "editor/pages/LinkPlanDialog.h"
#include "editor/rules/LinkProblemText.h"
#include "i18n/LanguageTexts.h"
#include "model/LinkComparison.h"
#include "model/ModuleNumbering.h"
#include "model/Station.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

// clSkyBlue, fixed: the headings keep their colour in any theme.
const QColor kHeadingBackground(0xA6, 0xCA, 0xF0);
constexpr int kHeadingTop = 0;
constexpr int kHeadingWidth = 321;
constexpr int kHeadingHeight = 17;
constexpr int kGridTop = 16;

// The grid column of each link field (ModulQ .. deaktiv); the name beside a
// module number changes with it.
constexpr std::array<int, kLinkFieldCount> kFieldColumns{1, 3, 4, 5, 6, 8, 9, 10};

// MemTab lines of the column headings; column 0 has none.
constexpr std::array<int, LinkTablePage::kColumns> kHeadingLines{0, 1, 2, 3, 4, 5, 1, 2, 3, 4, 6};

constexpr std::array<int, LinkTablePage::kColumns> kDesignWidths{40, 42, 173, 56, 44, 49, 43, 176, 53, 43, 34};
// The source columns 1..5 and the target columns 6..10 lie under their
// headings "von Quelle" and "nach Ziel"; each has a module name column that
// can spare room.
struct ColumnGroup {
    int first;
    int last;
    int name;
};
constexpr std::array<ColumnGroup, 2> kColumnGroups{ColumnGroup{1, 5, 2}, ColumnGroup{6, 10, 7}};

// A module number as the user counts it (address + 1) and its name. An
// address from a file may lie outside the module table: it has no name.
std::string moduleNumber(int32_t address)
{
    return std::to_string(LinkTableModuleNumber(address));
}

std::string moduleName(const Station& station, int32_t address)
{
    return station.Module(address).name;
}

} // namespace

LinkTablePage::LinkTablePage(const Station& station, TextTableLine memTabLine, TextTableLine memo2Line,
                             QWidget* parent)
    : QWidget(parent)
    , m_station(station)
    , m_memTabLine(std::move(memTabLine))
    , m_memo2Line(std::move(memo2Line))
{
    setObjectName(QStringLiteral("TabSheet3"));

    SG2 = new StringGrid(kColumns, kDesignRows, this);
    SG2->setObjectName(QStringLiteral("SG2"));
    for (int col = 0; col < kColumns; ++col)
        SG2->setColumnWidth(col, kDesignWidths[static_cast<std::size_t>(col)]);
    SG2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SG2->viewport()->setMouseTracking(true);
    SG2->viewport()->installEventFilter(this);
    SG2->installEventFilter(this);
    connect(SG2, &QTableWidget::cellDoubleClicked, this, &LinkTablePage::SG2DblClick);
    connect(SG2, &StringGrid::currentRowEntered, this, &LinkTablePage::SG2DblClick);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, kGridTop, 0, 0);
    layout->addWidget(SG2);
    auto* compareRow = new QHBoxLayout();
    BtnVergleichen = new QPushButton(QString::fromUtf8("@52Mit QMX vergleichen"), this);
    BtnVergleichen->setObjectName(QStringLiteral("BtnVergleichen"));
    connect(BtnVergleichen, &QPushButton::clicked, this, &LinkTablePage::compareRequested);
    BtnPlan = new QPushButton(QString::fromUtf8("@60Verkn\xC3\xBCpfungsplan"), this);
    BtnPlan->setObjectName(QStringLiteral("BtnPlan"));
    connect(BtnPlan, &QPushButton::clicked, this, &LinkTablePage::BtnPlanClick);
    LVergleich = new QLabel(this);
    LVergleich->setObjectName(QStringLiteral("LVergleich"));
    // A long summary breaks its line rather than widen the window.
    LVergleich->setWordWrap(true);
    compareRow->addWidget(BtnVergleichen);
    compareRow->addWidget(BtnPlan);
    compareRow->addWidget(LVergleich, 1);
    layout->addLayout(compareRow);

    Label1 = createHeading("Label1", "@41v o n     Q u e l l e", 40);
    Label2 = createHeading("Label2", "@42n a c h     Z i e l", 408);
}

QLabel* LinkTablePage::createHeading(const char* name, const char* caption, int left)
{
    auto* label = new QLabel(QString::fromLatin1(caption), this);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(left, kHeadingTop, kHeadingWidth, kHeadingHeight);
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, kHeadingBackground);
    colours.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(colours);
    // Drawn over the grid's top edge, which it overlaps by a pixel.
    label->raise();
    return label;
}

void LinkTablePage::TabSheet3Show()
{
    const int links = std::clamp(m_station.AnzBefehle, 0, kLinkTableSlots - 1);
    // A row for every link below the headings, and never fewer than a page.
    SG2->setGridRowCount(std::max(kMinimumRows, links + 1));

    for (int col = 1; col < kColumns; ++col)
        SG2->setCell(col, 0, m_memTabLine(kHeadingLines[static_cast<std::size_t>(col)]));
    fitColumnsToHeadings();
    for (int i = 1; i <= links; ++i)
        showLinkRow(i, std::to_string(i), m_station.LinkTable[static_cast<std::size_t>(i)]);
    // No row below the last link may show a link that is gone.
    for (int row = links + 1; row < SG2->gridRowCount(); ++row) {
        for (int col = 0; col < kColumns; ++col)
            SG2->setCell(col, row, std::string());
    }
    markProblems(links);
    markComparison();
    describeRows();
}

void LinkTablePage::describeRows()
{
    // What the mouse shows over a row, a screen reader tells with each of its cells.
    for (int row = 1; row < SG2->gridRowCount(); ++row) {
        const QString hint = rowHint(row);
        for (int col = 0; col < kColumns; ++col) {
            if (QTableWidgetItem* cell = SG2->item(row - 1, col))
                cell->setData(Qt::AccessibleDescriptionRole, hint);
        }
    }
}

void LinkTablePage::showCurrentRowHint()
{
    const QString hint = rowHint(SG2->currentGridRow());
    if (hint.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    const QRect cell = SG2->visualRect(SG2->currentIndex());
    QToolTip::showText(SG2->viewport()->mapToGlobal(cell.bottomLeft()), hint, SG2->viewport(), cell);
}

// A heading of another language may be longer than its column of the design
// ("From reg."): the column grows to show it whole, and the module name column
// of its group gives the room back, so that the groups stay under their
// headings and the grid keeps its width.
void LinkTablePage::fitColumnsToHeadings()
{
    const QHeaderView& headings = *SG2->horizontalHeader();
    for (const ColumnGroup& group : kColumnGroups) {
        int grown = 0;
        for (int col = group.first; col <= group.last; ++col) {
            if (col == group.name)
                continue;
            const int width = std::max(kDesignWidths[static_cast<std::size_t>(col)], headings.sectionSizeHint(col));
            grown += width - kDesignWidths[static_cast<std::size_t>(col)];
            SG2->setColumnWidth(col, width);
        }
        const int nameWidth = kDesignWidths[static_cast<std::size_t>(group.name)] - grown;
        SG2->setColumnWidth(group.name, std::max(nameWidth, headings.sectionSizeHint(group.name)));
    }
}

void LinkTablePage::showLinkRow(int row, const std::string& number, const LinkRecord& link)
{
    const std::array<std::string, kColumns> cells{
        number,                      moduleNumber(link.ModulQ), moduleName(m_station, link.ModulQ),
        std::to_string(link.RegVon), std::to_string(link.BitVon), std::to_string(link.AnzBit),
        moduleNumber(link.ModulZ),   moduleName(m_station, link.ModulZ),   std::to_string(link.RegZ),
        std::to_string(link.BitZ),   link.deaktiv == 0 ? "A" : "D"};
    for (int col = 0; col < kColumns; ++col)
        SG2->setCell(col, row, cells[static_cast<std::size_t>(col)]);
}

void LinkTablePage::ShowComparison(std::vector<LinkRecord> deviceLinks)
{
    m_device.links = std::make_shared<const std::vector<LinkRecord>>(std::move(deviceLinks));
    TabSheet3Show();
    emit comparisonChanged(m_device);
}

void LinkTablePage::ForgetComparison()
{
    m_device.links.reset();
    TabSheet3Show();
    emit comparisonChanged(m_device);
}

void LinkTablePage::BtnPlanClick()
{
    LinkPlanDialog plan(m_station, this);
    plan.exec();
}

void LinkTablePage::markComparison()
{
    // Every cell starts plain: a row may show another link than last time.
    for (int row = 1; row < SG2->gridRowCount(); ++row) {
        for (int col = 0; col < kColumns; ++col) {
            if (QTableWidgetItem* cell = SG2->item(row - 1, col)) {
                cell->setBackground(col == 0 ? palette().button() : QBrush());
                cell->setForeground(QBrush());
                cell->setFont(SG2->font());
            }
        }
    }
    LVergleich->clear();
    if (!m_device.links)
        return;
    const std::vector<LinkRecord> here = m_station.CurrentLinks();
    const std::vector<LinkComparisonRow> rows = CompareLinks(here, *m_device.links);
    std::array<int, 4> counts{};
    const auto paint = [this](int row, int col, const QBrush& background, const QBrush& text, bool struck) {
        QTableWidgetItem* cell = SG2->item(row - 1, col);
        if (cell == nullptr)
            return;
        if (background != QBrush())
            cell->setBackground(background);
        cell->setForeground(text);
        QFont font = SG2->font();
        font.setStrikeOut(struck);
        cell->setFont(font);
    };
    int extraRow = static_cast<int>(here.size());
    for (const LinkComparisonRow& row : rows) {
        ++counts[static_cast<std::size_t>(row.status)];
        switch (row.status) {
        case LinkRowStatus::Same:
            break;
        case LinkRowStatus::Changed:
            for (std::size_t f = 0; f < row.differs.size(); ++f) {
                if (!row.differs[f])
                    continue;
                const int col = kFieldColumns[f];
                const bool module = col == 1 || col == 6;
                for (const int c : module ? std::vector<int>{col, col + 1} : std::vector<int>{col})
                    paint(row.here, c, kChangedFieldFill, kTextOnChangedField, false);
            }
            break;
        case LinkRowStatus::OnlyHere:
            for (int col = 1; col < kColumns; ++col)
                paint(row.here, col, QBrush(), palette().link(), false);
            break;
        case LinkRowStatus::OnlyOnDevice:
            ++extraRow;
            SG2->setGridRowCount(std::max(SG2->gridRowCount(), extraRow + 1));
            showLinkRow(extraRow, "- " + std::to_string(row.device),
                        (*m_device.links)[static_cast<std::size_t>(row.device - 1)]);
            for (int col = 1; col < kColumns; ++col)
                paint(extraRow, col, QBrush(), palette().placeholderText(), true);
            break;
        }
    }
    LVergleich->setText(ansiToQString(GetMessageText(
        kMessageComparison,
        {std::to_string(counts[0]), std::to_string(counts[1]), std::to_string(counts[2]), std::to_string(counts[3])},
        3)));
}

void LinkTablePage::markProblems(int links)
{
    const std::vector<LinkRecord> table = m_station.CurrentLinks();
    const std::vector<LinkProblem> problems = CheckLinks(m_station, table);
    m_problemHints.assign(static_cast<std::size_t>(SG2->gridRowCount()), QString());
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (int row = 1; row < SG2->gridRowCount(); ++row) {
        const std::string lines = row <= links ? LinkProblemLines(problems, table, row) : std::string();
        QString hint = ansiToQString(lines);
        hint.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        m_problemHints[static_cast<std::size_t>(row)] = hint;
        if (QTableWidgetItem* number = SG2->item(row - 1, 0))
            number->setIcon(hint.isEmpty() ? QIcon() : warning);
    }
}

QString LinkTablePage::rowHint(int row) const
{
    const bool inactive = row > 0 && SG2->cell(kActiveColumn, row) == "D";
    const QString inactiveHint = inactive ? ansiToQString(m_memo2Line(1)) : QString();
    const QString problems =
        row > 0 && static_cast<std::size_t>(row) < m_problemHints.size() ? m_problemHints[static_cast<std::size_t>(row)]
                                                                         : QString();
    if (problems.isEmpty())
        return inactiveHint;
    return inactiveHint.isEmpty() ? problems : problems + QLatin1Char('\n') + inactiveHint;
}

void LinkTablePage::SG2MouseMove(int /*x*/, int y)
{
    // Only the row under the mouse counts.
    const QString hint = rowHint(SG2->rowAt(y) + 1);
    if (hint == SG2->toolTip())
        return;
    // A hint still shown belongs to another row: the new one comes up at the
    // next pause of the mouse.
    SG2->setToolTip(hint);
    QToolTip::hideText();
}

void LinkTablePage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    TabSheet3Show();
}

bool LinkTablePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SG2 && event->type() == QEvent::KeyPress) {
        // Where the keys move the current row, its hint comes up as the mouse's would; once the grid has moved.
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            QTimer::singleShot(0, this, &LinkTablePage::showCurrentRowHint);
            break;
        default:
            break;
        }
    }
    if (watched == SG2->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            SG2MouseMove(at.x(), at.y());
        } else if (event->type() == QEvent::ToolTip) {
            // The grid's own hint, not the cells': shown at the pause of the mouse.
            const auto* help = static_cast<QHelpEvent*>(event);
            if (SG2->toolTip().isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), SG2->toolTip(), SG2->viewport());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
