#pragma once

#include "editor/rules/LinkChangeRecorder.h"

#include <QObject>
#include <QUndoStack>

#include <functional>
#include <string>

// The steps that changed the link table (a take-over, a delete, a switch, a
// file or device read), so that each can be taken back and made again. A
// write to the device changes no link and is no step: it stays done.
struct Station;

class LinkHistory : public QObject, public LinkChangeRecorder {
    Q_OBJECT
public:
    // More than a working day of edits; each step holds the table twice.
    static constexpr int kStepLimit = 200;

    // The steps change the links of `station`.
    explicit LinkHistory(Station& station, QObject* parent = nullptr);
    // Says nothing more: the window listening may be half gone already.
    ~LinkHistory() override;

    // Runs `change`; when it changed the link table, the change becomes the
    // newest step, named `name`, and the steps undone before it are gone.
    void Record(const StepName& name, const std::function<void()>& change) override;

    bool CanUndo() const;
    bool CanRedo() const;
    // Names of the steps Undo and Redo would take, in the language shown now;
    // empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;
    int StepCount() const;

    void Undo();
    void Redo();

signals:
    // The steps or their names changed.
    void changed();
    // An undo or redo put other links into the table.
    void linksPutBack();

private:
    Station& m_station;
    QUndoStack m_steps;
};
