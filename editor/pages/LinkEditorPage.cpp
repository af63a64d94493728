#include "editor/pages/LinkEditorPage.h"

#include "widgets/ShellView.h"
#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "editor/pages/BitPane.h"
#include "editor/pages/EditorCell.h"
#include "editor/pages/EditorScale.h"
#include "editor/pages/EditorSpeech.h"
#include "editor/rules/LinkActionRules.h"
#include "editor/pages/LinkHistory.h"
#include "editor/pages/TF_PDauswahl.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "i18n/TextTable.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr int kPageWidth = kTargetPaneLeft + kPaneWidth;
constexpr int kPageHeight = 506;
// The light yellow of the selection labels, with dark text in any theme.
const QColor kSelectionBackground(0xFF, 0xFF, 0x80);

// Shows `items` with item `current` chosen; items whose text stays are left alone.
void showItems(QComboBox* box, const std::vector<std::string>& items, int current)
{
    const QSignalBlocker quiet(box);
    if (box->count() != static_cast<int>(items.size())) {
        box->clear();
        for (const std::string& item : items)
            box->addItem(ansiToQString(item));
    } else {
        for (int i = 0; i < box->count(); ++i) {
            const QString text = ansiToQString(items[static_cast<std::size_t>(i)]);
            if (box->itemText(i) != text)
                box->setItemText(i, text);
        }
    }
    box->setCurrentIndex(current);
}

QLabel* createLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel* createSelectionLabel(QWidget* parent, const char* name)
{
    QLabel* label = createLabel(parent, name, QStringLiteral("0"));
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
    MessageBoxEx(GetMessageText(n, {kDefaultMessageArgument}, 0), mbError, mbOk, 0);
}

} // namespace

LinkEditorPage::LinkEditorPage(ShellView& shell, Station& station, QWidget* parent)
    : QWidget(parent)
    , m_shell(shell)
    , m_station(station)
    , m_state(station)
{
    setObjectName(QStringLiteral("TabSheet2"));
    GQuelle = new BitPane(Pane::Source, this);
    GZiehl = new BitPane(Pane::Target, this);
    createSelectionArea();
    layOut();

    // Group labels 1..20, one letter each until the language's texts replace them.
    QStringList memo1{QStringLiteral("@92Bez"), QStringLiteral("1=a.")};
    for (int i = 2; i <= kGroupLabelCount; ++i)
        memo1 << QStringLiteral("%1=%2").arg(i).arg(QChar(u'a' + i - 1));
    memo1 << QString();
    Memo1 = CreateTextTable(this, "Memo1", memo1);

    connectHandlers();
    describeControls();
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
        QLabel* title = createLabel(this, side.title, QLatin1String(side.titleCaption));
        title->setAlignment(Qt::AlignCenter);
        drawnAt(title, QRect(side.left, kTitleTop, kPaneWidth, kLabelHeight));
        drawnAt(createLabel(this, side.nameCaptionLabel, QLatin1String(side.nameCaption)),
                QRect(side.left + 8, kNameTop, kNameLeft - 12, kLabelHeight));
        names[i] = createLabel(this, i == 0 ? "LQuelleName" : "LZielName", QString());
        drawnAt(names[i], QRect(side.left + kNameLeft, kNameTop, kPaneWidth - kNameLeft - 4, kLabelHeight));
        QFont bold = names[i]->font();
        bold.setBold(true);
        names[i]->setFont(bold);
        drawnAt(createLabel(this, side.registerCaption, QStringLiteral("@37ab Register")),
                QRect(side.left + kNameLeft, kCaptionTop, kRegisterWidth, 16));
        drawnAt(createLabel(this, side.bitCaption, QStringLiteral("@38ab Bit")),
                QRect(side.left + kBitLeft, kCaptionTop, kBitWidth + 40, 16));
        selection[i] = {createSelectionLabel(this, i == 0 ? "LRegQ" : "LRegZ"),
                        createSelectionLabel(this, i == 0 ? "LBitQ" : "LBitZ")};
        drawnAt(selection[i].first, QRect(side.left + kNameLeft, kSelectionTop, kRegisterWidth, kLabelHeight));
        drawnAt(selection[i].second, QRect(side.left + kBitLeft, kSelectionTop, kBitWidth, kLabelHeight));
    }
    LQuelleName = names[0];
    LZielName = names[1];
    std::tie(LRegQ, LBitQ) = selection[0];
    std::tie(LRegZ, LBitZ) = selection[1];

    // The module addresses the selection refers to; not shown.
    LModulQ = createLabel(this, "LModulQ", QStringLiteral("0"));
    LModulZ = createLabel(this, "LModulZ", QStringLiteral("0"));
    LModulQ->hide();
    LModulZ->hide();

    constexpr int kCountCaptionWidth = 250;
    drawnAt(createLabel(this, "LabAnzBit", ansiToQString("@39Anzahl der zu \xFC" "bertragenden Bits")),
            QRect(8, kCountTop, kCountCaptionWidth, kLabelHeight));
    LAnzBit = createSelectionLabel(this, "LAnzBit");
    drawnAt(LAnzBit, QRect(8 + kCountCaptionWidth, kCountTop, kBitWidth, kLabelHeight));

    BtnUebernehmen = new QPushButton(ansiToQString("@40\xFC" "bernehmen"), this);
    BtnUebernehmen->setObjectName(QStringLiteral("BtnUebernehmen"));
    drawnAt(BtnUebernehmen, QRect(kTargetPaneLeft + kNameLeft, kCountTop - 4, kRegisterWidth + 12 + kBitWidth, 28));
    BtnUebernehmen->setEnabled(false);
}

