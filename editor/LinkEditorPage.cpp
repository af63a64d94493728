#include "editor/LinkEditorPage.h"

#include "widgets/ShellView.h"
#include "diag/AnsiText.h"
#include "editor/BitPane.h"
#include "editor/EditorCell.h"
#include "editor/LinkActionRules.h"
#include "editor/LinkHistory.h"
#include "editor/LinkStepName.h"
#include "editor/SelectionRules.h"
#include "editor/TF_PDauswahl.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "i18n/TextTable.h"
#include "model/DeviceValues.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr int kPageWidth = kTargetPaneLeft + kPaneWidth;
constexpr int kPageHeight = 506;
// The light yellow of the selection labels, with dark text in any theme.
const QColor kSelectionBackground(0xFF, 0xFF, 0x80);

const ModuleRecord& moduleRecord(int32_t address)
{
    static const ModuleRecord none;
    return IsModuleAddress(address) ? ModuleTable[static_cast<std::size_t>(address)] : none;
}

// The module address at a ModuleList position, or kNoModule.
int32_t moduleAt(int position)
{
    if (position < 0 || position >= std::min(ModulAnzahl, kModuleListSize))
        return LinkEditorPage::kNoModule;
    const int32_t address = ModuleList[static_cast<std::size_t>(position)];
    return IsModuleAddress(address) ? address : LinkEditorPage::kNoModule;
}

std::string moduleItemText(int32_t address)
{
    const ModuleRecord& module = moduleRecord(address);
    return module.name + " (" + module.typeText + ") - Adr:" + std::to_string(int64_t{address} + DeviceAddress);
}

template <std::size_t N>
void fillBox(QComboBox* box, const std::array<std::string, N>& items)
{
    const QSignalBlocker quiet(box);
    box->clear();
    for (const std::string& item : items)
        box->addItem(ansiToQString(item));
}

// Replaces the texts of the items; which one is chosen stays.
template <std::size_t N>
void relabelBox(QComboBox* box, const std::array<std::string, N>& items)
{
    const QSignalBlocker quiet(box);
    for (std::size_t i = 0; i < N && static_cast<int>(i) < box->count(); ++i)
        box->setItemText(static_cast<int>(i), ansiToQString(items[i]));
}

QLabel* createLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

QLabel* createSelectionLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    QLabel* label = createLabel(parent, name, QStringLiteral("0"), geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setContentsMargins(0, 0, 4, 0);
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, kSelectionBackground);
    colours.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(colours);
    return label;
}

// A selection the editor's rules refuse, told as numbered message `n`.
void showRefusal(int n)
{
    MessageBoxEx(GetMessageText(n, {DefaultMessageArgument}, 0), mbError, mbOk, 0);
}

} // namespace

LinkEditorPage::LinkEditorPage(ShellView& shell, QWidget* parent)
    : QWidget(parent)
    , m_shell(shell)
{
    setObjectName(QStringLiteral("TabSheet2"));
    setMinimumSize(kPageWidth, kPageHeight);

    GQuelle = new BitPane(Pane::Source, this);
    GZiehl = new BitPane(Pane::Target, this);
    ComboBox1 = GQuelle->moduleBox();
    ComboBox2 = GQuelle->groupBox();
    ScrollBarQ = GQuelle->scrollBar();
    ComboBox3 = GZiehl->moduleBox();
    ComboBox4 = GZiehl->groupBox();
    ScrollBarZ = GZiehl->scrollBar();
    createSelectionArea();

    // Group labels 1..20, one letter each until the language's texts replace them.
    QStringList memo1{QStringLiteral("@92Bez"), QStringLiteral("1=a.")};
    for (int i = 2; i <= kGroupLabelCount; ++i)
        memo1 << QStringLiteral("%1=%2").arg(i).arg(QChar(u'a' + i - 1));
    memo1 << QString();
    Memo1 = CreateTextTable(this, "Memo1", memo1);

    connectHandlers();
}

