// The editor's look: its font, at the window's DPI and as the font
// dialog chose it, and its colours.
#include "editing/editing.h"

#include <commdlg.h>

#include "base/process.h"
#include "base/syscalls.h"
#include "editing/look.h"

#define EDIT_TAB_STOP 8  // dialog units between tab stops

static struct {
    HFONT font;
    bool fontAttributes;  // the font has the attributes the font dialog chose
    // The height the font dialog gave this session, at the DPI it gave it
    // in (0: none), which the stored BASE_DPI height may not give back.
    LONG chosenHeight;
    int chosenDpi;
    HBRUSH brush;
    CHOOSEFONTA fontDialog;
    COLORREF customColors[16];
} Look;

void ResetEditorLook(void)
{
    Look.font = NULL;
    Look.fontAttributes = false;
    Look.chosenHeight = 0;
    Look.chosenDpi = 0;
    Look.brush = NULL;
    ZeroMemory(&Look.fontDialog, sizeof Look.fontDialog);
    ZeroMemory(Look.customColors, sizeof Look.customColors);
}

void CopyFontAttributes(LOGFONTA* record)
{
    const LOGFONTA& font = Penrik.settings.font;
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
    if (Look.chosenHeight != 0)
        return MulDiv(Look.chosenHeight, dpi, Look.chosenDpi);
    return MulDiv(Penrik.settings.font.lfHeight, dpi, BASE_DPI);
}

// A font from the editor font record at the window's DPI: height and
// face only, or with the attributes the font dialog chose as well.
static HFONT MakeEditorFont(bool withAttributes)
{
    Look.fontAttributes = withAttributes;
    LOGFONTA* record = (LOGFONTA*)LocalAlloc(LPTR, sizeof(LOGFONTA));
    if (record == NULL)
        return NULL;
    record->lfHeight = FontHeightAt(Penrik.dpi);
    if (withAttributes)
        CopyFontAttributes(record);
    else
        lstrcpynA(record->lfFaceName, Penrik.settings.font.lfFaceName, LF_FACESIZE);
    HFONT made = CreateFontIndirectA(record);
    LocalFree(record);
    return made;
}

// Gives the control a new editor font and releases the one it replaces.
static void UseEditorFont(HFONT font)
{
    SendMessageA(Penrik.hwndEdit, WM_SETFONT, (WPARAM)font, 0);
    if (Look.font != NULL && Look.font != font)
        DeleteObject(Look.font);
    Look.font = font;
}

void GiveEditorFont(void)
{
    UseEditorFont(MakeEditorFont(false));
}

void ApplyEditorLook(void)
{
    DWORD tabStop = EDIT_TAB_STOP;
    SendMessageA(Penrik.hwndEdit, EM_SETTABSTOPS, 1, (LPARAM)&tabStop);

    ZeroMemory(&Look.fontDialog, sizeof Look.fontDialog);
    Look.fontDialog.lStructSize = sizeof Look.fontDialog;
    Look.fontDialog.hwndOwner = Penrik.hwndMain;
    Look.fontDialog.lpLogFont = &Penrik.settings.font;
    Look.fontDialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    Look.fontDialog.nFontType = SCREEN_FONTTYPE;

    Look.brush = CreateSolidBrush(Penrik.settings.backColor);
    // The first paint had no brush yet: the empty part of the control
    // would stay in the system's colour.
    InvalidateRect(Penrik.hwndEdit, NULL, TRUE);
}

void ReleaseEditorLook(void)
{
    if (Look.font != NULL)
        DeleteObject(Look.font);
    if (Look.brush != NULL)
        DeleteObject(Look.brush);
    Look.font = NULL;
    Look.brush = NULL;
}

void ScaleEditor(void)
{
    UseEditorFont(MakeEditorFont(Look.fontAttributes));
}

void SetFontCommand(void)
{
    // The dialog shows and gives the height at the system's DPI, which
    // may not be the window's; the record keeps it in BASE_DPI pixels, so
    // that saving it and reading it again on any display gives the same
    // font.
    LOGFONTA& record = Penrik.settings.font;
    LONG stored = record.lfHeight;
    int systemDpi = (int)Sys.WindowDpi(NULL);
    record.lfHeight = FontHeightAt(systemDpi);
    Look.fontDialog.rgbColors = Penrik.settings.textColor;
    if (!Sys.ChooseFontA(&Look.fontDialog)) {
        record.lfHeight = stored;
        return;
    }
    Look.chosenHeight = record.lfHeight;
    Look.chosenDpi = systemDpi;
    record.lfHeight = MulDiv(record.lfHeight, BASE_DPI, systemDpi);
    HFONT font = MakeEditorFont(true);
    Penrik.settings.textColor = Look.fontDialog.rgbColors;
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
    dialog.rgbResult = Penrik.settings.backColor;
    dialog.lpCustColors = Look.customColors;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!Sys.ChooseColorA(&dialog))
        return;
    Penrik.settings.backColor = dialog.rgbResult;
    // The control asks for the brush at each paint and keeps none, so the
    // old one can go at once.
    HBRUSH old = Look.brush;
    Look.brush = CreateSolidBrush(Penrik.settings.backColor);
    if (old != NULL)
        DeleteObject(old);
    InvalidateRgn(Penrik.hwndEdit, NULL, TRUE);
}

HBRUSH EditColors(HDC dc, HWND control)
{
    if (control != Penrik.hwndEdit || control == NULL)
        return NULL;
    SetTextColor(dc, Penrik.settings.textColor);
    SetBkColor(dc, Penrik.settings.backColor);
    return Look.brush;
}
