#include "editor/rules/LinkEditorState.h"

#include "editor/rules/LinkActionRules.h"
#include "editor/rules/LinkStepName.h"
#include "editor/rules/SelectionRules.h"
#include "i18n/LanguageTexts.h"
#include "model/Station.h"

#include <algorithm>

namespace {

// The module address at a ModuleList position, or kNoModule.
int32_t moduleAt(const Station& station, int position)
{
    if (position < 0 || position >= std::min(station.ModulAnzahl, kModuleListSize))
        return LinkEditorState::kNoModule;
    const int32_t address = station.ModuleList[static_cast<std::size_t>(position)];
    return IsModuleAddress(address) ? address : LinkEditorState::kNoModule;
}

// The link action dialog's caption: module position, register and bit of the clicked cell.
constexpr int kTextDialogCaption = 10;
// A module box item: name, kind and bus address.
constexpr int kTextModuleItem = 163;

std::string moduleItemText(const Station& station, int32_t address)
{
    const ModuleRecord& module = station.Module(address);
    return FormTextOr("F_Kalmoria_main", kTextModuleItem, "%s1 (%s2) - Adr:%s3",
                      {module.name, module.typeText, std::to_string(int64_t{address} + station.DeviceAddress)});
}

template <std::size_t N>
std::vector<std::string> itemsOf(const std::array<std::string, N>& items)
{
    return {items.begin(), items.end()};
}

std::vector<std::string> groupItemsOf(const SignalGroupSet& groups, Pane pane, const ModuleRecord& module, const GroupLabels& labels)
{
    return pane == Pane::Source ? itemsOf(SourceGroupItems(groups, module, labels)) : itemsOf(TargetGroupItems(module, labels));
}

PaneGroup groupOf(const SignalGroupSet& groups, Pane pane, const ModuleRecord& module, const std::string& item, const GroupLabels& labels)
{
    return pane == Pane::Source ? SourceGroupOf(groups, module, item, labels) : TargetGroupOf(module, item, labels);
}

bool isItem(int item, const std::vector<std::string>& items)
{
    return item >= 0 && static_cast<std::size_t>(item) < items.size();
}

Pane other(Pane pane)
{
    return pane == Pane::Source ? Pane::Target : Pane::Source;
}

EditorChange changed(unsigned parts)
{
    return {parts, 0};
}

} // namespace

EditorChange& EditorChange::operator|=(const EditorChange& other)
{
    parts |= other.parts;
    if (refusal == 0)
        refusal = other.refusal;
    return *this;
}

bool LinkEditorState::CanOpen(const Station& station)
{
    return station.ModulAnzahl > 0;
}

int LinkEditorState::modulePosition(Pane pane) const
{
    const int item = this->pane(pane).moduleItem;
    // The central device heads the ModuleList and is never a target.
    return item < 0 || pane == Pane::Source ? item : item + 1;
}

EditorChange LinkEditorState::Open(const GroupLabels& labels)
{
    m_labels = labels;
    fillModuleItems();
    for (const Pane side : {Pane::Source, Pane::Target})
        at(side).moduleItem = moduleItems(side).empty() ? -1 : 0;

    // Each pane opens at the first register of its group.
    EditorChange change = changed(EditorChange::ModuleItems);
    at(Pane::Source).scroll = 0;
    change |= showModule(Pane::Source);
    at(Pane::Target).scroll = 0;
    change |= showModule(Pane::Target);
    m_takeOverPossible = false;
    return change;
}

void LinkEditorState::fillModuleItems()
{
    for (auto& items : m_moduleItems)
        items.clear();
    const int count = std::clamp(m_station.ModulAnzahl, 0, kModuleListSize);
    for (int position = 0; position < count; ++position) {
        const std::string text = moduleItemText(m_station, moduleAt(m_station, position));
        m_moduleItems[0].push_back(text);
        if (position > 0)
            m_moduleItems[1].push_back(text);
    }
}

