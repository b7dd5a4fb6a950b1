#include "ui/edit_step.h"

#include <utility>

#include "ui/archive_session.h"

namespace {

// The one kind of step of the history: steps of any content may merge, as mergeWith decides.
constexpr int kEditStepId = 1;

}  // namespace

TEditStep::TEditStep(TArchiveSession& session, Place place, std::vector<TextChange> texts,
                     std::vector<WindowChange> windows, Typing typing)
    : session_(session),
      place_(place),
      texts_(std::move(texts)),
      windows_(std::move(windows)),
      typing_(typing) {}

int TEditStep::id() const { return kEditStepId; }

bool TEditStep::mergeWith(const QUndoCommand* other) {
    const auto& next = static_cast<const TEditStep&>(*other);
    if (typing_ == Typing::No || next.typing_ != Typing::Continues || texts_.size() != 1 ||
        next.texts_.size() != 1 || !windows_.empty() || !next.windows_.empty()) {
        return false;
    }
    TextChange& mine = texts_.front();
    const TextChange& theirs = next.texts_.front();
    if (mine.subFile != theirs.subFile || mine.text != theirs.text) return false;
    mine.after = theirs.after;
    setObsolete(mine.before == mine.after);
    return true;
}

void TEditStep::undo() { session_.applyStep(*this, false); }

void TEditStep::redo() {
    if (applied_) {
        applied_ = false;
        return;
    }
    session_.applyStep(*this, true);
}
