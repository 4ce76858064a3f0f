// The edit control's procedure: which of its messages are edits, and of
// what kind, for Undo; Undo's own keys and messages; the control's menu;
// a double-click offered to the parent.
#include "editing/undo.h"

#include "base/editor_messages.h"
#include "base/process.h"
#include "resources/resource.h"
#include "editing/control_text.h"

static DWORD TextLength(HWND edit) { return (DWORD)CallControl(edit, WM_GETTEXTLENGTH, 0, 0); }

/* Edits and their kinds */

static void Selection(HWND edit, DWORD* start, DWORD* end)
{
    *start = *end = 0;
    CallControl(edit, EM_GETSEL, (WPARAM)start, (LPARAM)end);
}

// A message that replaces the selection by text of its own.
static LRESULT SelectionEdit(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, const wchar_t* expected)
{
    DWORD start, end;
    Selection(edit, &start, &end);
    return RecordedEdit(edit, msg, wParam, lParam, EDIT_OTHER, start, end, expected);
}

// Where the caret's line starts.
static DWORD CaretLineStart(HWND edit)
{
    LRESULT first = CallControl(edit, EM_LINEINDEX, (WPARAM)-1, 0);
    return first >= 0 ? (DWORD)first : 0;
}

static LRESULT Backspace(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD start, end;
    Selection(edit, &start, &end);
    if (start != end)
        return RecordedEdit(edit, msg, wParam, lParam, EDIT_OTHER, start, end, NULL);
    // One character goes, or the line break before the line.
    DWORD first = CaretLineStart(edit);
    DWORD from = start >= 2 ? start - 2 : 0;
    if (start > first && from < first)
        from = first;
    return RecordedEdit(edit, msg, wParam, lParam, EDIT_BACKSPACE, from, start, NULL);
}

static LRESULT DeleteKey(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD start, end;
    Selection(edit, &start, &end);
    if (start != end)
        return RecordedEdit(edit, msg, wParam, lParam, EDIT_OTHER, start, end, NULL);
    DWORD length = TextLength(edit);
    DWORD first = CaretLineStart(edit);
    DWORD lineEnd = first + (DWORD)CallControl(edit, EM_LINELENGTH, start, 0);
    if (GetKeyState(VK_SHIFT) < 0)  // to the start of the line
        return RecordedEdit(edit, msg, wParam, lParam, EDIT_OTHER, first, start, NULL);
    if (GetKeyState(VK_CONTROL) < 0 && lineEnd > start)  // to the end of the line
        return RecordedEdit(edit, msg, wParam, lParam, EDIT_OTHER, start, lineEnd, NULL);
    // One character goes, or the line break after the line.
    DWORD to = length - start >= 2 ? start + 2 : length;
    return RecordedEdit(edit, msg, wParam, lParam, EDIT_DELETE, start, to, NULL);
}

static bool IsWordCharacter(wchar_t c) { return c == L'_' || IsCharAlphaNumericW(c); }

// Ctrl+Backspace: the word before the caret goes, with the blanks after
// it; at the start of a line, the line break.
static LRESULT DeleteWordBefore(HWND edit, LPARAM lParam)
{
    DWORD start, end;
    Selection(edit, &start, &end);
    DWORD first = CaretLineStart(edit);
    if (start != end || start == first)
        return Backspace(edit, WM_CHAR, VK_BACK, lParam);
    wchar_t* line = ReadControlText(edit, first, start);
    if (line == NULL)
        return 0;
    size_t i = start - first;
    while (i > 0 && (line[i - 1] == L' ' || line[i - 1] == L'\t'))
        --i;
    bool word = i > 0 && IsWordCharacter(line[i - 1]);
    while (i > 0 && line[i - 1] != L' ' && line[i - 1] != L'\t' && IsWordCharacter(line[i - 1]) == word)
        --i;
    FreeControlText(line);
    EndEditRun();
    CallControl(edit, EM_SETSEL, first + (DWORD)i, start);
    return RecordedEdit(edit, WM_CLEAR, 0, 0, EDIT_OTHER, first + (DWORD)i, start, L"");
}

static LRESULT Character(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    wchar_t c = (wchar_t)wParam;
    switch (c) {
    case 0x1A:  // Ctrl+Z
        UndoCommand();
        return 1;
    case 0x19:  // Ctrl+Y
        RedoCommand();
        return 1;
    case 0x7F:  // Ctrl+Backspace
        return DeleteWordBefore(edit, lParam);
    case VK_BACK:
        return Backspace(edit, msg, wParam, lParam);
    case L'\r':
    case L'\n': {
        DWORD start, end;
        Selection(edit, &start, &end);
        return RecordedEdit(edit, msg, wParam, lParam, EDIT_NEW_LINE, start, end, L"\r\n");
    }
    }
    if (c < L' ' && c != L'\t')
        return CallControl(edit, msg, wParam, lParam);
    DWORD start, end;
    Selection(edit, &start, &end);
    wchar_t typed[2] = {c, 0};
    return RecordedEdit(edit, msg, wParam, lParam, EDIT_TYPING, start, end, typed);
}

