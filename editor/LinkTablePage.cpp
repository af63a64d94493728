#include "editor/LinkTablePage.h"

#include "widgets/StringGrid.h"
#include "diag/AnsiText.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
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

// MemTab lines of the column headings; column 0 has none.
constexpr std::array<int, LinkTablePage::kColumns> kHeadingLines{0, 1, 2, 3, 4, 5, 1, 2, 3, 4, 6};

// A module number as the user counts it (address + 1) and its name. An
// address from a file may lie outside the module table: it has no name.
std::string moduleNumber(int32_t address)
{
    return std::to_string(static_cast<int64_t>(address) + 1);
}

std::string moduleName(int32_t address)
{
    return IsModuleAddress(address) ? ModuleTable[static_cast<std::size_t>(address)].name : std::string();
}

} // namespace

LinkTablePage::LinkTablePage(TextTableLine memTabLine, TextTableLine memo2Line, QWidget* parent)
    : QWidget(parent)
    , m_memTabLine(std::move(memTabLine))
    , m_memo2Line(std::move(memo2Line))
{
    setObjectName(QStringLiteral("TabSheet3"));

    SG2 = new StringGrid(kColumns, kDesignRows, this);
    SG2->setObjectName(QStringLiteral("SG2"));
    SG2->setColumnWidths({40, 42, 173, 56, 44, 49, 43, 176, 53, 43, 34});
    SG2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SG2->viewport()->setMouseTracking(true);
    SG2->viewport()->installEventFilter(this);
    connect(SG2, &QTableWidget::cellDoubleClicked, this, &LinkTablePage::SG2DblClick);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, kGridTop, 0, 0);
    layout->addWidget(SG2);

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
    const int links = std::clamp(AnzBefehle, 0, kLinkTableSlots - 1);
    // A row for every link below the headings, and never fewer than a page.
    SG2->setGridRowCount(std::max(kMinimumRows, links + 1));

    for (int col = 1; col < kColumns; ++col)
        SG2->setCell(col, 0, m_memTabLine(kHeadingLines[static_cast<std::size_t>(col)]));
    for (int i = 1; i <= links; ++i) {
        const LinkRecord& link = LinkTable[static_cast<std::size_t>(i)];
        const std::array<std::string, kColumns> cells{
            std::to_string(i),           moduleNumber(link.ModulQ), moduleName(link.ModulQ),
            std::to_string(link.RegVon), std::to_string(link.BitVon), std::to_string(link.AnzBit),
            moduleNumber(link.ModulZ),   moduleName(link.ModulZ),   std::to_string(link.RegZ),
            std::to_string(link.BitZ),   link.deaktiv == 0 ? "A" : "D"};
        for (int col = 0; col < kColumns; ++col)
            SG2->setCell(col, i, cells[static_cast<std::size_t>(col)]);
    }
    // No row below the last link may show a link that is gone.
    for (int row = links + 1; row < SG2->gridRowCount(); ++row) {
        for (int col = 0; col < kColumns; ++col)
            SG2->setCell(col, row, std::string());
    }
}

void LinkTablePage::SG2MouseMove(int /*x*/, int y)
{
    // Only the row under the mouse counts.
    const int row = SG2->rowAt(y) + 1;
    const bool inactive = row > 0 && SG2->cell(kActiveColumn, row) == "D";
    const QString hint = inactive ? ansiToQString(m_memo2Line(1)) : QString();
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
