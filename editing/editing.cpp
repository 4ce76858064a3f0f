// The edit control: how it is made and made again, the Edit commands,
// the right-button shortcut, the line indicator, the indentation of a
// freshly opened line, word wrap, the editor font and the colours.
#include "editing/editing.h"

#include <commdlg.h>
#include <string.h>

#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/document.h"

// Pixel places in BASE_DPI pixels.
#define EDIT_TOP         44  // first client row of the edit control, below the toolbar
#define EDIT_TAB_STOP    8   // dialog units between tab stops
#define INDICATOR_X      472 // the line indicator's text in the status panel
#define INDICATOR_Y      5   // where a change draws it
#define INDICATOR_PAINTY 4   // where a repaint of the window draws it
#define INDICATOR_GREY   RGB(0xC0, 0xC0, 0xC0)
// Room for "Line Number  4294967296        ".
#define INDICATOR_SIZE   40

static struct {
    unsigned int lineShown;  // 0-based line whose number the status panel shows
    int skipIndent;          // the next change of line inserts no indentation
    DWORD editStyle;
    HFONT hEditFont;
    int fontAttributes;      // the font has the attributes the font dialog chose
    // The height the font dialog gave this session, at the DPI it gave it
    // in (0: none), which the stored BASE_DPI height may not give back.
    LONG chosenHeight;
    int chosenDpi;
    HBRUSH hEditBrush;
    CHOOSEFONTA FontDialogData;
    COLORREF CustomColors[16];
} Editor;

void ResetEditing(void)
{
    Editor.lineShown = 0;
    Editor.skipIndent = 0;
    Editor.editStyle = EDIT_STYLE_PLAIN;
    Editor.hEditFont = NULL;
    Editor.fontAttributes = 0;
    Editor.chosenHeight = 0;
    Editor.chosenDpi = 0;
    Editor.hEditBrush = NULL;
    ZeroMemory(&Editor.FontDialogData, sizeof Editor.FontDialogData);
    ZeroMemory(Editor.CustomColors, sizeof Editor.CustomColors);
}

/* The control, its font and its colours */

static HWND CreateEditControl(DWORD style)
{
    RECT client;
    GetClientRect(Penrik.hwndMain, &client);
    int height = client.bottom - client.top - Scaled(EDIT_TOP);
    // A window of characters, so that text in any language keeps them.
    HWND edit = CreateWindowExW(WS_EX_TOPMOST, L"Edit", NULL, style, 0, Scaled(EDIT_TOP), client.right - client.left,
                                height > 0 ? height : 0, Penrik.hwndMain, (HMENU)(INT_PTR)IDC_EDIT,
                                Penrik.hInst, NULL);
    if (edit != NULL)
        SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    return edit;
}

void FitEditor(int width, int height)
{
    // A minimized window reports a client height of 0.
    int below = height - Scaled(EDIT_TOP);
    MoveWindow(Penrik.hwndEdit, 0, Scaled(EDIT_TOP), width, below > 0 ? below : 0, TRUE);
}

void CopyFontAttributes(LOGFONTA* record)
{
    const LOGFONTA& font = Penrik.Settings.font;
    record->lfWeight = font.lfWeight;
    record->lfItalic = font.lfItalic;
    record->lfUnderline = font.lfUnderline;
    record->lfStrikeOut = font.lfStrikeOut;
    record->lfCharSet = font.lfCharSet;
    record->lfQuality = font.lfQuality;
    record->lfPitchAndFamily = font.lfPitchAndFamily;
    lstrcpynA(record->lfFaceName, font.lfFaceName, LF_FACESIZE);
}

// The editor font's height at `dpi`: the one the user chose, where
// there is one, else the stored one.
static LONG FontHeightAt(int dpi)
{
    if (Editor.chosenHeight != 0)
        return MulDiv(Editor.chosenHeight, dpi, Editor.chosenDpi);
    return MulDiv(Penrik.Settings.font.lfHeight, dpi, BASE_DPI);
}

// A font from the editor font record at the window's DPI: height and
// face only, or with the attributes the font dialog chose as well.
static HFONT MakeEditorFont(int withAttributes)
{
    Editor.fontAttributes = withAttributes;
    LOGFONTA* record = (LOGFONTA*)LocalAlloc(LPTR, sizeof(LOGFONTA));
    if (record == NULL)
        return NULL;
    record->lfHeight = FontHeightAt(Penrik.dpi);
    if (withAttributes)
        CopyFontAttributes(record);
    else
        lstrcpynA(record->lfFaceName, Penrik.Settings.font.lfFaceName, LF_FACESIZE);
    HFONT made = CreateFontIndirectA(record);
    LocalFree(record);
    return made;
}

