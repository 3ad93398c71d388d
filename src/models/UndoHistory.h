#pragma once
// Undo and redo over whole snapshots of an editor's state: before a change the editor records
// the state as it was; undo hands back the newest such state and keeps the current one for
// redo. Snapshots keep the editors simple (no inverse of every command) at the price of a copy
// per change, which the depth bounds.
#include <cstddef>
#include <deque>
#include <optional>
#include <utility>

namespace umbrix {

template <class State>
class UndoHistory {
  public:
    explicit UndoHistory(std::size_t depth) : depth_(depth) {}

    std::size_t depth() const { return depth_; }
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }

    // The state before a change. A new change makes what was undone unreachable, so the redo
    // steps go; beyond the depth the oldest step goes.
    void record(State before) {
        redo_.clear();
        undo_.push_back(std::move(before));
        if (undo_.size() > depth_) undo_.pop_front();
    }

    // The state to restore, with `current` kept for redo; nothing when there is none.
    std::optional<State> undo(State current) { return step(undo_, redo_, std::move(current)); }
    std::optional<State> redo(State current) { return step(redo_, undo_, std::move(current)); }

    void clear() {
        undo_.clear();
        redo_.clear();
    }

  private:
    std::optional<State> step(std::deque<State>& from, std::deque<State>& to, State current) {
        if (from.empty()) return std::nullopt;
        State restored = std::move(from.back());
        from.pop_back();
        to.push_back(std::move(current));
        if (to.size() > depth_) to.pop_front();
        return restored;
    }

    std::size_t depth_;
    std::deque<State> undo_;
    std::deque<State> redo_;
};

}  // namespace umbrix
