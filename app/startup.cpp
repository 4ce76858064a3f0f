// Start-up, the message loop, and the teardown that lets start-up run
// again in the same process.
#include "penrik.h"
#include "cmdline.h"

#include <stdio.h>

HINSTANCE hInst;
HWND prevWindow;
int platformV4;
int printMode;
HCURSOR hWaitCursor, hArrowCursor;
HACCEL hAccel;
HWND hwndMain, hwndEdit;
HMENU hMenu;
DWORD editStyle;
HFONT hToolbarFont;
HFONT hEditFont;
HBRUSH hEditBrush;
char mailLibraryName[16];

static const char* const HelpKeySuffix[4] = {"\tF1", "\tF6", "\tF7", "\tF8"};

static void ResetShellState(void)
{
    hInst = NULL;
    prevWindow = NULL;
    platformV4 = 0;
    printMode = 0;
    hWaitCursor = hArrowCursor = NULL;
    hAccel = NULL;
    hwndMain = hwndEdit = NULL;
    hMenu = NULL;
    ZeroMemory(hwndButton, sizeof hwndButton);
    editStyle = EDIT_STYLE_PLAIN;
    hToolbarFont = NULL;
    hEditFont = NULL;
    hEditBrush = NULL;
    mailLibraryName[0] = '\0';
    lineShown = 0;
    TextBuffer[0] = '\0';
    ResetDocumentState();
    ResetEditingState();
    ResetSearchState();
}

static HFONT MakeToolbarFont(void)
{
    LOGFONTA* record = (LOGFONTA*)LocalAlloc(LPTR, sizeof(LOGFONTA));
    if (record == NULL)
        return NULL;
    record->lfHeight = 8;
    lstrcpynA(record->lfFaceName, "MS Sans Serif", LF_FACESIZE);
    HFONT font = CreateFontIndirectA(record);
    LocalFree(record);
    return font;
}

// A settings file edited by hand can put the window where nobody can
// see it; then the stored geometry gives way to the default one.
static void KeepWindowOnScreen(void)
{
    RECT screen, window;
    screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    long long right = (long long)Settings.x + Settings.width;
    long long bottom = (long long)Settings.y + Settings.height;
    bool sane = Settings.width > 0 && Settings.height > 0 && right <= 0x7FFFFFFF && bottom <= 0x7FFFFFFF;
    if (sane) {
        SetRect(&window, Settings.x, Settings.y, (int)right, (int)bottom);
        RECT common;
        sane = IntersectRect(&common, &screen, &window) != FALSE;
    }
    if (!sane) {
        Settings.x = SettingKeys[SET_X].intDefault;
        Settings.y = SettingKeys[SET_Y].intDefault;
        Settings.width = SettingKeys[SET_WIDTH].intDefault;
        Settings.height = SettingKeys[SET_HEIGHT].intDefault;
    }
}