void LinkEditorPage::createSelectionArea()
{
    struct Side {
        int left;
        const char* title;
        const char* titleCaption;
        const char* nameCaptionLabel;
        const char* nameCaption;
        const char* registerCaption;
        const char* bitCaption;
    };
    const Side sides[2] = {
        {kSourcePaneLeft, "LVonQuelle", "@41von Quelle", "LQuelle", "@30Quelle:", "LabRegQ", "LabBitQ"},
        {kTargetPaneLeft, "LNachZiel", "@42nach Ziel", "LZiel", "@31", "LabRegZ", "LabBitZ"},
    };
    constexpr int kTitleTop = 384;
    constexpr int kNameTop = 406;
    constexpr int kCaptionTop = 430;
    constexpr int kSelectionTop = 448;
    constexpr int kCountTop = 480;
    constexpr int kNameLeft = 76;
    constexpr int kRegisterWidth = 100;
    constexpr int kBitLeft = kNameLeft + kRegisterWidth + 12;
    constexpr int kBitWidth = 70;
    constexpr int kLabelHeight = 20;

    std::array<QLabel*, 2> names{};
    std::array<std::pair<QLabel*, QLabel*>, 2> selection{};
    for (std::size_t i = 0; i < 2; ++i) {
        const Side& side = sides[i];
        QLabel* title = createLabel(this, side.title, QLatin1String(side.titleCaption),
                                    QRect(side.left, kTitleTop, kPaneWidth, kLabelHeight));
        title->setAlignment(Qt::AlignCenter);
        createLabel(this, side.nameCaptionLabel, QLatin1String(side.nameCaption),
                    QRect(side.left + 8, kNameTop, kNameLeft - 12, kLabelHeight));
        names[i] = createLabel(this, i == 0 ? "LQuelleName" : "LZielName", QString(),
                               QRect(side.left + kNameLeft, kNameTop, kPaneWidth - kNameLeft - 4, kLabelHeight));
        QFont bold = names[i]->font();
        bold.setBold(true);
        names[i]->setFont(bold);
        createLabel(this, side.registerCaption, QStringLiteral("@37ab Register"),
                    QRect(side.left + kNameLeft, kCaptionTop, kRegisterWidth, 16));
        createLabel(this, side.bitCaption, QStringLiteral("@38ab Bit"),
                    QRect(side.left + kBitLeft, kCaptionTop, kBitWidth + 40, 16));
        selection[i] = {
            createSelectionLabel(this, i == 0 ? "LRegQ" : "LRegZ",
                                 QRect(side.left + kNameLeft, kSelectionTop, kRegisterWidth, kLabelHeight)),
            createSelectionLabel(this, i == 0 ? "LBitQ" : "LBitZ",
                                 QRect(side.left + kBitLeft, kSelectionTop, kBitWidth, kLabelHeight))};
    }
    LQuelleName = names[0];
    LZielName = names[1];
    std::tie(LRegQ, LBitQ) = selection[0];
    std::tie(LRegZ, LBitZ) = selection[1];

    // The module addresses the selection refers to; not shown.
    LModulQ = createLabel(this, "LModulQ", QStringLiteral("0"), QRect());
    LModulZ = createLabel(this, "LModulZ", QStringLiteral("0"), QRect());
    LModulQ->hide();
    LModulZ->hide();

    constexpr int kCountCaptionWidth = 250;
    createLabel(this, "LabAnzBit", ansiToQString("@39Anzahl der zu \xFC" "bertragenden Bits"),
                QRect(8, kCountTop, kCountCaptionWidth, kLabelHeight));
    LAnzBit = createSelectionLabel(this, "LAnzBit", QRect(8 + kCountCaptionWidth, kCountTop, kBitWidth, kLabelHeight));

    BtnUebernehmen = new QPushButton(ansiToQString("@40\xFC" "bernehmen"), this);
    BtnUebernehmen->setObjectName(QStringLiteral("BtnUebernehmen"));
    BtnUebernehmen->setGeometry(kTargetPaneLeft + kNameLeft, kCountTop - 4, kRegisterWidth + 12 + kBitWidth, 28);
    BtnUebernehmen->setEnabled(false);
}

