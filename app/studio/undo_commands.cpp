#include "app/studio/undo_commands.h"

namespace {

// Steps of a spinner held down or a value typed digit by digit come faster than this.
const std::chrono::milliseconds kJoinWithin(1000);
const int kGradualId = 1;

}  // namespace

StateChangeCommand::StateChangeCommand(const ChangeDescription& description, StudioState before,
                                       StudioState after, Apply apply)
    : QUndoCommand(QString::fromStdString(description.text)),
      before(std::move(before)),
      after(std::move(after)),
      apply(std::move(apply)),
      gradual(description.gradual),
      recorded(std::chrono::steady_clock::now()) {}

void StateChangeCommand::undo() {
    apply(before);
    done = false;
}

void StateChangeCommand::redo() {
    if (!done)
        apply(after);
    done = true;
}

int StateChangeCommand::id() const {
    return gradual ? kGradualId : -1;
}

bool StateChangeCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const StateChangeCommand*>(other);
    if (next->text() != text() || next->recorded - recorded > kJoinWithin)
        return false;
    after = next->after;
    recorded = next->recorded;
    setObsolete(before == after);
    return true;
}
