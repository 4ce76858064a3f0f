// The edit control: how it is made and made again, its fonts and colours,
// and the Word Wrap, Set Font and Set Color commands.
#include "penrik.h"

static CHOOSEFONTA FontDialogData;
static CHOOSECOLORA ColorDialogData;
static COLORREF CustomColors[16];

void ResetEditingState(void)
{
    ZeroMemory(&FontDialogData, sizeof FontDialogData);
    ZeroMemory(&ColorDialogData, sizeof ColorDialogData);
    ZeroMemory(CustomColors, sizeof CustomColors);
    skipIndent = 0;
}

HWND CreateEditControl(DWORD style)
{
    RECT client;
    GetClientRect(hwndMain, &client);
    int height = client.bottom - client.top - EDIT_TOP;
    HWND edit = CreateWindowExA(WS_EX_TOPMOST, "Edit", NULL, style, 0, EDIT_TOP,
                                client.right - client.left, height > 0 ? height : 0, hwndMain,
                                (HMENU)(INT_PTR)IDC_EDIT, hInst, NULL);
    if (edit != NULL)
        SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    return edit;
}

void CopyFontAttributes(LOGFONTA* record)
{
    const LOGFONTA& font = Settings.font;
    record->lfWeight = font.lfWeight;
    record->lfItalic = font.lfItalic;
    record->lfUnderline = font.lfUnderline;
    record->lfStrikeOut = font.lfStrikeOut;
    record->lfCharSet = font.lfCharSet;
    record->lfQuality = font.lfQuality;
    record->lfPitchAndFamily = font.lfPitchAndFamily;
    lstrcpynA(record->lfFaceName, font.lfFaceName, LF_FACESIZE);
}

// A font from the editor font record: height and face only, or with the
// attributes the font dialog chose as well.
static HFONT MakeEditorFont(int withAttributes)
{
    LOGFONTA* record = (LOGFONTA*)LocalAlloc(LPTR, sizeof(LOGFONTA));
    if (record == NULL)
        return NULL;
    record->lfHeight = Settings.font.lfHeight;
    if (withAttributes)
        CopyFontAttributes(record);
    else
        lstrcpynA(record->lfFaceName, Settings.font.lfFaceName, LF_FACESIZE);
    HFONT made = CreateFontIndirectA(record);
    LocalFree(record);
    return made;
}

// Gives the control a new editor font and releases the one it replaces.
static void UseEditorFont(HFONT font)
{
    SendMessageA(hwndEdit, WM_SETFONT, (WPARAM)font, 0);
    if (hEditFont != NULL && hEditFont != font)
        DeleteObject(hEditFont);
    hEditFont = font;
}

void ApplyStartupFonts(void)
{
    UseEditorFont(MakeEditorFont(0));
}

void InitFontDialogData(void)
{
    ZeroMemory(&FontDialogData, sizeof FontDialogData);
    FontDialogData.lStructSize = sizeof FontDialogData;
    FontDialogData.hwndOwner = hwndMain;
    FontDialogData.lpLogFont = &Settings.font;
    FontDialogData.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    FontDialogData.nFontType = SCREEN_FONTTYPE;
}

void WordWrapCommand(void)
{
    if (QuerySave(hwndMain) == 0)
        return;

    int wrap = Settings.wordWrap ? 0 : 1;
    DWORD style = wrap ? EDIT_STYLE_WRAP : EDIT_STYLE_PLAIN;

    // The new control is made before the old one goes, so that a failure
    // leaves the document where it was.
    HWND edit = CreateEditControl(style);
    if (edit == NULL) {
        Sys.MessageBoxA(hwndMain, "Word wrap could not be changed: the edit window could not be made.",
                        NULL, MB_ICONHAND);
        return;
    }

    Settings.wordWrap = wrap;
    editStyle = style;
    CheckMenuItem(hMenu, IDM_WORDWRAP, MF_BYCOMMAND | (wrap ? MF_CHECKED : MF_UNCHECKED));
    // Destroying the focused control leaves no window with the focus; an
    // untitled document gets no load that would give it back.
    int hadFocus = GetFocus() == hwndEdit;
    DestroyWindow(hwndEdit);
    hwndEdit = edit;
    if (hadFocus)
        SetFocus(hwndEdit);
    UseEditorFont(MakeEditorFont(0));
    PostMessageA(hwndMain, WM_COMMAND, IDM_LOADFILE, 0);
}

void SetFontCommand(void)
{
    FontDialogData.rgbColors = Settings.textColor;
    if (!Sys.ChooseFontA(&FontDialogData))
        return;
    HFONT font = MakeEditorFont(1);
    Settings.textColor = FontDialogData.rgbColors;
    UseEditorFont(font);
    InvalidateRect(hwndEdit, NULL, TRUE);
    UpdateWindow(hwndEdit);
}

void SetColorCommand(void)
{
    ZeroMemory(&ColorDialogData, sizeof ColorDialogData);
    ColorDialogData.lStructSize = sizeof ColorDialogData;
    ColorDialogData.hwndOwner = hwndMain;
    ColorDialogData.rgbResult = Settings.backColor;
    ColorDialogData.lpCustColors = CustomColors;
    ColorDialogData.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!Sys.ChooseColorA(&ColorDialogData))
        return;
    Settings.backColor = ColorDialogData.rgbResult;
    // The control asks for the brush at each paint and keeps none, so the
    // old one can go at once.
    HBRUSH old = hEditBrush;
    hEditBrush = CreateSolidBrush(Settings.backColor);
    if (old != NULL)
        DeleteObject(old);
    InvalidateRgn(hwndEdit, NULL, TRUE);
}

HBRUSH EditColors(HDC dc, HWND control)
{
    if (control != hwndEdit || control == NULL)
        return NULL;
    SetTextColor(dc, Settings.textColor);
    SetBkColor(dc, Settings.backColor);
    return hEditBrush;
}