void LinkEditorPage::connectHandlers()
{
    connect(ComboBox1, &QComboBox::activated, this, &LinkEditorPage::ComboBox1Change);
    connect(ComboBox2, &QComboBox::activated, this, &LinkEditorPage::ComboBox2Change);
    connect(ComboBox3, &QComboBox::activated, this, &LinkEditorPage::ComboBox3Change);
    connect(ComboBox4, &QComboBox::activated, this, &LinkEditorPage::ComboBox4Change);
    // The program moves the scroll bars with their signals blocked: these are the user's.
    connect(ScrollBarQ, &QScrollBar::valueChanged, this, &LinkEditorPage::ScrollBarQChange);
    connect(ScrollBarZ, &QScrollBar::valueChanged, this, &LinkEditorPage::ScrollBarZChange);
    connect(GQuelle, &BitPane::cellReleased, this, &LinkEditorPage::StaticTextMouseUp);
    connect(GZiehl, &BitPane::cellReleased, this, &LinkEditorPage::StaticTextMouseUp);
    // Only the source pane's register labels choose anything.
    connect(GQuelle, &BitPane::rowLabelReleased, this, [this](int row, Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            STLClick(row);
    });
    connect(BtnUebernehmen, &QPushButton::clicked, this, &LinkEditorPage::TakeOverLink);
}

std::string LinkEditorPage::Memo1Line(int i) const
{
    return TextTableLine(Memo1, i);
}

GroupLabels LinkEditorPage::groupLabels() const
{
    GroupLabels labels;
    for (int k = 1; k <= kGroupLabelCount; ++k)
        labels.lines[static_cast<std::size_t>(k)] = Memo1Line(k);
    return labels;
}

int32_t LinkEditorPage::sourceFirstVisible() const
{
    return m_sourceGroup.baseRegister + ScrollBarQ->value();
}

int32_t LinkEditorPage::targetFirstVisible() const
{
    return m_targetGroup.baseRegister + ScrollBarZ->value();
}

void LinkEditorPage::setScrollRange(QScrollBar* bar, int32_t maximum)
{
    const QSignalBlocker quiet(bar);
    bar->setRange(0, maximum);
}

void LinkEditorPage::resetScroll(QScrollBar* bar)
{
    const QSignalBlocker quiet(bar);
    bar->setMinimum(0);
    bar->setValue(0);
}

void LinkEditorPage::fillModuleBoxes()
{
    const int count = std::clamp(ModulAnzahl, 0, kModuleListSize);
    const QSignalBlocker quietSource(ComboBox1);
    const QSignalBlocker quietTarget(ComboBox3);
    ComboBox1->clear();
    ComboBox3->clear();
    // The central device is never a link target.
    for (int position = 0; position < count; ++position) {
        const QString text = ansiToQString(moduleItemText(moduleAt(position)));
        ComboBox1->addItem(text);
        if (position > 0)
            ComboBox3->addItem(text);
    }
}

void LinkEditorPage::TabSheet2Show()
{
    if (ModulAnzahl <= 0) {
        m_shell.SelectPage(0);
        m_shell.ZeigeStation();
        return;
    }
    fillModuleBoxes();
    if (ComboBox1->currentIndex() < 0)
        ComboBox1->setCurrentIndex(0);
    if (ComboBox3->currentIndex() < 0)
        ComboBox3->setCurrentIndex(0);
    // Each pane opens at the first register of its group.
    resetScroll(ScrollBarQ);
    ShowSourceModule();
    resetScroll(ScrollBarZ);
    ShowTargetModule();
    BtnUebernehmen->setEnabled(false);
}

void LinkEditorPage::ShowSourceModule()
{
    m_sourceModule = moduleAt(ComboBox1->currentIndex());
    const ModuleRecord& module = moduleRecord(m_sourceModule);
    m_selection.modulQ = std::max(m_sourceModule, 0);
    LQuelleName->setText(ansiToQString(module.name));
    fillBox(ComboBox2, SourceGroupItems(module, groupLabels()));
    ComboBox2->setCurrentIndex(0);
    ShowSourceGroup();
}

void LinkEditorPage::ShowSourceGroup()
{
    const ModuleRecord& module = moduleRecord(m_sourceModule);
    m_sourceGroup = SourceGroupOf(module, qStringToAnsi(ComboBox2->currentText()), groupLabels());
    setScrollRange(ScrollBarQ, m_sourceGroup.scrollMaximum);
    GQuelle->setColumnOrder(m_sourceGroup.layout);
    m_sourceCells = SourceCells(m_sourceGroup, module, ScrollBarQ->value());
    showPaneCells(GQuelle, m_sourceCells);
    m_selection.clearSource();
    showSelection();
    if (ComboBox3->currentIndex() < 0)
        ShowTargetModule();
    DrawSourceLinks(sourceFirstVisible());
}

