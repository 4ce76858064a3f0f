// Undo and Redo. The control's own undo holds one edit; the editor keeps
// every edit instead. Each message that changes the text is seen on its
// way into the control (editor_proc.cpp): the text it may remove is read
// before it, the text it inserted after it, and both go into one history.
#include "editing/undo.h"

#include <string.h>

#include "base/process.h"
#include "base/syscalls.h"
#include "document/document.h"
#include "editing/editing.h"
#include "editing/history.h"
#include "editing/control_text.h"
#include "editing/typing.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the control's characters are 16 bits");

static void* TakeMemory(size_t bytes) { return Sys.LocalAlloc(LMEM_FIXED, bytes); }
static void GiveMemory(void* block) { LocalFree(block); }

static EditHistory History(DEFAULT_HISTORY_LIMITS, HistoryMemory{TakeMemory, GiveMemory});

// Room for what a typed key inserts: the character, or Enter's line
// break and the indentation that follows it.
#define EXPECTED_SIZE 256

// One edit on its way into the control.
struct Recording {
    DWORD start, end, length;  // the selection and the text's length before it
    DWORD windowStart;         // the characters it may remove, read before it
    wchar_t* window;
    DWORD windowEnd;
    wchar_t expected[EXPECTED_SIZE];  // what it inserts, while known
    size_t expectedLength;
    bool expectedKnown;
};

static WNDPROC ControlProc;  // the Edit class's own procedure

void KeepControlProc(WNDPROC own) { ControlProc = own; }

LRESULT CallControl(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(ControlProc, edit, msg, wParam, lParam);
}

static struct {
    Recording* recording;  // the edit under way, or null
    unsigned long seen;    // the control's change notifications the history accounts for
    unsigned long groupStart;  // and their count when a group began
    bool groupChanged;     // a group's text changed without a notification
    bool applying;         // Undo or Redo is changing the text
    int grouped;           // edits that are to be one step are under way
    wchar_t* before;       // the whole text when they began (null: no room)
    DWORD beforeLength;
    bool reloadPending;    // the next new text may be the same text again
    unsigned long long reloadHash;
} Undo;

void ResetUndo(void)
{
    History.Clear();
    if (Undo.before != NULL)
        LocalFree(Undo.before);
    Undo.recording = NULL;
    Undo.seen = TextChanges();
    Undo.applying = false;
    Undo.grouped = 0;
    Undo.before = NULL;
    Undo.reloadPending = false;
}

size_t UndoHistoryBytes(void) { return History.Bytes(); }
bool CanUndo(void) { return History.CanUndo(); }
bool CanRedo(void) { return History.CanRedo(); }

void EndEditRun(void)
{
    if (Undo.recording == NULL)
        History.EndRun();
}

void ForgetHistory(void)
{
    History.Clear();
    Undo.reloadPending = false;
}

static DWORD TextLength(HWND edit) { return (DWORD)CallControl(edit, WM_GETTEXTLENGTH, 0, 0); }

/* Recording */

// Whatever the document last loaded or saved is the text now, when it
// has no unsaved changes; and a reload that did not come makes the old
// history meaningless.
static void SyncSaved(void)
{
    if (TextChanges() != Undo.seen) {
        // The text changed without a message that could be recorded: the
        // history no longer matches it.
        History.LoseTrack();
        Undo.reloadPending = false;
        Undo.seen = TextChanges();
    }
    if (Undo.reloadPending) {
        Undo.reloadPending = false;
        History.Clear();
    }
    if (!Modified())
        History.MarkSaved();
}

// The edit that turned `old` into `now`, as one step: the text between
// their common start and their common end.
static void RecordDifference(const wchar_t* old, size_t oldLength, const wchar_t* now, size_t nowLength, EditKind kind)
{
    size_t head = 0;
    while (head < oldLength && head < nowLength && old[head] == now[head])
        ++head;
    size_t tail = 0;
    while (tail < oldLength - head && tail < nowLength - head &&
           old[oldLength - 1 - tail] == now[nowLength - 1 - tail])
        ++tail;
    History.Record(head, (const char16_t*)old + head, oldLength - head - tail, (const char16_t*)now + head,
                   nowLength - head - tail, kind);
}

