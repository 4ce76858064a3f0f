// The two rows of toolbar buttons and their font.
#include "app/shell.h"

#define TOOLBAR_FONT_HEIGHT 8
#define TOOLBAR_FONT_FACE   "MS Sans Serif"

struct ToolbarRow {
    const char* label;  // null: the label comes from the settings
    int id;
    int x, y, width, height;  // in BASE_DPI pixels
};

static const ToolbarRow ToolbarRows[TOOLBAR_BUTTONS] = {
    {"Exit",     IDM_EXIT,       2,   2,  34, 18},
    {"Print",    IDM_PRINT,      37,  2,  37, 18},
    {"Save",     IDM_SAVEAS,     75,  2,  41, 18},  // always asks for a name
    {"Open2",    IDM_OPEN2ND,    117, 2,  50, 18},
    {"Open",     IDM_OPEN,       168, 2,  42, 18},
    {0,          IDM_COMPILE,    220, 2,  61, 18},
    {0,          IDM_BUILD,      282, 2,  42, 18},
    {0,          IDM_BUILDALL,   325, 2,  58, 18},
    {0,          IDM_CLEAN,      384, 2,  45, 18},
    {"Run",      IDM_EXECUTE,    430, 2,  33, 18},
    {"Undo",     IDM_UNDO,       2,   22, 42, 18},
    {"Cut",      IDM_CUT,        45,  22, 32, 18},
    {"Copy",     IDM_COPY,       78,  22, 42, 18},
    {"Paste",    IDM_PASTE,      121, 22, 46, 18},
    {"Find",     IDM_FIND,       176, 22, 36, 18},
    {"Next",     IDM_FINDNEXT,   213, 22, 38, 18},
    {"Previous", IDM_FINDPREV,   252, 22, 66, 18},
    {"Replace",  IDM_REPLACE,    319, 22, 62, 18},
    {"All",      IDM_REPLACEALL, 382, 22, 28, 18},
    {0,          IDM_HELP1,      422, 22, 46, 18},
    {0,          IDM_HELP2,      469, 22, 51, 18},
    {0,          IDM_HELP3,      521, 22, 48, 18},
    {0,          IDM_HELP4,      570, 22, 51, 18},
};

// Buttons that wait for a loaded file or a first Find.
static const int DisabledAtStart[] = {
    IDM_FINDNEXT, IDM_FINDPREV, IDM_REPLACE, IDM_COMPILE, IDM_BUILD, IDM_BUILDALL,
};

static struct {
    HWND hwndButton[TOOLBAR_BUTTONS];
} Toolbar;

static const char* SettingsLabel(int id)
{
    if (id >= IDM_HELP1 && id <= IDM_HELP4)
        return Penrik.settings.helpName[id - IDM_HELP1];
    if (id == IDM_CLEAN)
        return Penrik.settings.buildName[3];
    return Penrik.settings.buildName[id - IDM_COMPILE];
}

void CreateToolbar(void)
{
    for (int i = 0; i < TOOLBAR_BUTTONS; ++i) {
        const ToolbarRow& row = ToolbarRows[i];
        Toolbar.hwndButton[i] = CreateWindowExA(WS_EX_TOPMOST, "Button",
                                        row.label ? row.label : SettingsLabel(row.id),
                                        WS_CHILD | WS_VISIBLE | WS_TABSTOP, Scaled(row.x), Scaled(row.y),
                                        Scaled(row.width), Scaled(row.height), Penrik.hwndMain,
                                        (HMENU)(INT_PTR)row.id, Penrik.hInst, NULL);
    }
    for (int id : DisabledAtStart)
        EnableWindow(ToolbarButton(id), FALSE);
}

void PlaceToolbar(void)
{
    for (int i = 0; i < TOOLBAR_BUTTONS; ++i) {
        const ToolbarRow& row = ToolbarRows[i];
        MoveWindow(Toolbar.hwndButton[i], Scaled(row.x), Scaled(row.y), Scaled(row.width), Scaled(row.height),
                   TRUE);
    }
}

HFONT MakeToolbarFont(void)
{
    LOGFONTA* record = (LOGFONTA*)LocalAlloc(LPTR, sizeof(LOGFONTA));
    if (record == NULL)
        return NULL;
    record->lfHeight = Scaled(TOOLBAR_FONT_HEIGHT);
    lstrcpynA(record->lfFaceName, TOOLBAR_FONT_FACE, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(record);
    LocalFree(record);
    return font;
}

void SetToolbarFont(HFONT font)
{
    for (int i = 0; i < TOOLBAR_BUTTONS; ++i)
        SendMessageA(Toolbar.hwndButton[i], WM_SETFONT, (WPARAM)font, 0);
}

HWND ToolbarButton(int commandId)
{
    // The "Save" button carries IDM_SAVEAS; no button carries IDM_SAVE.
    for (int i = 0; i < TOOLBAR_BUTTONS; ++i)
        if (ToolbarRows[i].id == commandId)
            return Toolbar.hwndButton[i];
    return NULL;
}

void EnableCommand(int commandId)
{
    EnableMenuItem(Penrik.hMenu, (UINT)commandId, MF_BYCOMMAND | MF_ENABLED);
    EnableWindow(ToolbarButton(commandId), TRUE);
}