void LinkEditorPage::ShowTargetModule()
{
    m_targetModule = ComboBox3->currentIndex() < 0 ? kNoModule : moduleAt(ComboBox3->currentIndex() + 1);
    const ModuleRecord& module = moduleRecord(m_targetModule);
    m_selection.modulZ = std::max(m_targetModule, 0);
    LZielName->setText(ansiToQString(module.name));
    fillBox(ComboBox4, TargetGroupItems(module, groupLabels()));
    ComboBox4->setCurrentIndex(0);
    ShowTargetGroup();
}

void LinkEditorPage::ShowTargetGroup()
{
    const ModuleRecord& module = moduleRecord(m_targetModule);
    m_targetGroup = TargetGroupOf(module, qStringToAnsi(ComboBox4->currentText()), groupLabels());
    setScrollRange(ScrollBarZ, m_targetGroup.scrollMaximum);
    GZiehl->setColumnOrder(m_targetGroup.layout);
    m_targetCells = TargetCells(m_targetGroup, module, ScrollBarZ->value(), m_selection.anzBit);
    m_selection.clearTarget();
    showSelection();
    // A target start that is gone can no longer be taken over.
    BtnUebernehmen->setEnabled(false);
    m_shell.ShowStatus();
    DrawTargetLinks(targetFirstVisible());
}

void LinkEditorPage::DrawSourceLinks(int32_t firstRegister)
{
    m_sourceMarks = SourceLinkMarks(m_sourceModule, m_targetModule, firstRegister);
    showPaneMarks(GQuelle, m_sourceMarks);
    showDifferences(Pane::Source);
}

void LinkEditorPage::DrawTargetLinks(int32_t firstRegister)
{
    m_targetMarks = m_targetModule == kNoModule ? PaneMarks{}
                                                : TargetLinkMarks(m_sourceModule, m_targetModule, firstRegister);
    // A bit a link writes is taken: it can show the link's actions, but take no new link.
    for (std::size_t i = 0; i < m_targetMarks.size(); ++i) {
        if (m_targetMarks[i].text != kNoMark)
            m_targetCells.cells[i] = {true, CellColour::SkyBlue};
    }
    showPaneCells(GZiehl, m_targetCells);
    showPaneMarks(GZiehl, m_targetMarks);
    showDifferences(Pane::Target);
}

std::string LinkEditorPage::LinkLetter(int32_t link, int ordinal) const
{
    const bool targetInView = IsLinkSlot(link) && LinkTable[static_cast<std::size_t>(link)].ModulZ == m_targetModule;
    return ::LinkLetter(ordinal, targetInView);
}

void LinkEditorPage::showPaneCells(BitPane* pane, const PaneCells& cells)
{
    for (int index = 0; index < kPaneCells; ++index)
        pane->cell(index)->setColour(cells.cells[static_cast<std::size_t>(index)].colour);
    for (int row = 0; row < kPaneRows; ++row) {
        EditorCell* label = pane->rowLabel(row);
        label->setColour(cells.rowLabels[static_cast<std::size_t>(row)].colour);
        label->setText(std::to_string(cells.rowRegisters[static_cast<std::size_t>(row)]));
    }
}

void LinkEditorPage::showPaneMarks(BitPane* pane, const PaneMarks& marks)
{
    for (int index = 0; index < kPaneCells; ++index) {
        const CellMark& mark = marks[static_cast<std::size_t>(index)];
        EditorCell* cell = pane->cell(index);
        cell->setText(mark.text);
        cell->setBold(mark.bold);
        cell->setInactive(mark.inactive);
    }
}

void LinkEditorPage::showSelection()
{
    LModulQ->setText(QString::number(m_selection.modulQ));
    LRegQ->setText(QString::number(m_selection.regQ));
    LBitQ->setText(QString::number(m_selection.bitQ));
    LAnzBit->setText(QString::number(m_selection.anzBit));
    LModulZ->setText(QString::number(m_selection.modulZ));
    LRegZ->setText(QString::number(m_selection.regZ));
    LBitZ->setText(QString::number(m_selection.bitZ));
}

void LinkEditorPage::ComboBox1Change()
{
    ShowSourceModule();
    ShowTargetGroup();
}

void LinkEditorPage::ComboBox2Change()
{
    resetScroll(ScrollBarQ);
    ShowSourceGroup();
    ShowTargetGroup();
}