// Gives the control a new editor font and releases the one it replaces.
static void UseEditorFont(HFONT font)
{
    SendMessageA(Penrik.hwndEdit, WM_SETFONT, (WPARAM)font, 0);
    if (Editor.hEditFont != NULL && Editor.hEditFont != font)
        DeleteObject(Editor.hEditFont);
    Editor.hEditFont = font;
}

int CreateEditor(void)
{
    Editor.editStyle = EDIT_STYLE_PLAIN;
    if (Penrik.Settings.wordWrap != 0) {
        Editor.editStyle = EDIT_STYLE_WRAP;
        CheckMenuItem(GetMenu(Penrik.hwndMain), IDM_WORDWRAP, MF_BYCOMMAND | MF_CHECKED);
    }
    Penrik.hwndEdit = CreateEditControl(Editor.editStyle);
    if (Penrik.hwndEdit == NULL)
        return 0;
    UseEditorFont(MakeEditorFont(0));
    return 1;
}

void ApplyEditorLook(void)
{
    DWORD tabStop = EDIT_TAB_STOP;
    SendMessageA(Penrik.hwndEdit, EM_SETTABSTOPS, 1, (LPARAM)&tabStop);

    ZeroMemory(&Editor.FontDialogData, sizeof Editor.FontDialogData);
    Editor.FontDialogData.lStructSize = sizeof Editor.FontDialogData;
    Editor.FontDialogData.hwndOwner = Penrik.hwndMain;
    Editor.FontDialogData.lpLogFont = &Penrik.Settings.font;
    Editor.FontDialogData.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    Editor.FontDialogData.nFontType = SCREEN_FONTTYPE;

    Editor.hEditBrush = CreateSolidBrush(Penrik.Settings.backColor);
    // The first paint had no brush yet: the empty part of the control
    // would stay in the system's colour.
    InvalidateRect(Penrik.hwndEdit, NULL, TRUE);
}

void ReleaseEditorLook(void)
{
    if (Editor.hEditFont != NULL)
        DeleteObject(Editor.hEditFont);
    if (Editor.hEditBrush != NULL)
        DeleteObject(Editor.hEditBrush);
    Editor.hEditFont = NULL;
    Editor.hEditBrush = NULL;
}

void WordWrapCommand(void)
{
    SaveAnswer answer = QuerySave(Penrik.hwndMain);
    if (answer == SAVE_STOPPED)
        return;

    int wrap = Penrik.Settings.wordWrap ? 0 : 1;
    DWORD style = wrap ? EDIT_STYLE_WRAP : EDIT_STYLE_PLAIN;

    // The new control is made before the old one goes, so that a failure
    // leaves the document where it was.
    HWND edit = CreateEditControl(style);
    if (edit == NULL) {
        Sys.MessageBoxA(Penrik.hwndMain, "Word wrap could not be changed: the edit window could not be made.",
                        NULL, MB_ICONHAND);
        return;
    }

    Penrik.Settings.wordWrap = wrap;
    Editor.editStyle = style;
    CheckMenuItem(Penrik.hMenu, IDM_WORDWRAP, MF_BYCOMMAND | (wrap ? MF_CHECKED : MF_UNCHECKED));
    // Destroying the focused control leaves no window with the focus; an
    // untitled document gets no load that would give it back.
    int hadFocus = GetFocus() == Penrik.hwndEdit;
    DestroyWindow(Penrik.hwndEdit);
    Penrik.hwndEdit = edit;
    if (answer == SAVE_DROPPED)
        DropRecoveryCopy();  // the changes went with the old control
    if (hadFocus)
        SetFocus(Penrik.hwndEdit);
    UseEditorFont(MakeEditorFont(0));
    PostMessageA(Penrik.hwndMain, WM_COMMAND, IDM_LOADFILE, 0);
}

void ScaleEditor(void)
{
    UseEditorFont(MakeEditorFont(Editor.fontAttributes));
}

