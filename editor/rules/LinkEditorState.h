#pragma once

// The link editor as the user works it, without a widget: which module and
// group each pane shows and how far it is scrolled, what its cells offer and
// show, the link being put together (the seven values of the selection
// labels) and whether it can be taken over. The user's operations change it
// and say what changed; the page only shows it, the undo history redraws it,
// and tests click it directly.
//
// A pane's selection goes with every redraw of that pane, and a new source
// range also drops the target start: a link is made from a source range, a
// target start and the take-over, one after the other.

#include "editor/rules/ComparisonFrames.h"
#include "editor/rules/EditorGroups.h"
#include "editor/rules/LinkChangeRecorder.h"
#include "editor/rules/LinkDialogContext.h"
#include "editor/rules/LinkMarks.h"
#include "editor/rules/LinkSelection.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What an operation changed, so that a view repaints only that, and the
// numbered message that tells why a click was refused.
struct EditorChange {
    enum Part : unsigned {
        ModuleItems = 1u << 0,  // both module lists
        SourceModule = 1u << 1, // chosen module, its name, its groups and the chosen group
        SourceCells = 1u << 2,  // scroll range and position, column order, colours, row labels
        SourceMarks = 1u << 3,  // cell texts, fonts and comparison frames
        TargetModule = 1u << 4,
        TargetCells = 1u << 5,
        TargetMarks = 1u << 6,
        Selection = 1u << 7, // the selection values and whether a take-over is possible
        Status = 1u << 8,    // the status bar (the number of links)
    };
    static Part Module(Pane pane) { return pane == Pane::Source ? SourceModule : TargetModule; }
    static Part Cells(Pane pane) { return pane == Pane::Source ? SourceCells : TargetCells; }
    static Part Marks(Pane pane) { return pane == Pane::Source ? SourceMarks : TargetMarks; }

    unsigned parts = 0;
    int refusal = 0; // message number; 0: nothing refused

    bool has(Part part) const { return (parts & part) != 0; }
    EditorChange& operator|=(const EditorChange& other);
};

// One pane as it stands.
struct EditorPane {
    int moduleItem = -1;           // chosen item of the pane's module list; -1: none
    int32_t module = -1;           // its module address; -1: none
    std::string moduleName;
    std::vector<std::string> groupItems;
    int groupItem = 0;
    PaneGroup group;               // what the chosen group item names
    int32_t scroll = 0;            // registers between the group's base and the first visible row
    PaneCells cells;
    PaneMarks marks;
    PaneFrames frames{};           // bits of links that differ from the device

    int32_t firstVisible() const { return group.baseRegister + scroll; }
};

// The link action dialog for a right-clicked cell: what it is told and its caption.
struct LinkActionOffer {
    LinkDialogContext context;
    std::string caption;
};

// What a bit cell or register label stands for, for whoever cannot see it:
// where it is, whether a left click does something there, and the links on it.
struct CellFacts {
    int32_t module = -1; // the pane's module address; -1: none
    int32_t reg = 0;
    int bit = -1;        // -1: the register label
    bool selectable = false;
    bool selected = false; // part of the link being put together
    std::vector<LinkOnCell> links;
};

struct Station;

class LinkEditorState {
public:
    static constexpr int32_t kNoModule = -1;

    // The editor works on `station`'s modules, signal groups and links.
    explicit LinkEditorState(Station& station)
        : m_station(station)
    {
    }

    // Take-overs, deletes and switches go to `recorder` as named steps; none: just done.
    void useRecorder(LinkChangeRecorder* recorder) { m_recorder = recorder; }

    // Whether the station has modules to link: without, the editor does not open.
    static bool CanOpen(const Station& station);
    bool isOpen() const { return !m_moduleItems[0].empty(); }
    // Both module lists rebuilt, the first module of each shown from the start
    // of its first group. `labels` (group labels 1..20 of the active language)
    // name the fixed groups.
    EditorChange Open(const GroupLabels& labels);
    // Module list item `item` of a pane; the other pane is drawn again for its letters.
    EditorChange ChooseModule(Pane pane, int item);
    // Group item `item` of a pane, shown from its first register.
    EditorChange ChooseGroup(Pane pane, int item);
    // The pane's window moved to `position` registers into its group.
    EditorChange Scroll(Pane pane, int32_t position);
    // A left click on cell 0..159 of a pane: a source range grows, a target start is placed.
    EditorChange ClickBit(Pane pane, int index);
    // A left click on row label 0..9: on the source pane, its whole register is the range.
    EditorChange ClickRegisterLabel(Pane pane, int row);
    // "übernehmen": the selection becomes a new, inactive link.
    EditorChange TakeOver();
    // The link action dialog for cell 0..159 of a pane; nothing when no link lies on it.
    std::optional<LinkActionOffer> LinkActionsAt(Pane pane, int index) const;
    // Carries out the dialog's answer in `answered.result`; both panes are drawn again.
    EditorChange ApplyLinkAction(const LinkDialogContext& answered);
    // Cell 0..159 and register label 0..9 of a pane, told in facts; what the
    // pane shows there and what a left click on it would do.
    CellFacts FactsOfCell(Pane pane, int index) const;
    CellFacts FactsOfRegisterLabel(Pane pane, int row) const;
    // The module at ModuleList position `position` as the source; nothing before opening.
    EditorChange ShowSourceModuleAt(int position);
    // The link table changed under the editor (an undo): both panes drawn again.
    EditorChange ShowLinksAgain();
    // Group names in another language; what is chosen and drawn stays.
    EditorChange Relabel(const GroupLabels& labels);
    // From now on the bits of links that differ from these device links are framed.
    EditorChange ShowComparison(const ComparedDeviceLinks& device);

    const std::vector<std::string>& moduleItems(Pane pane) const { return m_moduleItems[index(pane)]; }
    const EditorPane& pane(Pane pane) const { return m_panes[index(pane)]; }
    const LinkSelection& selection() const { return m_selection; }
    bool takeOverPossible() const { return m_takeOverPossible; }
    const GroupLabels& groupLabels() const { return m_labels; }

private:
    static std::size_t index(Pane pane) { return pane == Pane::Source ? 0 : 1; }
    EditorPane& at(Pane pane) { return m_panes[index(pane)]; }
    int modulePosition(Pane pane) const;
    // Whether a left click on cell 0..159 of a pane selects anything.
    bool takesLeftClick(Pane pane, int index) const;
    bool registerLabelTakesLeftClick(Pane pane, int row) const;

    // The page operations each click runs: a module or group shown anew
    // drops that pane's selection and draws its links.
    EditorChange showModule(Pane pane);
    // The module boxes' items, in the current language.
    void fillModuleItems();
    EditorChange showGroup(Pane pane);
    EditorChange drawLinks(Pane pane);
    void frameDifferences(Pane pane);
    EditorChange selectSourceBit(int index);
    EditorChange selectTargetBit(int index);
    EditorChange changeLinks(const StepName& name, const std::function<void()>& change);
    void showSourceEnd(int32_t link);
    void showTargetEnd(int32_t link);
    void bringIntoView(Pane pane, const PaneGroup& group, int32_t reg);

    Station& m_station;
    GroupLabels m_labels;
    LinkChangeRecorder* m_recorder = nullptr;
    std::array<std::vector<std::string>, 2> m_moduleItems;
    std::array<EditorPane, 2> m_panes;
    LinkSelection m_selection;
    bool m_takeOverPossible = false;
    ComparedDeviceLinks m_device; // of the last comparison
};