void LinkEditorPage::ScrollBarQChange()
{
    ShowSourceGroup();
    // The source range is gone: no target bit is offered any more.
    ShowTargetGroup();
}

void LinkEditorPage::ComboBox3Change()
{
    ShowTargetModule();
    ShowSourceGroup();
}

void LinkEditorPage::ComboBox4Change()
{
    resetScroll(ScrollBarZ);
    ShowTargetGroup();
    ShowSourceGroup();
}

void LinkEditorPage::ScrollBarZChange()
{
    ShowTargetGroup();
}

void LinkEditorPage::ShowSourceModuleAt(int position)
{
    if (ComboBox1->count() == 0)
        return;
    ComboBox1->setCurrentIndex(std::clamp(position, 0, ComboBox1->count() - 1));
    ComboBox1Change();
}

void LinkEditorPage::RelabelGroups()
{
    const GroupLabels labels = groupLabels();
    relabelBox(ComboBox2, SourceGroupItems(moduleRecord(m_sourceModule), labels));
    relabelBox(ComboBox4, TargetGroupItems(moduleRecord(m_targetModule), labels));
}

void LinkEditorPage::ShowComparison(const ComparedDeviceLinks& device)
{
    m_device = device;
    showDifferences(Pane::Source);
    showDifferences(Pane::Target);
}

void LinkEditorPage::showDifferences(Pane pane)
{
    PaneFrames frames{};
    const int32_t module = pane == Pane::Source ? m_sourceModule : m_targetModule;
    if (m_device.links && module != kNoModule) {
        const DifferingBits differing = DifferingLinkBits(CurrentLinks(), *m_device.links);
        frames = pane == Pane::Source ? FramedCells(differing.source, module, sourceFirstVisible())
                                      : FramedCells(differing.target, module, targetFirstVisible());
    }
    BitPane* shown = pane == Pane::Source ? GQuelle : GZiehl;
    for (int index = 0; index < kPaneCells; ++index)
        shown->cell(index)->setDiffering(frames[static_cast<std::size_t>(index)]);
}

const PaneMarks& LinkEditorPage::marksOf(Pane pane) const
{
    return pane == Pane::Source ? m_sourceMarks : m_targetMarks;
}

const PaneCells& LinkEditorPage::cellsOf(Pane pane) const
{
    return pane == Pane::Source ? m_sourceCells : m_targetCells;
}

void LinkEditorPage::StaticTextMouseUp(int cell, Qt::MouseButton button)
{
    if (!IsCellNumber(cell))
        return;
    if (button != Qt::LeftButton) {
        OpenLinkActions(cell);
        return;
    }
    const CellAddress address = LocateCell(cell);
    if (!cellsOf(address.pane).cells[static_cast<std::size_t>(address.index)].clickable)
        return;
    if (address.pane == Pane::Source)
        SelectSourceBit(cell);
    else
        SelectTargetBit(cell);
}

void LinkEditorPage::STLClick(int row)
{
    if (row >= 0 && row < kPaneRows && m_sourceCells.rowLabels[static_cast<std::size_t>(row)].clickable)
        SelectSourceRegister(row);
}

void LinkEditorPage::SelectSourceBit(int cell)
{
    const CellAddress address = LocateCell(cell);
    const int32_t first = sourceFirstVisible();
    const SourceClick click = ClickSourceBit(m_selection, first + address.row, address.bit);
    if (click == SourceClick::Refuse)
        showRefusal(kMessageSourceRangeNotAllowed);
    // Old marks go, unless a first bit was just chosen on a pane without any.
    if (click != SourceClick::Start)
        DrawSourceLinks(first);
    MarkSelectedRun(m_sourceMarks, m_selection.regQ, m_selection.bitQ, m_selection.anzBit, first);
    showPaneMarks(GQuelle, m_sourceMarks);
    showSelection();
    m_shell.ShowStatus();
    ShowTargetGroup();
}

void LinkEditorPage::SelectSourceRegister(int row)
{
    const int32_t first = sourceFirstVisible();
    if (m_selection.hasSourceRange())
        DrawSourceLinks(first);
    ChooseSourceRegister(m_selection, first + row);
    MarkSelectedRun(m_sourceMarks, m_selection.regQ, m_selection.bitQ, m_selection.anzBit, first);
    showPaneMarks(GQuelle, m_sourceMarks);
    showSelection();
    ShowTargetGroup();
}