void LinkEditorPage::drawnAt(QWidget* widget, const QRect& drawn)
{
    m_drawnPlaces.emplace_back(widget, drawn);
}

void LinkEditorPage::layOut()
{
    const double scale = EditorScale(font());
    setMinimumSize(Scaled(kPageWidth, scale), Scaled(kPageHeight, scale));
    GQuelle->setScale(scale);
    GZiehl->setScale(scale);
    for (const auto& [widget, drawn] : m_drawnPlaces)
        widget->setGeometry(Scaled(drawn, scale));
}

void LinkEditorPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        layOut();
    QWidget::changeEvent(event);
}

void LinkEditorPage::connectHandlers()
{
    connectPane(GQuelle);
    connectPane(GZiehl);
    connect(BtnUebernehmen, &QPushButton::clicked, this, [this] { showChange(m_state.TakeOver()); });
    auto* otherPane = new QShortcut(this);
    otherPane->setKeys({QKeySequence(Qt::Key_F6), QKeySequence(Qt::SHIFT | Qt::Key_F6)});
    otherPane->setContext(Qt::WidgetWithChildrenShortcut);
    connect(otherPane, &QShortcut::activated, this, &LinkEditorPage::focusOtherPane);
}

void LinkEditorPage::focusOtherPane()
{
    // From anywhere on the page but the target pane, to the target pane; from there back.
    const QWidget* focused = focusWidget();
    const bool inTarget = focused != nullptr && (focused == GZiehl || GZiehl->isAncestorOf(focused));
    (inTarget ? GQuelle : GZiehl)->setFocus(Qt::ShortcutFocusReason);
}

void LinkEditorPage::describeControls()
{
    for (BitPane* shown : {GQuelle, GZiehl}) {
        shown->setAccessibleDescription(PaneKeysHelp());
        const QString pane = shown->title();
        // Some desktops name a box by what it shows: its own name goes into the description too.
        const auto describe = [&pane](QComboBox* box, const QString& what) {
            const QString name = pane + QStringLiteral(": ") + what;
            box->setAccessibleName(name);
            box->setAccessibleDescription(name + QStringLiteral(". ") + PaneBoxHelp());
        };
        describe(shown->moduleBox(), ModuleWord());
        describe(shown->groupBox(), SignalGroupWord());
    }
}