EditorChange LinkEditorState::showModule(Pane side)
{
    EditorPane& p = at(side);
    p.module = moduleAt(m_station, modulePosition(side));
    p.moduleName = m_station.Module(p.module).name;
    (side == Pane::Source ? m_selection.modulQ : m_selection.modulZ) = std::max(p.module, 0);
    p.groupItems = groupItemsOf(m_station, side, m_station.Module(p.module), m_labels);
    p.groupItem = 0;
    EditorChange change = changed(EditorChange::Module(side) | EditorChange::Selection);
    change |= showGroup(side);
    return change;
}

EditorChange LinkEditorState::showGroup(Pane side)
{
    EditorPane& p = at(side);
    const ModuleRecord& module = m_station.Module(p.module);
    p.group = groupOf(m_station, side, module, isItem(p.groupItem, p.groupItems) ? p.groupItems[p.groupItem] : "", m_labels);
    p.scroll = std::clamp(p.scroll, 0, std::max(p.group.scrollMaximum, 0));
    EditorChange change = changed(EditorChange::Cells(side) | EditorChange::Selection);
    if (side == Pane::Source) {
        p.cells = SourceCells(p.group, module, p.scroll);
        m_selection.clearSource();
        if (pane(Pane::Target).moduleItem < 0)
            change |= showModule(Pane::Target);
    } else {
        p.cells = TargetCells(p.group, module, p.scroll, m_selection.anzBit);
        m_selection.clearTarget();
        // A target start that is gone can no longer be taken over.
        m_takeOverPossible = false;
        change |= changed(EditorChange::Status);
    }
    change |= drawLinks(side);
    return change;
}

EditorChange LinkEditorState::drawLinks(Pane side)
{
    EditorPane& p = at(side);
    const int32_t source = pane(Pane::Source).module;
    const int32_t target = pane(Pane::Target).module;
    if (side == Pane::Source) {
        p.marks = SourceLinkMarks(m_station, source, target, p.firstVisible());
    } else {
        p.marks = target == kNoModule ? PaneMarks{} : TargetLinkMarks(m_station, source, target, p.firstVisible());
        // A bit a link writes is taken: it can show the link's actions, but take no new link.
        for (std::size_t i = 0; i < p.marks.size(); ++i) {
            if (p.marks[i].text != kNoMark)
                p.cells.cells[i] = {true, CellColour::SkyBlue};
        }
    }
    frameDifferences(side);
    return changed(EditorChange::Marks(side) | (side == Pane::Target ? EditorChange::TargetCells : 0u));
}

void LinkEditorState::frameDifferences(Pane side)
{
    EditorPane& p = at(side);
    p.frames = {};
    if (!m_device.links || p.module == kNoModule)
        return;
    const DifferingBits differing = DifferingLinkBits(m_station.CurrentLinks(), *m_device.links);
    p.frames = FramedCells(side == Pane::Source ? differing.source : differing.target, p.module, p.firstVisible());
}

EditorChange LinkEditorState::ChooseModule(Pane side, int item)
{
    if (!isItem(item, moduleItems(side)))
        return {};
    at(side).moduleItem = item;
    EditorChange change = showModule(side);
    // The letters of the other pane follow the module shown here.
    change |= showGroup(other(side));
    return change;
}

EditorChange LinkEditorState::ChooseGroup(Pane side, int item)
{
    if (!isItem(item, pane(side).groupItems))
        return {};
    at(side).groupItem = item;
    at(side).scroll = 0;
    EditorChange change = changed(EditorChange::Module(side));
    change |= showGroup(side);
    change |= showGroup(other(side));
    return change;
}

EditorChange LinkEditorState::Scroll(Pane side, int32_t position)
{
    at(side).scroll = position;
    EditorChange change = showGroup(side);
    // A source range that is gone leaves no target bit to offer.
    if (side == Pane::Source)
        change |= showGroup(Pane::Target);
    return change;
}

