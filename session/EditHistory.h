// The undo history of the open document: the steps done, the place of the
// last one, and the place the document was last saved at, so that the
// modified state follows the history.
#pragma once

#include "model/DocumentFile.h"
#include "session/SessionListener.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace tavimor {

// One change of the document that can be undone and done again. Each side
// changes the document and says what it changed.
struct EditStep {
    std::string Name; // "la suppression de la question 3", completes "Annuler ..."
    std::function<SessionChange(TQuizDocument&)> Redo;
    std::function<SessionChange(TQuizDocument&)> Undo;
    // Steps with the same key that follow each other (a box whose every
    // change is stored as it is typed) make one step; empty: never merged.
    std::string MergeKey = {};
};

class EditHistory {
public:
    // The oldest steps are forgotten beyond this depth.
    static constexpr std::size_t kDepth = 500;

    // Records a step whose change is already made; the steps undone before
    // it cannot be redone any more. A step that continues the last one (same
    // merge key, nothing undone or saved in between) joins it.
    void Record(EditStep step);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The name of the step Undo or Redo would take back or do again; empty when none.
    std::string UndoName() const;
    std::string RedoName() const;
    SessionChange Undo(TQuizDocument& doc);
    SessionChange Redo(TQuizDocument& doc);

    // The document as it is now is the one on disk.
    void MarkSaved() { saved_ = done_; }
    bool IsModified() const { return saved_ != done_; }

    // A new document: no step, as saved when onDisk.
    void Clear(bool onDisk);

private:
    std::deque<EditStep> steps_;
    std::size_t done_ = 0;
    std::optional<std::size_t> saved_ = 0;
};

} // namespace tavimor
