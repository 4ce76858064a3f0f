#include "editing/history.h"

#include <stdlib.h>
#include <string.h>

static void* DefaultAllocate(size_t bytes) { return malloc(bytes); }
static void DefaultRelease(void* block) { free(block); }

EditHistory::EditHistory(HistoryLimits limits, HistoryMemory memory) : limits_(limits), memory_(memory)
{
    if (memory_.allocate == nullptr || memory_.release == nullptr)
        memory_ = {DefaultAllocate, DefaultRelease};
}

EditHistory::~EditHistory() { Clear(); }

void EditHistory::Free(EditStep* step)
{
    bytes_ -= (step->removedLength + step->insertedLength) * sizeof(char16_t);
    --steps_;
    memory_.release(step->removed);
    memory_.release(step->inserted);
    memory_.release(step);
}

void EditHistory::Clear()
{
    while (oldest_ != nullptr) {
        EditStep* next = oldest_->newer;
        Free(oldest_);
        oldest_ = next;
    }
    newest_ = current_ = nullptr;
    runOpen_ = false;
    saved_ = nullptr;
    savedReachable_ = true;
}

EditStep* EditHistory::NextToRedo() const { return current_ != nullptr ? current_->newer : oldest_; }

void EditHistory::DropNewerThanCurrent()
{
    for (EditStep* step = NextToRedo(); step != nullptr;) {
        EditStep* next = step->newer;
        if (step == saved_)
            savedReachable_ = false;
        Free(step);
        step = next;
    }
    newest_ = current_;
    if (current_ != nullptr)
        current_->newer = nullptr;
    else
        oldest_ = nullptr;
}

void EditHistory::DropOldest()
{
    EditStep* gone = oldest_;
    oldest_ = gone->newer;
    if (oldest_ != nullptr)
        oldest_->older = nullptr;
    else
        newest_ = nullptr;
    if (current_ == gone)
        current_ = nullptr;
    // The text before the oldest step is out of reach now; the text
    // after it is the one before the new oldest.
    if (saved_ == nullptr)
        savedReachable_ = false;
    else if (saved_ == gone)
        saved_ = nullptr;
    Free(gone);
}

bool EditHistory::Joins(const EditStep& last, size_t at, size_t removedLength, size_t insertedLength,
                        EditKind kind) const
{
    if (!runOpen_ || &last != current_)
        return false;
    switch (kind) {
    case EDIT_TYPING:
        return last.kind == EDIT_TYPING && removedLength == 0 && at == last.at + last.insertedLength;
    case EDIT_BACKSPACE:
        return last.kind == EDIT_BACKSPACE && insertedLength == 0 && at + removedLength == last.at;
    case EDIT_DELETE:
        return last.kind == EDIT_DELETE && insertedLength == 0 && at == last.at;
    case EDIT_INDENT:
        return last.kind == EDIT_NEW_LINE && removedLength == 0 && at == last.at + last.insertedLength;
    default:
        return false;
    }
}

bool EditHistory::Append(char16_t** text, size_t* length, const char16_t* more, size_t moreLength, bool atFront)
{
    if (moreLength == 0)
        return true;
    size_t total = *length + moreLength;
    // One more for the zero that ends it, so that it can be handed on as it is.
    char16_t* joined = (char16_t*)memory_.allocate((total + 1) * sizeof(char16_t));
    if (joined == nullptr)
        return false;
    char16_t* old = *text;
    if (atFront) {
        memcpy(joined, more, moreLength * sizeof(char16_t));
        if (*length > 0)
            memcpy(joined + moreLength, old, *length * sizeof(char16_t));
    } else {
        if (*length > 0)
            memcpy(joined, old, *length * sizeof(char16_t));
        memcpy(joined + *length, more, moreLength * sizeof(char16_t));
    }
    joined[total] = 0;
    memory_.release(old);
    *text = joined;
    *length = total;
    bytes_ += moreLength * sizeof(char16_t);
    return true;
}

bool EditHistory::Record(size_t at, const char16_t* removed, size_t removedLength, const char16_t* inserted,
                         size_t insertedLength, EditKind kind)
{
    if (removedLength == 0 && insertedLength == 0)
        return true;
    DropNewerThanCurrent();
    bool made = true;
    if (current_ != nullptr && Joins(*current_, at, removedLength, insertedLength, kind)) {
        EditStep& last = *current_;
        if (kind == EDIT_BACKSPACE) {
            made = Append(&last.removed, &last.removedLength, removed, removedLength, true);
            last.at = at;
        } else {
            made = Append(&last.removed, &last.removedLength, removed, removedLength, false) &&
                   Append(&last.inserted, &last.insertedLength, inserted, insertedLength, false);
        }
    } else {
        EditStep* step = (EditStep*)memory_.allocate(sizeof(EditStep));
        made = step != nullptr;
        if (made) {
            *step = EditStep{at, nullptr, 0, nullptr, 0, kind, current_, nullptr};
            ++steps_;
            // Linked first, so that a failure below frees it with the rest.
            if (current_ != nullptr)
                current_->newer = step;
            else
                oldest_ = step;
            newest_ = current_ = step;
            made = Append(&step->removed, &step->removedLength, removed, removedLength, false) &&
                   Append(&step->inserted, &step->insertedLength, inserted, insertedLength, false);
        }
    }
    if (!made) {
        // The edit stands; no step of it can be undone, nor any before it.
        LoseTrack();
        return false;
    }
    // Enter opens a step its indentation joins; typing after the
    // indentation is a new run.
    runOpen_ = kind != EDIT_OTHER && kind != EDIT_INDENT;
    while (steps_ > 1 && (steps_ > limits_.maxSteps || bytes_ > limits_.maxBytes))
        DropOldest();
    return true;
}

void EditHistory::EndRun() { runOpen_ = false; }

void EditHistory::LoseTrack()
{
    Clear();
    savedReachable_ = false;
}

const EditStep* EditHistory::Undo()
{
    runOpen_ = false;
    if (current_ == nullptr)
        return nullptr;
    const EditStep* step = current_;
    current_ = current_->older;
    return step;
}

const EditStep* EditHistory::Redo()
{
    runOpen_ = false;
    EditStep* step = NextToRedo();
    if (step != nullptr)
        current_ = step;
    return step;
}

void EditHistory::MarkSaved()
{
    saved_ = current_;
    savedReachable_ = true;
    runOpen_ = false;
}

bool EditHistory::AtSavedText() const { return savedReachable_ && saved_ == current_; }
