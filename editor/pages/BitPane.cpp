#include "editor/pages/BitPane.h"

#include "diag/AnsiText.h"
#include "editor/pages/EditorCell.h"

#include <QComboBox>
#include <QScrollBar>

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

QComboBox* createBox(QWidget* parent, int number, int top)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("ComboBox%1").arg(number));
    box->setGeometry(kBoxLeft, top, kBoxWidth, kBoxHeight);
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
    setGeometry(pane == Pane::Source ? kSourcePaneLeft : kTargetPaneLeft, kPaneTop, kPaneWidth, kPaneHeight);
    if (pane == Pane::Source) {
        // The window's border colour behind the source cells: the two panes
        // side by side are told apart at a glance, in dark themes too.
        setBackgroundRole(QPalette::Mid);
        setAutoFillBackground(true);
    }

    m_moduleBox = createBox(this, names.moduleBox, kModuleBoxTop);
    m_groupBox = createBox(this, names.moduleBox + 1, kGroupBoxTop);

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(QLatin1String(names.scrollBar));
    m_scrollBar->setGeometry(kScrollBarLeft, RowTop(0), kScrollBarWidth, RowTop(kPaneRows - 1) + kCellSize - RowTop(0));
    m_scrollBar->setRange(0, 0);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(1);

    const int firstLabel = pane == Pane::Source ? 1 : kPaneRows + 1;
    for (int row = 0; row < kPaneRows; ++row) {
        auto* label = new EditorCell(this);
        label->setObjectName(QStringLiteral("STL%1").arg(firstLabel + row));
        label->setGeometry(kRowLabelLeft, RowTop(row), kRowLabelWidth, kCellSize);
        connect(label, &EditorCell::released, this, [this, row](Qt::MouseButton b) { emit rowLabelReleased(row, b); });
        m_rowLabels[static_cast<std::size_t>(row)] = label;
    }

    const int firstHeader = pane == Pane::Source ? 1 : kPaneColumns + 1;
    for (int column = 1; column <= kPaneColumns; ++column) {
        auto* header = new EditorCell(this);
        header->setObjectName(QStringLiteral("STsp%1").arg(firstHeader + column - 1));
        header->setText(std::to_string(column - 1));
        header->setFramed(false);
        m_headers[static_cast<std::size_t>(column - 1)] = header;
    }

    for (int index = 0; index < kPaneCells; ++index) {
        auto* cell = new EditorCell(this);
        cell->setObjectName(QStringLiteral("StaticText%1").arg(CellNumber(pane, index)));
        connect(cell, &EditorCell::released, this,
                [this, index](Qt::MouseButton b) { emit cellReleased(m_pane, index, b); });
        m_cells[static_cast<std::size_t>(index)] = cell;
    }
    placeColumns();
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
        m_headers[static_cast<std::size_t>(column - 1)]->setGeometry(left, kHeaderTop, kHeaderWidth, kHeaderHeight);
        for (int row = 0; row < kPaneRows; ++row)
            m_cells[static_cast<std::size_t>(row * kPaneColumns + column - 1)]->setGeometry(left, RowTop(row), kCellSize,
                                                                                            kCellSize);
    }
}