bool LinkEditorState::takesLeftClick(Pane side, int index) const
{
    if (index < 0 || index >= kPaneCells || !pane(side).cells.cells[static_cast<std::size_t>(index)].clickable)
        return false;
    // A target start needs a source range, and a bit no link writes.
    return side == Pane::Source ||
           (m_selection.hasSourceRange() && pane(side).marks[static_cast<std::size_t>(index)].text == kNoMark);
}

bool LinkEditorState::registerLabelTakesLeftClick(Pane side, int row) const
{
    // Only the source pane's register labels choose anything.
    return side == Pane::Source && row >= 0 && row < kPaneRows &&
           pane(side).cells.rowLabels[static_cast<std::size_t>(row)].clickable;
}

EditorChange LinkEditorState::ClickBit(Pane side, int index)
{
    if (!takesLeftClick(side, index))
        return {};
    return side == Pane::Source ? selectSourceBit(index) : selectTargetBit(index);
}

EditorChange LinkEditorState::selectSourceBit(int index)
{
    EditorPane& source = at(Pane::Source);
    const CellAddress clicked = CellAt(Pane::Source, index);
    const int32_t first = source.firstVisible();
    const SourceClick click = ClickSourceBit(m_selection, first + clicked.row, clicked.bit);
    EditorChange change = changed(EditorChange::SourceMarks | EditorChange::Selection | EditorChange::Status);
    if (click == SourceClick::Refuse)
        change.refusal = kMessageSourceRangeNotAllowed;
    // Old marks go, unless a first bit was just chosen on a pane without any.
    if (click != SourceClick::Start)
        change |= drawLinks(Pane::Source);
    MarkSelectedRun(source.marks, m_selection.regQ, m_selection.bitQ, m_selection.anzBit, first);
    change |= showGroup(Pane::Target);
    return change;
}

EditorChange LinkEditorState::selectTargetBit(int index)
{
    EditorPane& target = at(Pane::Target);
    EditorChange change = changed(EditorChange::TargetMarks | EditorChange::Selection);
    if (m_selection.hasTargetStart())
        change |= drawLinks(Pane::Target);
    if (PlaceTargetStart(m_station, m_selection, target.marks, index, target.firstVisible())) {
        // The rejected start stays in the selection, but no mark and no take-over.
        change.refusal = kMessageTargetBitTaken;
        change |= drawLinks(Pane::Target);
        m_takeOverPossible = false;
    } else {
        m_takeOverPossible = m_selection.regZ != 0;
    }
    return change;
}

EditorChange LinkEditorState::ClickRegisterLabel(Pane side, int row)
{
    if (!registerLabelTakesLeftClick(side, row))
        return {};
    EditorPane& source = at(Pane::Source);
    const int32_t first = source.firstVisible();
    EditorChange change = changed(EditorChange::SourceMarks | EditorChange::Selection);
    if (m_selection.hasSourceRange())
        change |= drawLinks(Pane::Source);
    ChooseSourceRegister(m_selection, first + row);
    MarkSelectedRun(source.marks, m_selection.regQ, m_selection.bitQ, m_selection.anzBit, first);
    change |= showGroup(Pane::Target);
    return change;
}

EditorChange LinkEditorState::changeLinks(const StepName& name, const std::function<void()>& change)
{
    ChangeLinks(m_recorder, name, change);
    return changed(EditorChange::Status);
}

EditorChange LinkEditorState::TakeOver()
{
    EditorChange change = changed(EditorChange::Status);
    // A target start over a taken bit is kept in the selection, but is no link.
    if (!m_takeOverPossible || !CanTakeOver(m_selection))
        return change;
    const LinkSelection& s = m_selection;
    bool appended = false;
    change |= changeLinks(LinkStepName(LinkStep::TakeOver, m_station.AnzBefehle + 1),
                          [&] { appended = m_station.AppendLink(s.modulQ, s.regQ, s.bitQ, s.anzBit, s.modulZ, s.regZ, s.bitZ); });
    if (!appended) {
        // Nothing was added: the selection stays for after a clean-up.
        change.refusal = kMessageLinkTableFull;
        return change;
    }
    m_selection.clearSource();
    m_selection.clearTarget();
    change |= drawLinks(Pane::Source);
    // Without a source range no target bit is offered any more.
    change |= showGroup(Pane::Target);
    return change;
}