void LinkEditorPage::connectPane(BitPane* shown)
{
    const Pane pane = shown->pane();
    connect(shown->moduleBox(), &QComboBox::activated, this,
            [this, pane](int item) { showChange(m_state.ChooseModule(pane, item)); });
    connect(shown->groupBox(), &QComboBox::activated, this,
            [this, pane](int item) { showChange(m_state.ChooseGroup(pane, item)); });
    // The page moves the scroll bars with their signals blocked: these are the user's.
    connect(shown->scrollBar(), &QScrollBar::valueChanged, this,
            [this, pane](int position) { showChange(m_state.Scroll(pane, position)); });
    connect(shown, &BitPane::cellReleased, this, [this](Pane clicked, int index, Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            showChange(m_state.ClickBit(clicked, index));
        else
            openLinkActions(clicked, index);
    });
    connect(shown, &BitPane::rowLabelReleased, this, [this, pane](int row, Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            showChange(m_state.ClickRegisterLabel(pane, row));
    });
    connect(shown, &BitPane::takeOverKeyPressed, this, [this] {
        if (BtnUebernehmen->isEnabled())
            BtnUebernehmen->click();
    });
    shown->setSpeech([this, pane](int index) { return SpokenBit(m_station, m_state.FactsOfCell(pane, index)); },
                     [this, pane](int row) { return SpokenRegisterLabel(m_state.FactsOfRegisterLabel(pane, row)); });
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

void LinkEditorPage::TabSheet2Show()
{
    if (!LinkEditorState::CanOpen(m_station)) {
        m_shell.SelectPage(0);
        m_shell.ZeigeStation();
        return;
    }
    showChange(m_state.Open(groupLabels()));
    // The keyboard starts where a reader does: the first bit of the first register shown.
    GQuelle->moveCursorTo(0, 0);
    GZiehl->moveCursorTo(0, 0);
    GQuelle->setFocus(Qt::OtherFocusReason);
}

void LinkEditorPage::useLinkDialog(TF_PDauswahl* dialog)
{
    m_linkDialog = dialog;
}

void LinkEditorPage::useLinkHistory(LinkHistory* history)
{
    m_state.useRecorder(history);
}

void LinkEditorPage::ShowLinksAgain()
{
    showChange(m_state.ShowLinksAgain());
}

void LinkEditorPage::ShowSourceModuleAt(int position)
{
    showChange(m_state.ShowSourceModuleAt(position));
}

void LinkEditorPage::RelabelGroups()
{
    showChange(m_state.Relabel(groupLabels()));
    describeControls();
}

void LinkEditorPage::ShowComparison(const ComparedDeviceLinks& device)
{
    showChange(m_state.ShowComparison(device));
}

void LinkEditorPage::showChange(const EditorChange& change)
{
    // The refusal is told while the panes still show what was refused.
    if (change.refusal != 0)
        showRefusal(change.refusal);
    for (const Pane pane : {Pane::Source, Pane::Target}) {
        if (change.has(EditorChange::ModuleItems) || change.has(EditorChange::Module(pane)))
            showModule(pane);
        if (change.has(EditorChange::Cells(pane)))
            showCells(pane);
        if (change.has(EditorChange::Marks(pane)))
            showMarks(pane);
    }
    if (change.has(EditorChange::Selection))
        showSelection();
    if (change.has(EditorChange::Status))
        m_shell.ShowStatus();
}

void LinkEditorPage::showModule(Pane pane)
{
    const EditorPane& shown = m_state.pane(pane);
    BitPane* widget = paneWidget(pane);
    showItems(widget->moduleBox(), m_state.moduleItems(pane), shown.moduleItem);
    showItems(widget->groupBox(), shown.groupItems, shown.groupItem);
    (pane == Pane::Source ? LQuelleName : LZielName)->setText(ansiToQString(shown.moduleName));
}

void LinkEditorPage::showCells(Pane pane)
{
    const EditorPane& shown = m_state.pane(pane);
    BitPane* widget = paneWidget(pane);
    {
        const QSignalBlocker quiet(widget->scrollBar());
        widget->scrollBar()->setRange(0, std::max(shown.group.scrollMaximum, 0));
        widget->scrollBar()->setValue(shown.scroll);
    }
    widget->setColumnOrder(shown.group.layout);
    for (int index = 0; index < kPaneCells; ++index)
        widget->cell(index)->setColour(shown.cells.cells[static_cast<std::size_t>(index)].colour);
    for (int row = 0; row < kPaneRows; ++row) {
        EditorCell* label = widget->rowLabel(row);
        label->setColour(shown.cells.rowLabels[static_cast<std::size_t>(row)].colour);
        label->setText(std::to_string(shown.cells.rowRegisters[static_cast<std::size_t>(row)]));
    }
}

void LinkEditorPage::showMarks(Pane pane)
{
    const EditorPane& shown = m_state.pane(pane);
    BitPane* widget = paneWidget(pane);
    for (int index = 0; index < kPaneCells; ++index) {
        const auto i = static_cast<std::size_t>(index);
        EditorCell* cell = widget->cell(index);
        cell->setText(shown.marks[i].text);
        cell->setBold(shown.marks[i].bold);
        cell->setInactive(shown.marks[i].inactive);
        cell->setDiffering(shown.frames[i]);
    }
}

void LinkEditorPage::showSelection()
{
    const LinkSelection& selection = m_state.selection();
    LModulQ->setText(QString::number(selection.modulQ));
    LRegQ->setText(QString::number(selection.regQ));
    LBitQ->setText(QString::number(selection.bitQ));
    LAnzBit->setText(QString::number(selection.anzBit));
    LModulZ->setText(QString::number(selection.modulZ));
    LRegZ->setText(QString::number(selection.regZ));
    LBitZ->setText(QString::number(selection.bitZ));
    BtnUebernehmen->setEnabled(m_state.takeOverPossible());
}

void LinkEditorPage::openLinkActions(Pane pane, int index)
{
    std::optional<LinkActionOffer> offer = m_state.LinkActionsAt(pane, index);
    if (!offer || m_linkDialog == nullptr)
        return;
    m_linkDialog->setWindowTitle(ansiToQString(offer->caption));
    placeLinkDialog(pane, index, offer->context);
    m_linkDialog->ask(m_station, offer->context);
    showChange(m_state.ApplyLinkAction(offer->context));
}

// Beside the clicked cell, as far as the screen allows: fixed offsets from the
// window would depend on the sizes of its frame, menu and tool bar, which
// differ between desktops.
void LinkEditorPage::placeLinkDialog(Pane pane, int index, const LinkDialogContext& context)
{
    const EditorCell* clicked = paneWidget(pane)->cell(index);
    QPoint place = clicked->mapToGlobal(QPoint(clicked->width() + 4, 0));
    if (const QScreen* screen = clicked->screen()) {
        constexpr int kFrame = 40;
        const QRect area = screen->availableGeometry();
        const int rows = static_cast<int>(LinkDialogRows(m_station, context).size());
        const QSize size(220 + kFrame, rows * 60 + 21 + kFrame);
        place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - size.width())));
        place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    }
    m_linkDialog->move(place);
}