// The edit is over: what it removed lies in its window, and what it
// inserted ends at the caret.
static void KeepEdit(HWND edit, const Recording& r, EditKind kind)
{
    DWORD caret = 0;
    CallControl(edit, EM_GETSEL, 0, (LPARAM)&caret);
    DWORD length = TextLength(edit);
    DWORD at = r.start < caret ? r.start : caret;
    if (kind == EDIT_BACKSPACE && r.window != NULL && at > r.windowStart) {
        // What Backspace removes lies before the caret, and indentation
        // may take its place: the edit starts where the texts part.
        wchar_t* now = ReadControlText(edit, r.windowStart, at);
        if (now == NULL) {
            History.LoseTrack();
            return;
        }
        DWORD same = 0;
        while (r.windowStart + same < at && now[same] == r.window[same])
            ++same;
        at = r.windowStart + same;
        FreeControlText(now);
    }
    long long removedEnd = (long long)caret + r.length - length;
    if (r.window == NULL || removedEnd < at || at < r.windowStart || removedEnd > r.windowEnd) {
        // Not an edit that can be told from here: the history cannot be trusted.
        History.LoseTrack();
        return;
    }
    size_t insertedLength = caret - at;
    const wchar_t* inserted = r.expected;
    wchar_t* read = NULL;
    if (!r.expectedKnown || r.expectedLength != insertedLength) {
        read = ReadControlText(edit, at, caret);
        if (read == NULL) {
            History.LoseTrack();
            return;
        }
        inserted = read;
    }
    History.Record(at, (const char16_t*)r.window + (at - r.windowStart), (size_t)(removedEnd - at),
                   (const char16_t*)inserted, insertedLength, kind);
    FreeControlText(read);
}

