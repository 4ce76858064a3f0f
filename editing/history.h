// The history of edits that Undo and Redo walk: each step holds the text
// an edit removed and the text it inserted where it was made, never a
// copy of the document. Platform-free.
#ifndef PENRIK_HISTORY_H
#define PENRIK_HISTORY_H

#include <stddef.h>

// What kind of edit a step is, for joining the edits a user counts as one.
enum EditKind {
    EDIT_TYPING,     // typed characters: a run of them is one step
    EDIT_BACKSPACE,  // a run of Backspaces is one step
    EDIT_DELETE,     // a run of Deletes is one step
    EDIT_NEW_LINE,   // Enter: one step with the indentation that follows it
    EDIT_INDENT,     // the indentation Enter brings, joined to it
    EDIT_OTHER,      // a paste, a cut, a replacement...: a step of its own
};

// One edit: at `at`, `removed` was replaced by `inserted` (characters).
// Each text is followed by a zero; an empty one may be null.
struct EditStep {
    size_t at;
    char16_t* removed;
    size_t removedLength;
    char16_t* inserted;
    size_t insertedLength;
    EditKind kind;
    EditStep* older;
    EditStep* newer;
};

// How much a history keeps: the newest steps while their text fits
// `maxBytes`, and never more than `maxSteps` of them.
struct HistoryLimits {
    size_t maxSteps;
    size_t maxBytes;
};
const HistoryLimits DEFAULT_HISTORY_LIMITS = {100000, 64u << 20};

// The memory the history takes its steps from; the default is malloc.
struct HistoryMemory {
    void* (*allocate)(size_t bytes);
    void (*release)(void* block);
};

class EditHistory {
public:
    explicit EditHistory(HistoryLimits limits = DEFAULT_HISTORY_LIMITS, HistoryMemory memory = {nullptr, nullptr});
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // A new text (loaded, new, a fresh control): nothing to undo or redo,
    // and it is the saved text.
    void Clear();

    // An edit was made. It joins the newest step when it continues that
    // step's run; anything that could be redone is dropped. False when
    // memory ran short: the history is then empty (the edit stands).
    bool Record(size_t at, const char16_t* removed, size_t removedLength, const char16_t* inserted,
                size_t insertedLength, EditKind kind);
    // The caret moved, or a command ran: the next edit starts a new step.
    void EndRun();
    // The text changed in a way no step holds: nothing can be undone, and
    // the saved text is out of reach.
    void LoseTrack();

    // The step that Undo takes back (to be applied as: at `at`, replace
    // `inserted` by `removed`), or null at the oldest text; the history
    // then stands before it.
    const EditStep* Undo();
    // The step that Redo makes again (at `at`, replace `removed` by
    // `inserted`), or null when nothing was undone.
    const EditStep* Redo();
    bool CanUndo() const { return current_ != nullptr; }
    bool CanRedo() const { return NextToRedo() != nullptr; }

    // The text now is the saved one; and whether it is.
    void MarkSaved();
    bool AtSavedText() const;

    size_t Steps() const { return steps_; }
    size_t Bytes() const { return bytes_; }

private:
    EditStep* NextToRedo() const;
    void DropNewerThanCurrent();
    void DropOldest();
    void Free(EditStep* step);
    bool Joins(const EditStep& last, size_t at, size_t removedLength, size_t insertedLength, EditKind kind) const;
    bool Append(char16_t** text, size_t* length, const char16_t* more, size_t moreLength, bool atFront);

    HistoryLimits limits_;
    HistoryMemory memory_;
    EditStep* oldest_ = nullptr;
    EditStep* newest_ = nullptr;
    EditStep* current_ = nullptr;  // the newest step not undone; null: before every step
    bool runOpen_ = false;         // the newest step may still grow
    size_t steps_ = 0;
    size_t bytes_ = 0;
    // Where the saved text stands: before `saved_` was taken (null: before
    // every kept step), unless the saved text is out of reach.
    const EditStep* saved_ = nullptr;
    bool savedReachable_ = true;
};

#endif