int StartUp(HINSTANCE instance, const char* commandLine, int showCommand)
{
    ResetShellState();

    // Class names compare without regard to case, so this finds any
    // running instance's "PenrikWClass".
    prevWindow = FindWindowA(FIND_CLASS_NAME, NULL);

    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "Icon");
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    wc.lpszMenuName = "PenrikMenu";
    wc.lpszClassName = MAIN_CLASS_NAME;
    if (!RegisterClassA(&wc))
        return 0;

    hWaitCursor = LoadCursorA(NULL, IDC_WAIT);
    hArrowCursor = LoadCursorA(NULL, IDC_ARROW);
    SetCursor(hWaitCursor);

    if (LOBYTE(LOWORD(Sys.GetVersion())) == 4)
        platformV4 = 1;

    int storedNameFits = LoadSettings();

    if (prevWindow != NULL) {
        Settings.textColor = 0x00800000;
        Settings.x = 50;
        Settings.y = 25;
    }

    CommandLine line = InterpretCommandLine(commandLine, DocumentName, sizeof DocumentName);
    if (line.printMode) {
        printMode = 1;
        showCommand = SW_HIDE;
    }

    if (IsBuildResultsName(DocumentName)) {
        Settings.textColor = 0x00000080;
        Settings.x = 0;
        Settings.y = 200;
        Settings.height = 280;
    }

    KeepWindowOnScreen();

    hInst = instance;
    hAccel = LoadAcceleratorsA(hInst, "penrikAcc");

    hwndMain = CreateWindowExA(0, MAIN_CLASS_NAME, MAIN_TITLE, WS_OVERLAPPEDWINDOW, Settings.x,
                               Settings.y, Settings.width, Settings.height, NULL, NULL, hInst, NULL);
    if (hwndMain == NULL) {
        UnregisterClassA(MAIN_CLASS_NAME, instance);
        return 0;
    }

    editStyle = EDIT_STYLE_PLAIN;
    if (Settings.wordWrap != 0) {
        editStyle = EDIT_STYLE_WRAP;
        CheckMenuItem(GetMenu(hwndMain), IDM_WORDWRAP, MF_BYCOMMAND | MF_CHECKED);
    }

    hwndEdit = CreateEditControl(editStyle);
    if (hwndEdit == NULL) {
        DestroyWindow(hwndMain);
        hwndMain = NULL;
        ShutDown();
        return 0;
    }

    CreateToolbar();
    SendMessageA(hwndEdit, EM_LIMITTEXT, 0, 0);

    InitFileDialogData();
    InitPrintSetupData();

    ApplyStartupFonts();
    hToolbarFont = MakeToolbarFont();
    for (int i = 0; i < TOOLBAR_BUTTONS; ++i)
        SendMessageA(hwndButton[i], WM_SETFONT, (WPARAM)hToolbarFont, 0);

    ShowWindow(hwndMain, showCommand);
    UpdateWindow(hwndMain);

    DWORD tabStop = 8;
    SendMessageA(hwndEdit, EM_SETTABSTOPS, 1, (LPARAM)&tabStop);

    InitFontDialogData();
    hMenu = GetMenu(hwndMain);

    // The toolbar took the bare names above; the menu shows the keys too.
    for (int n = 0; n < 4; ++n) {
        char* name = Settings.helpName[n];
        lstrcpynA(name + lstrlenA(name), HelpKeySuffix[n], 4);
        ModifyMenuA(hMenu, IDM_HELP1 + n, MF_BYCOMMAND | MF_STRING, IDM_HELP1 + n, name);
    }

    hEditBrush = CreateSolidBrush(Settings.backColor);
    // The first paint above had no brush yet: the empty part of the
    // control would stay in the system's colour.
    InvalidateRect(hwndEdit, NULL, TRUE);
    DragAcceptFiles(hwndMain, TRUE);

    OFSTRUCT found;
    if (Sys.OpenFile("mapi32.dll", &found, OF_EXIST) == HFILE_ERROR)
        EnableMenuItem(hMenu, IDM_SENDMAIL, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    else
        snprintf(mailLibraryName, sizeof mailLibraryName, "%s", "mapi32.dll");

    if (prevWindow != NULL) {
        EnableMenuItem(hMenu, IDM_OPEN2ND, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
        EnableWindow(ToolbarButton(IDM_OPEN2ND), FALSE);
    }

    if (line.nameTooLong || (!storedNameFits && DocumentName[0] == '\0'))
        Sys.MessageBoxA(hwndMain, "The file name is longer than 255 characters; "
                                  "an empty document was opened instead.",
                        NULL, MB_ICONEXCLAMATION);

    if (DocumentName[0] != '\0') {
        PostMessageA(hwndMain, WM_COMMAND, IDM_LOADFILE, 0);
        if (printMode)
            PostMessageA(hwndMain, WM_COMMAND, IDM_PRINT, 0);
    } else {
        StartEmptyDocument();
        // A hidden print-mode window with nothing to print would never end.
        if (printMode)
            PostMessageA(hwndMain, WM_COMMAND, IDM_EXIT, 0);
    }

    SetCursor(hArrowCursor);
    return 1;
}

int DispatchWithAccelerators(MSG* msg)
{
    if (TranslateAcceleratorA(hwndMain, hAccel, msg))
        return 1;
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return 0;
}

int RunMessageLoop(void)
{
    MSG msg;
    ZeroMemory(&msg, sizeof msg);
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchWithAccelerators(&msg);
    return (int)msg.wParam;
}

void ShutDown(void)
{
    if (hwndMain != NULL && IsWindow(hwndMain))
        DestroyWindow(hwndMain);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
    UnregisterClassA(MAIN_CLASS_NAME, hInst != NULL ? hInst : GetModuleHandleA(NULL));
    if (hToolbarFont != NULL)
        DeleteObject(hToolbarFont);
    if (hEditFont != NULL)
        DeleteObject(hEditFont);
    if (hEditBrush != NULL)
        DeleteObject(hEditBrush);
    if (TextBlock != NULL)
        LocalFree(TextBlock);
    hToolbarFont = NULL;
    hEditFont = NULL;
    hEditBrush = NULL;
    TextBlock = NULL;
    hwndMain = hwndEdit = NULL;
}