void SetFontCommand(void)
{
    // The dialog shows and gives the height at the system's DPI, which
    // may not be the window's; the record keeps it in BASE_DPI pixels, so
    // that saving it and reading it again on any display gives the same
    // font.
    LOGFONTA& record = Penrik.Settings.font;
    LONG stored = record.lfHeight;
    int systemDpi = (int)Sys.WindowDpi(NULL);
    record.lfHeight = FontHeightAt(systemDpi);
    Editor.FontDialogData.rgbColors = Penrik.Settings.textColor;
    if (!Sys.ChooseFontA(&Editor.FontDialogData)) {
        record.lfHeight = stored;
        return;
    }
    Editor.chosenHeight = record.lfHeight;
    Editor.chosenDpi = systemDpi;
    record.lfHeight = MulDiv(record.lfHeight, BASE_DPI, systemDpi);
    HFONT font = MakeEditorFont(1);
    Penrik.Settings.textColor = Editor.FontDialogData.rgbColors;
    UseEditorFont(font);
    InvalidateRect(Penrik.hwndEdit, NULL, TRUE);
    UpdateWindow(Penrik.hwndEdit);
}

void SetColorCommand(void)
{
    CHOOSECOLORA dialog;
    ZeroMemory(&dialog, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Penrik.hwndMain;
    dialog.rgbResult = Penrik.Settings.backColor;
    dialog.lpCustColors = Editor.CustomColors;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!Sys.ChooseColorA(&dialog))
        return;
    Penrik.Settings.backColor = dialog.rgbResult;
    // The control asks for the brush at each paint and keeps none, so the
    // old one can go at once.
    HBRUSH old = Editor.hEditBrush;
    Editor.hEditBrush = CreateSolidBrush(Penrik.Settings.backColor);
    if (old != NULL)
        DeleteObject(old);
    InvalidateRgn(Penrik.hwndEdit, NULL, TRUE);
}

HBRUSH EditColors(HDC dc, HWND control)
{
    if (control != Penrik.hwndEdit || control == NULL)
        return NULL;
    SetTextColor(dc, Penrik.Settings.textColor);
    SetBkColor(dc, Penrik.Settings.backColor);
    return Editor.hEditBrush;
}

/* The Edit commands and the right-button shortcut */