/* The control's own menu */

static void ShowContextMenu(HWND edit, LPARAM lParam)
{
    HMENU menu = LoadMenuW(Penrik.hInst, L"EditContext");
    if (menu == NULL)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    DWORD start, end;
    Selection(edit, &start, &end);
    auto enable = [popup](UINT id, bool on) { EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    enable(IDM_UNDO, CanUndo());
    enable(IDM_REDO, CanRedo());
    enable(IDM_CUT, start != end);
    enable(IDM_COPY, start != end);
    enable(IDM_CLEAR, start != end);
    enable(IDM_PASTE, IsClipboardFormatAvailable(CF_UNICODETEXT) != 0);
    enable(IDM_SELECTALL, start != 0 || end != TextLength(edit));

    POINT at = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    if (at.x == -1 && at.y == -1) {  // from the keyboard: the middle of the text
        RECT client;
        GetClientRect(edit, &client);
        at.x = client.right / 2;
        at.y = client.bottom / 2;
        ClientToScreen(edit, &at);
    }
    SetFocus(edit);
    UINT command = (UINT)TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                        at.y, 0, edit, NULL);
    DestroyMenu(menu);
    switch (command) {
    case IDM_UNDO:      UndoCommand(); break;
    case IDM_REDO:      RedoCommand(); break;
    case IDM_CUT:       SendMessageW(edit, WM_CUT, 0, 0); break;
    case IDM_COPY:      SendMessageW(edit, WM_COPY, 0, 0); break;
    case IDM_PASTE:     SendMessageW(edit, WM_PASTE, 0, 0); break;
    case IDM_CLEAR:     SendMessageW(edit, WM_CLEAR, 0, 0); break;
    case IDM_SELECTALL: SendMessageW(edit, EM_SETSEL, 0, (LPARAM)-1); break;
    }
}

/* The control's procedure */

static LRESULT CALLBACK EditorProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_UNDO:
    case EM_UNDO:
        UndoCommand();
        return TRUE;
    case EM_CANUNDO:
        return CanUndo();
    case WM_SYSKEYDOWN:
        if (wParam == VK_BACK && (lParam & (1L << 29)) != 0) {  // Alt+Backspace
            UndoCommand();
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        // Where the right button cuts and pastes, its release shows no menu
        // after it; the keyboard's menu key and Shift+F10 still do.
        if ((DWORD)lParam != 0xFFFFFFFF && !Penrik.platformV4)
            return 0;
        ShowContextMenu(edit, lParam);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_DELETE)
            return DeleteKey(edit, msg, wParam, lParam);
        if (wParam >= VK_PRIOR && wParam <= VK_DOWN)  // a key that moves the caret
            EndEditRun();
        break;
    case WM_LBUTTONDBLCLK:
        // A compiler's message in the build results is a link.
        if (SendMessageW(GetParent(edit), WM_EDITORDOUBLECLICK, 0, 0) != 0)
            return 0;
        EndEditRun();
        break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case EM_SETSEL:
        EndEditRun();
        break;
    case WM_CHAR:
        return Character(edit, msg, wParam, lParam);
    case WM_CUT:
    case WM_CLEAR:
    case WM_PASTE:
        return SelectionEdit(edit, msg, wParam, lParam, msg == WM_PASTE ? NULL : L"");
    case EM_REPLACESEL:
        return SelectionEdit(edit, msg, wParam, lParam, lParam != 0 ? (const wchar_t*)lParam : L"");
    case WM_IME_STARTCOMPOSITION:
        // An input method's result is typed text, however it was composed.
        BeginGroup(edit);
        break;
    case WM_IME_ENDCOMPOSITION: {
        LRESULT result = CallControl(edit, msg, wParam, lParam);
        EndGroup(edit, EDIT_TYPING);
        return result;
    }
    case WM_SETTEXT:
        return NewText(edit, wParam, lParam);
    case EM_SETHANDLE:
        ForgetHistory();
        break;
    case EM_SETTEXTASEDIT:
        return ReplaceTextAsEdit((const wchar_t*)lParam);
    }
    return CallControl(edit, msg, wParam, lParam);
}

void RecordEdits(HWND edit)
{
    WNDPROC own = (WNDPROC)SetWindowLongPtrW(edit, GWLP_WNDPROC, (LONG_PTR)EditorProc);
    if (own != EditorProc)
        KeepControlProc(own);
}
