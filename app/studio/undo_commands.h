// The steps of the window's history. A step is recorded after its change has
// happened, so that every way of changing the scene (the plug-in's rollout, the
// viewport, the panels, the files) lands in the history alike: undo and redo put
// the scene into the state before or after.
#pragma once

#include <QUndoCommand>
#include <chrono>
#include <functional>

#include "app/studio/studio_state.h"

class StateChangeCommand : public QUndoCommand {
public:
    using Apply = std::function<void(const StudioState&)>;
    StateChangeCommand(const ChangeDescription& description, StudioState before, StudioState after,
                       Apply apply);

    void undo() override;
    // Does nothing the first time: QUndoStack::push calls it for a change that has
    // already happened.
    void redo() override;
    // Gradual steps of the same text, each within a moment of the last, join into
    // one; a join that ends where it began leaves the history.
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

    const StudioState& Before() const { return before; }
    const StudioState& After() const { return after; }

private:
    StudioState before, after;
    Apply apply;
    bool gradual;
    bool done = true;
    std::chrono::steady_clock::time_point recorded;
};
