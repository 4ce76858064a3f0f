// The edit control: how it is made and made again for word wrap, and the
// Edit commands.
#include "editing/editing.h"

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/document.h"
#include "editing/look.h"
#include "editing/typing.h"
#include "editing/undo.h"

// Pixel places in BASE_DPI pixels.
#define EDIT_TOP 44  // first client row of the edit control, below the toolbar

void ResetEditing(void)
{
    ResetTyping();
    ResetUndo();
    ResetEditorLook();
}

static HWND CreateEditControl(DWORD style)
{
    RECT client;
    GetClientRect(Penrik.hwndMain, &client);
    int height = client.bottom - client.top - Scaled(EDIT_TOP);
    // A window of characters, so that text in any language keeps them.
    HWND edit = CreateWindowExW(WS_EX_TOPMOST, L"Edit", NULL, style, 0, Scaled(EDIT_TOP), client.right - client.left,
                                height > 0 ? height : 0, Penrik.hwndMain, (HMENU)(INT_PTR)IDC_EDIT,
                                Penrik.hInst, NULL);
    if (edit != NULL) {
        SendMessageA(edit, EM_LIMITTEXT, 0, 0);
        RecordEdits(edit);
    }
    return edit;
}

void FitEditor(int width, int height)
{
    // A minimized window reports a client height of 0.
    int below = height - Scaled(EDIT_TOP);
    MoveWindow(Penrik.hwndEdit, 0, Scaled(EDIT_TOP), width, below > 0 ? below : 0, TRUE);
}

bool CreateEditor(void)
{
    DWORD style = EDIT_STYLE_PLAIN;
    if (Penrik.settings.wordWrap != 0) {
        style = EDIT_STYLE_WRAP;
        CheckMenuItem(GetMenu(Penrik.hwndMain), IDM_WORDWRAP, MF_BYCOMMAND | MF_CHECKED);
    }
    Penrik.hwndEdit = CreateEditControl(style);
    if (Penrik.hwndEdit == NULL)
        return false;
    GiveEditorFont();
    return true;
}

void WordWrapCommand(void)
{
    SaveAnswer answer = QuerySave(Penrik.hwndMain);
    if (answer == SAVE_STOPPED)
        return;

    int wrap = Penrik.settings.wordWrap ? 0 : 1;
    DWORD style = wrap ? EDIT_STYLE_WRAP : EDIT_STYLE_PLAIN;

    // The new control is made before the old one goes, so that a failure
    // leaves the document where it was.
    HWND edit = CreateEditControl(style);
    if (edit == NULL) {
        ShowMessage(Penrik.hwndMain, IDS_WORDWRAP_FAILED, 0, MB_ICONHAND);
        return;
    }

    Penrik.settings.wordWrap = wrap;
    CheckMenuItem(Penrik.hMenu, IDM_WORDWRAP, MF_BYCOMMAND | (wrap ? MF_CHECKED : MF_UNCHECKED));
    // Destroying the focused control leaves no window with the focus; an
    // untitled document gets no load that would give it back.
    bool hadFocus = GetFocus() == Penrik.hwndEdit;
    KeepHistoryThroughReload();
    DestroyWindow(Penrik.hwndEdit);
    Penrik.hwndEdit = edit;
    if (answer == SAVE_DROPPED)
        DropRecoveryCopy();  // the changes went with the old control
    if (hadFocus)
        SetFocus(Penrik.hwndEdit);
    GiveEditorFont();
    PostMessageA(Penrik.hwndMain, WM_COMMAND, IDM_LOADFILE, 0);
}

void EditCommand(int commandId)
{
    HWND edit = Penrik.hwndEdit;
    switch (commandId) {
    case IDM_UNDO:
        UndoCommand();
        break;
    case IDM_REDO:
        RedoCommand();
        break;
    case IDM_CUT:
        SendMessageA(edit, WM_CUT, 0, 0);
        break;
    case IDM_COPY: {
        SendMessageA(edit, WM_COPY, 0, 0);
        DWORD start = 0;
        SendMessageA(edit, EM_GETSEL, (WPARAM)&start, 0);
        SendMessageA(edit, EM_SETSEL, start, start);
        break;
    }
    case IDM_PASTE:
        SendMessageA(edit, WM_PASTE, 0, 0);
        break;
    case IDM_CLEAR:
        SendMessageA(edit, WM_CLEAR, 0, 0);
        return;  // the focus stays where it is
    case IDM_SELECTALL:
        SendMessageA(edit, EM_SETSEL, 0, (LPARAM)-1);
        return;
    }
    SetFocus(edit);
}