void LinkEditorPage::SelectTargetBit(int cell)
{
    const int index = LocateCell(cell).index;
    if (!m_selection.hasSourceRange() || m_targetMarks[static_cast<std::size_t>(index)].text != kNoMark)
        return;
    const int32_t first = targetFirstVisible();
    if (m_selection.hasTargetStart())
        DrawTargetLinks(first);
    const bool taken = PlaceTargetStart(m_selection, m_targetMarks, index, first);
    if (taken) {
        showRefusal(kMessageTargetBitTaken);
        // The rejected start stays in the labels, but no mark and no take-over.
        DrawTargetLinks(first);
        BtnUebernehmen->setEnabled(false);
    } else {
        showPaneMarks(GZiehl, m_targetMarks);
        BtnUebernehmen->setEnabled(m_selection.regZ != 0);
    }
    showSelection();
}

void LinkEditorPage::TakeOverLink()
{
    if (CanTakeOver(m_selection)) {
        const LinkSelection& s = m_selection;
        bool appended = false;
        ChangeLinks(m_history, LinkStepName(LinkStep::TakeOver, AnzBefehle + 1), [&] {
            appended = AppendLink(s.modulQ, s.regQ, s.bitQ, s.anzBit, s.modulZ, s.regZ, s.bitZ);
        });
        if (!appended) {
            // Nothing was added: the selection stays for after a clean-up.
            showRefusal(kMessageLinkTableFull);
            m_shell.ShowStatus();
            return;
        }
        m_selection.clearSource();
        m_selection.clearTarget();
        DrawSourceLinks(sourceFirstVisible());
        showSelection();
        // Without a source range no target bit is offered any more.
        ShowTargetGroup();
    }
    m_shell.ShowStatus();
}

void LinkEditorPage::useLinkDialog(TF_PDauswahl* dialog)
{
    m_linkDialog = dialog;
}

void LinkEditorPage::useLinkHistory(LinkHistory* history)
{
    m_history = history;
}

void LinkEditorPage::ShowLinksAgain()
{
    // A page not yet opened draws the links when it is.
    if (ComboBox1->count() == 0)
        return;
    ShowSourceGroup();
    ShowTargetGroup();
}

LinkDialogContext LinkEditorPage::dialogContext(int cell) const
{
    const bool target = LocateCell(cell).pane == Pane::Target;
    const int32_t sourcePosition = ComboBox1->currentIndex();
    const int32_t targetPosition = ComboBox3->currentIndex() < 0 ? -1 : ComboBox3->currentIndex() + 1;
    LinkDialogContext context;
    context.clickedCell = cell;
    context.clickedModule = target ? targetPosition : sourcePosition;
    context.clickedBaseRegister = (target ? m_targetGroup : m_sourceGroup).baseRegister;
    context.clickedScroll = (target ? ScrollBarZ : ScrollBarQ)->value();
    context.otherModule = target ? sourcePosition : targetPosition;
    context.otherFirstVisible = target ? sourceFirstVisible() : targetFirstVisible();
    context.result = 0;
    return context;
}

// Beside the clicked cell, as far as the screen allows.
void LinkEditorPage::placeLinkDialog(int cell)
{
    const CellAddress address = LocateCell(cell);
    const EditorCell* clicked = (address.pane == Pane::Source ? GQuelle : GZiehl)->cell(address.index);
    QPoint place = clicked->mapToGlobal(QPoint(clicked->width() + 4, 0));
    if (const QScreen* screen = clicked->screen()) {
        constexpr int kFrame = 40;
        const QRect area = screen->availableGeometry();
        const int rows = static_cast<int>(LinkDialogRows(m_dialogContext).size());
        const QSize size(220 + kFrame, rows * 60 + 21 + kFrame);
        place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - size.width())));
        place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    }
    m_linkDialog->move(place);
}

