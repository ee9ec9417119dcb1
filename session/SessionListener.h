// How the session tells its front ends what changed: one small interface
// that the editor's bridge and the tests implement.
#pragma once

namespace tavimor {

// One change of the open document, by an edit, an undo or redo, or a new
// document taking its place.
struct SessionChange {
    enum class Part {
        Document, // the whole document was replaced (new, open, import)
        Question, // one question changed in place
        QuestionList, // questions were added, removed or moved
        Header, // identity and quiz options
        Messages, // a generic bank (Index: its side) with the questions' indexes, or the no-answer message (-1)
        Pages, // one page text
        Layout, // layout flags and image names
        Style, // style preferences
    };
    Part What = Part::Document;
    // Question: the question changed. QuestionList: the question to show
    // after the change (0 when none is left). Pages: the page.
    int Index = 0;

    bool operator==(const SessionChange&) const = default;
};

class SessionListener {
public:
    virtual ~SessionListener() = default;
    virtual void DocumentChanged(const SessionChange& change) = 0;
    // The file name, the modified state or what can be undone or redone changed.
    virtual void StateChanged() { }
};

} // namespace tavimor