void EditCommand(int commandId)
{
    HWND edit = Penrik.hwndEdit;
    switch (commandId) {
    case IDM_UNDO:
        SendMessageA(edit, EM_UNDO, 0, 0);
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

/* The line indicator */

static void DrawLineIndicator(HDC dc, int y)
{
    char text[INDICATOR_SIZE];
    int length = LineIndicatorText(Editor.lineShown, text, sizeof text);
    SetBkColor(dc, INDICATOR_GREY);
    HGDIOBJ previous = SelectObject(dc, Penrik.hToolbarFont);
    TextOutA(dc, Scaled(INDICATOR_X), Scaled(y), text, length);
    SelectObject(dc, previous);
}

void PaintLineIndicator(HDC dc)
{
    DrawLineIndicator(dc, INDICATOR_PAINTY);
}

static void ShowLineNumber(unsigned int line)
{
    Editor.lineShown = line;
    HDC dc = GetDC(Penrik.hwndMain);
    DrawLineIndicator(dc, INDICATOR_Y);
    ReleaseDC(Penrik.hwndMain, dc);
}

static int RefreshLineIndicator(DWORD position)
{
    unsigned int line = (unsigned int)SendMessageA(Penrik.hwndEdit, EM_LINEFROMCHAR, position, 0);
    if (line == Editor.lineShown)
        return 0;
    ShowLineNumber(line);
    return 1;
}

void CutOrPasteOnRightButton(UINT mouseMessage)
{
    HWND edit = Penrik.hwndEdit;
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    if (mouseMessage == WM_RBUTTONUP && !Penrik.platformV4) {
        if (start == end) {
            SendMessageA(edit, WM_PASTE, 0, 0);
        } else {
            SendMessageA(edit, WM_CUT, 0, 0);
            SendMessageA(edit, EM_SETSEL, start, start);
            // The cut's line change is the user's, not a fresh line.
            Editor.skipIndent = 1;
        }
    }
    RefreshLineIndicator(start);
}

/* Indentation */

// Room for a line or a tab text: on the stack when it is short, else a
// block of local memory.
struct Scratch {
    wchar_t small[128];
    wchar_t* text;
    HLOCAL block;
};

// Room for `size` characters.
static int TakeScratch(Scratch* scratch, size_t size)
{
    scratch->block = NULL;
    if (size <= sizeof scratch->small / sizeof scratch->small[0]) {
        scratch->text = scratch->small;
        return 1;
    }
    scratch->block = size < 0x3FFFFFFF ? Sys.LocalAlloc(LPTR, size * sizeof(wchar_t)) : NULL;
    scratch->text = (wchar_t*)scratch->block;
    return scratch->text != NULL;
}

static void DropScratch(Scratch* scratch)
{
    if (scratch->block != NULL)
        LocalFree(scratch->block);
    scratch->block = NULL;
}

// Reads the whole of a line; returns its length, or -1 when no room
// could be had for it.
static long ReadLine(WPARAM line, Scratch* scratch)
{
    HWND edit = Penrik.hwndEdit;
    scratch->text = scratch->small;
    scratch->block = NULL;
    LRESULT first = SendMessageA(edit, EM_LINEINDEX, line, 0);
    if (first < 0)
        return 0;
    size_t length = (size_t)SendMessageA(edit, EM_LINELENGTH, (WPARAM)first, 0);
    // The capacity word of EM_GETLINE is 16 bits wide; a longer line is
    // taken from the whole text.
    if (length < 0xFFFF) {
        size_t room = length + 2;  // the capacity word takes one character
        if (!TakeScratch(scratch, room))
            return -1;
        *(WORD*)scratch->text = (WORD)(room - 1);
        return (long)SendMessageW(edit, EM_GETLINE, line, (LPARAM)scratch->text);
    }
    size_t total = (size_t)SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    if (!TakeScratch(scratch, total + 1))
        return -1;
    SendMessageW(edit, WM_GETTEXT, total + 1, (LPARAM)scratch->text);
    memmove(scratch->text, scratch->text + first, length * sizeof(wchar_t));
    return (long)length;
}

static void AutoIndent(unsigned int line)
{
    HWND edit = Penrik.hwndEdit;
    LRESULT first = SendMessageA(edit, EM_LINEINDEX, line, 0);
    if (first >= 0 && SendMessageA(edit, EM_LINELENGTH, (WPARAM)first, 0) > 0)
        return;  // only an empty caret line is indented
    if (line == 0)
        return;

    Scratch previous;
    long length = ReadLine(line - 1, &previous);
    if (length < 0)
        return;
    unsigned int tabs = AutoIndentTabs(previous.text, (size_t)length);
    DropScratch(&previous);

    Scratch indent;
    if (!TakeScratch(&indent, (size_t)tabs + 1))
        return;
    for (unsigned int i = 0; i < tabs; ++i)
        indent.text[i] = L'\t';
    indent.text[tabs] = L'\0';
    SendMessageW(edit, EM_REPLACESEL, 0, (LPARAM)indent.text);
    DropScratch(&indent);
}

ChangeState CurrentChangeState(void)
{
    ChangeState state = {Editor.lineShown, Editor.skipIndent, Modified()};
    return state;
}

LRESULT EditNotification(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (HIWORD(wParam)) {
    case EN_CHANGE: {
        DWORD start = 0;
        SendMessageA(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, 0);
        unsigned int line = (unsigned int)SendMessageA(Penrik.hwndEdit, EM_LINEFROMCHAR, start, 0);
        ChangeState state = CurrentChangeState();
        ChangeAction action = ApplyChangeRule(&state, line);
        SetModified(state.modified);
        Editor.skipIndent = state.skipIndent;
        if (action == CHANGE_SAME_LINE)
            return 0;
        ShowLineNumber(state.lineShown);
        if (action == CHANGE_INDENT)
            AutoIndent(state.lineShown);
        return 0;
    }
    case EN_ERRSPACE:
        Sys.MessageBoxA(GetFocus(), "Out of memory.", "Penrik", MB_ICONHAND);
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int SetEditedText(const wchar_t* text, const ChangeState& after)
{
    // The new text is the edits' outcome: the change handler must not
    // indent anything for it.
    HCURSOR previousCursor = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    Editor.skipIndent = 1;
    LRESULT set = SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text);
    SetCursor(previousCursor);
    Editor.skipIndent = after.skipIndent;
    if (!set)
        return 0;
    SetModified(after.modified);
    ShowLineNumber(after.lineShown);
    return 1;
}