std::optional<LinkActionOffer> LinkEditorState::LinkActionsAt(Pane side, int index) const
{
    if (index < 0 || index >= kPaneCells)
        return std::nullopt;
    const std::string& mark = pane(side).marks[static_cast<std::size_t>(index)].text;
    if (mark == kNoMark || mark == kSelectionMark)
        return std::nullopt;

    const EditorPane& clicked = pane(side);
    LinkDialogContext context;
    context.clickedCell = CellNumber(side, index);
    context.clickedModule = modulePosition(side);
    context.clickedBaseRegister = clicked.group.baseRegister;
    context.clickedScroll = clicked.scroll;
    context.otherModule = modulePosition(other(side));
    context.otherFirstVisible = pane(other(side)).firstVisible();
    context.result = 0;
    const CellAddress cell = CellAt(side, index);
    const int32_t reg = clicked.firstVisible() + cell.row;
    return LinkActionOffer{context, FormTextOr("F_PDauswahl", kTextDialogCaption, "Auswahl f\xFCr  M:%s1 R:%s2 B:%s3",
                                               {std::to_string(context.clickedModule), std::to_string(reg),
                                                std::to_string(cell.bit)})};
}

EditorChange LinkEditorState::ApplyLinkAction(const LinkDialogContext& answered)
{
    EditorChange change;
    const LinkAction action = DecodeLinkAnswer(m_station, answered);
    switch (action.kind) {
    case LinkActionKind::Delete:
        change |= changeLinks(LinkStepName(LinkStep::Delete, action.linkNumber),
                              [&] { m_station.DeleteLink(action.linkNumber); });
        break;
    case LinkActionKind::Switch: {
        int32_t& deaktiv = m_station.LinkTable[static_cast<std::size_t>(action.linkNumber)].deaktiv;
        const LinkStep step = deaktiv != 0 ? LinkStep::Activate : LinkStep::Deactivate;
        change |= changeLinks(LinkStepName(step, action.linkNumber), [&] { deaktiv = deaktiv != 0 ? 0 : 1; });
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
    // Both panes are drawn again, whatever was chosen, and both selections go.
    change |= changed(EditorChange::SourceModule | EditorChange::TargetModule);
    change |= showGroup(Pane::Source);
    change |= showGroup(Pane::Target);
    return change;
}

CellFacts LinkEditorState::FactsOfCell(Pane side, int index) const
{
    CellFacts facts;
    if (index < 0 || index >= kPaneCells)
        return facts;
    const EditorPane& shown = pane(side);
    const CellAddress cell = CellAt(side, index);
    facts.module = shown.module;
    facts.reg = shown.firstVisible() + cell.row;
    facts.bit = cell.bit;
    facts.selectable = takesLeftClick(side, index);
    facts.selected = shown.marks[static_cast<std::size_t>(index)].text == kSelectionMark;
    const int32_t source = pane(Pane::Source).module;
    const int32_t target = pane(Pane::Target).module;
    if (side == Pane::Source)
        facts.links = SourceLinksOnCell(m_station, source, target, shown.firstVisible(), index);
    else if (target != kNoModule)
        facts.links = TargetLinksOnCell(m_station, source, target, shown.firstVisible(), index);
    return facts;
}

CellFacts LinkEditorState::FactsOfRegisterLabel(Pane side, int row) const
{
    CellFacts facts;
    if (row < 0 || row >= kPaneRows)
        return facts;
    facts.module = pane(side).module;
    facts.reg = pane(side).firstVisible() + row;
    facts.selectable = registerLabelTakesLeftClick(side, row);
    return facts;
}

void LinkEditorState::showSourceEnd(int32_t link)
{
    const LinkRecord& l = m_station.LinkTable[static_cast<std::size_t>(link)];
    if (!IsModuleAddress(l.ModulQ) || m_station.Module(l.ModulQ).present == 0)
        return;
    const int position = m_station.ModuleListPosition(l.ModulQ);
    if (!isItem(position, moduleItems(Pane::Source)))
        return;
    EditorPane& source = at(Pane::Source);
    source.moduleItem = position;
    showModule(Pane::Source);
    const ModuleRecord& module = m_station.Module(source.module);
    const std::vector<std::string> labelLines(m_labels.lines.begin(), m_labels.lines.end());
    source.groupItem = SourceGroupItemFor(m_station, module.iModulKennNr, l.RegVon, source.groupItems, labelLines);
    bringIntoView(Pane::Source, SourceGroupOf(m_station, module, source.groupItems[source.groupItem], m_labels), l.RegVon);
}

void LinkEditorState::showTargetEnd(int32_t link)
{
    const LinkRecord& l = m_station.LinkTable[static_cast<std::size_t>(link)];
    if (!IsModuleAddress(l.ModulZ) || m_station.Module(l.ModulZ).present == 0)
        return;
    const int item = m_station.ModuleListPosition(l.ModulZ) - 1;
    if (!isItem(item, moduleItems(Pane::Target)))
        return;
    EditorPane& target = at(Pane::Target);
    target.moduleItem = item;
    showModule(Pane::Target);
    const std::vector<std::string> labelLines(m_labels.lines.begin(), m_labels.lines.end());
    target.groupItem = TargetGroupItemFor(l.RegZ, target.groupItems, labelLines);
    bringIntoView(Pane::Target,
                  TargetGroupOf(m_station.Module(target.module), target.groupItems[target.groupItem], m_labels), l.RegZ);
}

// Scrolls the least that brings register `reg` of the group into the window.
void LinkEditorState::bringIntoView(Pane side, const PaneGroup& group, int32_t reg)
{
    const int64_t offset = int64_t{reg} - group.baseRegister;
    int64_t position = pane(side).scroll;
    if (offset < position)
        position = offset;
    else if (offset >= position + kPaneRows)
        position = offset - kPaneRows + 1;
    at(side).scroll = static_cast<int32_t>(std::clamp<int64_t>(position, 0, std::max(group.scrollMaximum, 0)));
}

EditorChange LinkEditorState::ShowSourceModuleAt(int position)
{
    if (!isOpen())
        return {};
    return ChooseModule(Pane::Source, std::clamp(position, 0, static_cast<int>(moduleItems(Pane::Source).size()) - 1));
}

EditorChange LinkEditorState::ShowLinksAgain()
{
    // An editor not yet opened draws the links when it is.
    if (!isOpen())
        return {};
    EditorChange change = showGroup(Pane::Source);
    change |= showGroup(Pane::Target);
    return change;
}

EditorChange LinkEditorState::Relabel(const GroupLabels& labels)
{
    m_labels = labels;
    if (!isOpen())
        return {};
    // The module items name the address in the language's words too; the
    // same modules stay chosen.
    fillModuleItems();
    for (const Pane side : {Pane::Source, Pane::Target})
        at(side).groupItems = groupItemsOf(m_station, side, m_station.Module(pane(side).module), m_labels);
    return changed(EditorChange::ModuleItems | EditorChange::SourceModule | EditorChange::TargetModule);
}

EditorChange LinkEditorState::ShowComparison(const ComparedDeviceLinks& device)
{
    m_device = device;
    frameDifferences(Pane::Source);
    frameDifferences(Pane::Target);
    return changed(EditorChange::SourceMarks | EditorChange::TargetMarks);
}