void LinkEditorPage::OpenLinkActions(int cell)
{
    if (!IsCellNumber(cell) || m_linkDialog == nullptr)
        return;
    const CellAddress address = LocateCell(cell);
    const std::string& mark = marksOf(address.pane)[static_cast<std::size_t>(address.index)].text;
    if (mark == kNoMark || mark == kSelectionMark)
        return;

    m_dialogContext = dialogContext(cell);
    const int32_t reg = m_dialogContext.clickedBaseRegister + m_dialogContext.clickedScroll + address.row;
    m_linkDialog->setWindowTitle(ansiToQString("Auswahl f\xFCr  M:" + std::to_string(m_dialogContext.clickedModule) +
                                               " R:" + std::to_string(reg) + " B:" + std::to_string(address.bit)));
    placeLinkDialog(cell);
    m_linkDialog->ask(m_dialogContext);

    const LinkAction action = DecodeLinkAnswer(m_dialogContext);
    switch (action.kind) {
    case LinkActionKind::Delete:
        ChangeLinks(m_history, LinkStepName(LinkStep::Delete, action.linkNumber), [&] { DeleteLink(action.linkNumber); });
        break;
    case LinkActionKind::Switch: {
        int32_t& deaktiv = LinkTable[static_cast<std::size_t>(action.linkNumber)].deaktiv;
        const LinkStep step = deaktiv != 0 ? LinkStep::Activate : LinkStep::Deactivate;
        ChangeLinks(m_history, LinkStepName(step, action.linkNumber), [&] { deaktiv = deaktiv != 0 ? 0 : 1; });
        break;
    }
    case LinkActionKind::ShowTargetEnd:
        showTargetEnd(action.linkNumber);
        break;
    case LinkActionKind::ShowSourceEnd:
        showSourceEnd(action.linkNumber);
        break;
    case LinkActionKind::None:
        break;
    }
    ShowSourceGroup();
    ShowTargetGroup();
    m_dialogContext.result = 0;
}

std::vector<std::string> LinkEditorPage::groupLabelLines() const
{
    std::vector<std::string> lines;
    for (int k = 0; k <= kGroupLabelCount; ++k)
        lines.push_back(Memo1Line(k));
    return lines;
}

std::vector<std::string> LinkEditorPage::itemTexts(const QComboBox* box)
{
    std::vector<std::string> texts;
    for (int i = 0; i < box->count(); ++i)
        texts.push_back(qStringToAnsi(box->itemText(i)));
    return texts;
}

// Scrolls the least that brings register `reg` of the group into the window.
void LinkEditorPage::bringIntoView(QScrollBar* bar, const PaneGroup& group, int32_t reg)
{
    const int64_t offset = int64_t{reg} - group.baseRegister;
    int64_t position = bar->value();
    if (offset < position)
        position = offset;
    else if (offset >= position + kPaneRows)
        position = offset - kPaneRows + 1;
    const QSignalBlocker quiet(bar);
    bar->setRange(0, group.scrollMaximum);
    bar->setValue(static_cast<int>(std::clamp<int64_t>(position, 0, group.scrollMaximum)));
}

void LinkEditorPage::showSourceEnd(int32_t link)
{
    const LinkRecord& l = LinkTable[static_cast<std::size_t>(link)];
    if (!IsModuleAddress(l.ModulQ) || moduleRecord(l.ModulQ).present == 0)
        return;
    const int position = ModuleListPosition(l.ModulQ);
    if (position >= ComboBox1->count())
        return;
    ComboBox1->setCurrentIndex(position);
    ShowSourceModule();
    const ModuleRecord& module = moduleRecord(m_sourceModule);
    const int item = SourceGroupItemFor(module.iModulKennNr, l.RegVon, itemTexts(ComboBox2), groupLabelLines());
    ComboBox2->setCurrentIndex(item);
    bringIntoView(ScrollBarQ, SourceGroupOf(module, qStringToAnsi(ComboBox2->currentText()), groupLabels()),
                  l.RegVon);
}

void LinkEditorPage::showTargetEnd(int32_t link)
{
    const LinkRecord& l = LinkTable[static_cast<std::size_t>(link)];
    if (!IsModuleAddress(l.ModulZ) || moduleRecord(l.ModulZ).present == 0)
        return;
    const int position = ModuleListPosition(l.ModulZ) - 1;
    if (position < 0 || position >= ComboBox3->count())
        return;
    ComboBox3->setCurrentIndex(position);
    ShowTargetModule();
    const int item = TargetGroupItemFor(l.RegZ, itemTexts(ComboBox4), groupLabelLines());
    ComboBox4->setCurrentIndex(item);
    bringIntoView(ScrollBarZ,
                  TargetGroupOf(moduleRecord(m_targetModule), qStringToAnsi(ComboBox4->currentText()), groupLabels()),
                  l.RegZ);
}