// A message that arrives while an edit is under way, such as the
// indentation that follows Enter: part of that edit.
static LRESULT Nested(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Recording* r = Undo.recording;
    if (r != NULL && r->expectedKnown) {
        DWORD start = 0, end = 0;
        CallControl(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        const wchar_t* text = msg == EM_REPLACESEL && lParam != 0 ? (const wchar_t*)lParam : NULL;
        size_t n = text != NULL ? (size_t)lstrlenW(text) : 0;
        if (text != NULL && start == end && start == r->start + r->expectedLength &&
            r->expectedLength + n < EXPECTED_SIZE) {
            memcpy(r->expected + r->expectedLength, text, n * sizeof(wchar_t));
            r->expectedLength += n;
        } else {
            r->expectedKnown = false;
        }
    }
    return CallControl(edit, msg, wParam, lParam);
}

LRESULT RecordedEdit(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, EditKind kind, DWORD windowStart,
                            DWORD windowEnd, const wchar_t* expected)
{
    if (Undo.recording != NULL || Undo.applying || Undo.grouped > 0)
        return Nested(edit, msg, wParam, lParam);
    SyncSaved();
    Recording r;
    r.start = r.end = 0;
    CallControl(edit, EM_GETSEL, (WPARAM)&r.start, (LPARAM)&r.end);
    r.length = TextLength(edit);
    r.windowStart = windowStart;
    r.windowEnd = windowEnd;
    r.window = ReadControlText(edit, windowStart, windowEnd);
    r.expectedLength = expected != NULL ? (size_t)lstrlenW(expected) : 0;
    r.expectedKnown = expected != NULL && r.expectedLength < EXPECTED_SIZE;
    if (r.expectedKnown)
        memcpy(r.expected, expected, r.expectedLength * sizeof(wchar_t));

    Undo.recording = &r;
    LRESULT result = CallControl(edit, msg, wParam, lParam);
    Undo.recording = NULL;
    if (TextChanges() != Undo.seen)
        KeepEdit(edit, r, kind);
    Undo.seen = TextChanges();
    FreeControlText(r.window);
    return result;
}

/* Edits that are one step together */

void BeginGroup(HWND edit)
{
    if (Undo.grouped++ > 0)
        return;
    SyncSaved();
    Undo.groupChanged = false;
    Undo.before = ReadAllControlText(edit, &Undo.beforeLength);
}

void EndGroup(HWND edit, EditKind kind)
{
    if (Undo.grouped == 0 || --Undo.grouped > 0)
        return;
    wchar_t* before = Undo.before;
    Undo.before = NULL;
    bool changed = Undo.groupChanged || TextChanges() != Undo.seen;
    Undo.seen = TextChanges();
    if (changed) {
        DWORD length = 0;
        wchar_t* now = before != NULL ? ReadAllControlText(edit, &length) : NULL;
        if (now != NULL)
            RecordDifference(before, Undo.beforeLength, now, length, kind);
        else
            History.LoseTrack();
        if (now != NULL)
            LocalFree(now);
    }
    if (before != NULL)
        LocalFree(before);
}

void BeginEditGroup(void) { BeginGroup(Penrik.hwndEdit); }
void EndEditGroup(void) { EndGroup(Penrik.hwndEdit, EDIT_OTHER); }

bool ReplaceTextAsEdit(const wchar_t* text)
{
    HWND edit = Penrik.hwndEdit;
    BeginGroup(edit);
    Undo.groupChanged = true;  // a multi-line control tells nothing of a new text
    LRESULT set = CallControl(edit, WM_SETTEXT, 0, (LPARAM)text);
    EndGroup(edit, EDIT_OTHER);
    return set != 0;
}

bool SetEditedText(const wchar_t* text, const ChangeState& after)
{
    // The new text is the edits' outcome: the change handler must not
    // indent anything for it.
    HCURSOR previousCursor = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    AskSkipIndent(true);
    bool set = ReplaceTextAsEdit(text);
    SetCursor(previousCursor);
    AskSkipIndent(after.skipIndent);
    if (!set)
        return false;
    SetModified(after.modified);
    ShowLineNumber(after.lineShown);
    return true;
}

/* A new text */

static unsigned long long TextHash(const wchar_t* text, size_t length)
{
    unsigned long long hash = 0xCBF29CE484222325ull;
    for (size_t i = 0; i < length; ++i)
        hash = (hash ^ (unsigned short)text[i]) * 0x100000001B3ull;
    return hash ^ length;
}

void KeepHistoryThroughReload(void)
{
    DWORD length = 0;
    wchar_t* text = ReadAllControlText(Penrik.hwndEdit, &length);
    Undo.reloadPending = text != NULL;
    if (text == NULL) {
        History.Clear();
        return;
    }
    Undo.reloadHash = TextHash(text, length);
    LocalFree(text);
}

LRESULT NewText(HWND edit, WPARAM wParam, LPARAM lParam)
{
    LRESULT set = CallControl(edit, WM_SETTEXT, wParam, lParam);
    if (Undo.grouped > 0 || Undo.applying) {
        Undo.groupChanged = true;
        return set;
    }
    if (Undo.reloadPending) {
        Undo.reloadPending = false;
        const wchar_t* text = lParam != 0 ? (const wchar_t*)lParam : L"";
        if (set && TextHash(text, (size_t)lstrlenW(text)) == Undo.reloadHash)
            return set;  // the same text again: its history stands
    }
    History.Clear();
    return set;
}

/* Undo and Redo */

static void Step(bool undo)
{
    if (Undo.recording != NULL || Undo.applying || Undo.grouped > 0)
        return;
    SyncSaved();
    const EditStep* step = undo ? History.Undo() : History.Redo();
    if (step == NULL)
        return;
    // Undo puts back what the step removed; Redo what it inserted.
    const char16_t* put = undo ? step->removed : step->inserted;
    size_t putLength = undo ? step->removedLength : step->insertedLength;
    size_t takeLength = undo ? step->insertedLength : step->removedLength;
    HWND edit = Penrik.hwndEdit;
    DWORD length = TextLength(edit);
    if (step->at + takeLength > length) {
        History.LoseTrack();
        return;
    }
    bool skip = AskSkipIndent(true);
    Undo.applying = true;
    CallControl(edit, EM_SETSEL, step->at, step->at + takeLength);
    CallControl(edit, EM_REPLACESEL, FALSE, (LPARAM)(put != NULL ? (const wchar_t*)put : L""));
    Undo.applying = false;
    Undo.seen = TextChanges();
    AskSkipIndent(skip);
    if (TextLength(edit) != length - takeLength + putLength) {
        History.LoseTrack();  // the control could not take it
    }
    CallControl(edit, EM_SCROLLCARET, 0, 0);
    ShowCaretLine();
    bool saved = History.AtSavedText();
    SetModified(!saved);
    if (saved)
        DropRecoveryCopy();
}

void UndoCommand(void) { Step(true); }
void RedoCommand(void) { Step(false); }
