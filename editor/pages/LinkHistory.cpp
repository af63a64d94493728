#include "editor/pages/LinkHistory.h"

#include "diag/AnsiText.h"
#include "model/LinkTableState.h"

#include <QUndoCommand>

#include <utility>

namespace {

class LinkStep : public QUndoCommand {
public:
    LinkStep(Station& station, StepName name, LinkTableState before, LinkTableState after,
             std::function<void()> putBack)
        : QUndoCommand(ansiToQString(name()))
        , m_station(station)
        , m_name(std::move(name))
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_putBack(std::move(putBack))
    {
    }

    void undo() override
    {
        RestoreLinkTable(m_station, m_after, m_before);
        m_putBack();
    }

    void redo() override
    {
        // The step was carried out before it was recorded.
        if (m_recording) {
            m_recording = false;
            return;
        }
        RestoreLinkTable(m_station, m_before, m_after);
        m_putBack();
    }

    std::string name() const { return m_name(); }

private:
    Station& m_station;
    StepName m_name;
    LinkTableState m_before;
    LinkTableState m_after;
    std::function<void()> m_putBack;
    bool m_recording = true;
};

bool sameState(const LinkTableState& a, const LinkTableState& b)
{
    return SameLinks(a.links, b.links) && a.origin == b.origin && a.kept.number == b.kept.number;
}

// The name of the step at `index` of `steps` in today's words; empty where there is none.
std::string stepName(const QUndoStack& steps, int index)
{
    const auto* step = dynamic_cast<const LinkStep*>(steps.command(index));
    return step != nullptr ? step->name() : std::string();
}

} // namespace

LinkHistory::LinkHistory(Station& station, QObject* parent)
    : QObject(parent)
    , m_station(station)
{
    m_steps.setUndoLimit(kStepLimit);
    // At the limit a new step drops the oldest and the index stays: the names change.
    connect(&m_steps, &QUndoStack::indexChanged, this, &LinkHistory::changed);
    connect(&m_steps, &QUndoStack::undoTextChanged, this, &LinkHistory::changed);
    connect(&m_steps, &QUndoStack::redoTextChanged, this, &LinkHistory::changed);
}

LinkHistory::~LinkHistory()
{
    // The steps, cleared as they go, would announce an empty history.
    m_steps.disconnect(this);
}

void LinkHistory::Record(const StepName& name, const std::function<void()>& change)
{
    LinkTableState before = CaptureLinkTable(m_station);
    change();
    LinkTableState after = CaptureLinkTable(m_station);
    if (sameState(before, after))
        return;
    m_steps.push(new LinkStep(m_station, name, std::move(before), std::move(after), [this] { emit linksPutBack(); }));
}

bool LinkHistory::CanUndo() const
{
    return m_steps.canUndo();
}

bool LinkHistory::CanRedo() const
{
    return m_steps.canRedo();
}

std::string LinkHistory::UndoName() const
{
    return stepName(m_steps, m_steps.index() - 1);
}

std::string LinkHistory::RedoName() const
{
    return stepName(m_steps, m_steps.index());
}

int LinkHistory::StepCount() const
{
    return m_steps.count();
}

void LinkHistory::Undo()
{
    m_steps.undo();
}

void LinkHistory::Redo()
{
    m_steps.redo();
}
