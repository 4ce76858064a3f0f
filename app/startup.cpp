// Start-up, the message loop, and the teardown that lets start-up run
// again in the same process.
#include "app/cmdline.h"
#include "app/settings_keys.h"
#include "app/shell.h"
#include "base/messages.h"
#include "document/document.h"
#include "editing/editing.h"
#include "print/print.h"
#include "search/search.h"
#include "tools/tools.h"

// This program's window class. A running copy is looked for under the
// other spelling: class names compare without regard to case, so it
// finds any running instance's "PenrikWClass".
#define MAIN_CLASS_NAME "PenrikWClass"
#define FIND_CLASS_NAME "penrikWClass"

// Where a second copy and the build-results layout put their windows.
#define SECOND_COPY_X          50
#define SECOND_COPY_Y          25
#define SECOND_COPY_TEXT       0x00800000  // navy
#define BUILD_RESULTS_X        0
#define BUILD_RESULTS_Y        200
#define BUILD_RESULTS_HEIGHT   280
#define BUILD_RESULTS_TEXT     0x00000080  // maroon

static struct {
    HWND prevWindow;  // a running copy's main window
    HACCEL hAccel;
} StartState;

static const char* const HelpKeySuffix[4] = {"\tF1", "\tF6", "\tF7", "\tF8"};

static void ResetProcessState(void)
{
    ZeroMemory(&Penrik, sizeof Penrik);
    StartState.prevWindow = NULL;
    StartState.hAccel = NULL;
    SetPrintMode(false);
    SetStartPlace(0, 0);
    ResetDocument();
    ResetEditing();
    ResetSearch();
    ResetMessages();
}

// The stored place is the screen's, in pixels; the size is in BASE_DPI
// pixels, for the display under that place. A settings file edited by
// hand, or a display since removed, can put the window where nobody can
// see it; then the stored geometry gives way to the default one.
static void KeepWindowOnScreen(SettingsRecord* settings)
{
    POINT place = {settings->x, settings->y};
    int dpi = (int)Sys.MonitorDpi(place);
    long long right = (long long)settings->x + (long long)settings->width * dpi / BASE_DPI;
    long long bottom = (long long)settings->y + (long long)settings->height * dpi / BASE_DPI;
    bool sane = settings->width > 0 && settings->height > 0 && right <= 0x7FFFFFFF && bottom <= 0x7FFFFFFF;
    if (sane) {
        RECT window;
        SetRect(&window, settings->x, settings->y, (int)right, (int)bottom);
        sane = MonitorFromRect(&window, MONITOR_DEFAULTTONULL) != NULL;
    }
    if (!sane) {
        settings->x = SettingKeys[SET_X].intDefault;
        settings->y = SettingKeys[SET_Y].intDefault;
        settings->width = SettingKeys[SET_WIDTH].intDefault;
        settings->height = SettingKeys[SET_HEIGHT].intDefault;
    }
}

// Makes `name` a full path against the current folder. Returns 0, with
// the name emptied, when the full path does not fit.
static int ResolveName(wchar_t* name, size_t size)
{
    // Completing a name that is no file's would make it another one (the
    // trailing dot goes): it stays as given, and the load says why.
    if (name[0] == 0 || !UsableName(name))
        return 1;
    wchar_t full[MAX_PATH + NAME_SIZE];
    SetLastError(ERROR_SUCCESS);
    DWORD length = GetFullPathNameW(name, MAX_PATH + NAME_SIZE, full, NULL);
    if (length == 0 && GetLastError() != ERROR_FILENAME_EXCED_RANGE)
        return 1;  // not a path the system can complete: kept as given
    if (length == 0 || length >= size) {
        name[0] = 0;
        return 0;
    }
    lstrcpynW(name, full, (int)size);
    return 1;
}

int StartUp(HINSTANCE instance, const wchar_t* commandLine, int showCommand)
{
    ResetProcessState();
    // The window is made at the system's DPI; it may then find itself on
    // a display of its own.
    Penrik.dpi = (int)Sys.WindowDpi(NULL);

    StartState.prevWindow = FindWindowA(FIND_CLASS_NAME, NULL);

    // A window of characters: its caption shows a name of any script.
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, L"Icon");
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    wc.lpszMenuName = L"PenrikMenu";
    wc.lpszClassName = L"" MAIN_CLASS_NAME;
    if (!RegisterClassW(&wc))
        return 0;

    SetCursor(LoadCursorA(NULL, IDC_WAIT));

    if (LOBYTE(LOWORD(Sys.GetVersion())) == 4)
        Penrik.platformV4 = true;

    SettingsRecord& settings = Penrik.settings;
    wchar_t name[NAME_SIZE];
    int storedNameFits = LoadSettings(name, NAME_SIZE);
    // An unusable stored place gives way to the default before a second
    // copy or the build results take their own places from it.
    KeepWindowOnScreen(&settings);

    if (StartState.prevWindow != NULL) {
        settings.textColor = SECOND_COPY_TEXT;
        settings.x = Scaled(SECOND_COPY_X);
        settings.y = Scaled(SECOND_COPY_Y);
    }

    CommandLine line = InterpretCommandLine(commandLine, name, NAME_SIZE);
    SetStartPlace(line.goLine, line.goColumn);
    if (line.printMode) {
        SetPrintMode(true);
        showCommand = SW_HIDE;
    }

    if (IsBuildResultsName(name)) {
        settings.textColor = BUILD_RESULTS_TEXT;
        settings.x = Scaled(BUILD_RESULTS_X);
        settings.y = Scaled(BUILD_RESULTS_Y);
        settings.height = BUILD_RESULTS_HEIGHT;
    }

    // The dialogs change the current folder: a relative name would come to
    // mean another file. The build-results layout went by the name as given.
    int nameFits = ResolveName(name, NAME_SIZE);
    SetDocumentName(name);

    Penrik.hInst = instance;
    StartState.hAccel = LoadAcceleratorsA(instance, "penrikAcc");

    POINT place = {settings.x, settings.y};
    int placeDpi = (int)Sys.MonitorDpi(place);
    Penrik.hwndMain = CreateWindowExW(0, L"" MAIN_CLASS_NAME, L"" MAIN_TITLE, WS_OVERLAPPEDWINDOW, settings.x,
                                      settings.y, MulDiv(settings.width, placeDpi, BASE_DPI),
                                      MulDiv(settings.height, placeDpi, BASE_DPI), NULL, NULL, instance, NULL);
    if (Penrik.hwndMain == NULL) {
        UnregisterClassW(L"" MAIN_CLASS_NAME, instance);
        return 0;
    }
    int windowDpi = (int)Sys.WindowDpi(Penrik.hwndMain);
    Penrik.dpi = windowDpi;
    if (windowDpi != placeDpi) {
        SetWindowPos(Penrik.hwndMain, NULL, 0, 0, Scaled(settings.width), Scaled(settings.height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    if (!CreateEditor()) {
        DestroyWindow(Penrik.hwndMain);
        Penrik.hwndMain = NULL;
        ShutDown();
        return 0;
    }

    CreateToolbar();
    ResetPrinting();

    Penrik.hToolbarFont = MakeToolbarFont();
    SetToolbarFont(Penrik.hToolbarFont);

    ShowWindow(Penrik.hwndMain, showCommand);
    UpdateWindow(Penrik.hwndMain);

    Penrik.hMenu = GetMenu(Penrik.hwndMain);
    ApplyEditorLook();

    // The toolbar took the bare names above; the menu shows the keys too.
    for (int n = 0; n < 4; ++n) {
        char* help = settings.helpName[n];
        lstrcpynA(help + lstrlenA(help), HelpKeySuffix[n], 4);
        ModifyMenuA(Penrik.hMenu, IDM_HELP1 + n, MF_BYCOMMAND | MF_STRING, IDM_HELP1 + n, help);
    }

    DragAcceptFiles(Penrik.hwndMain, TRUE);

    if (!FindMailLibrary())
        EnableMenuItem(Penrik.hMenu, IDM_SENDMAIL, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);

    if (StartState.prevWindow != NULL) {
        EnableMenuItem(Penrik.hMenu, IDM_OPEN2ND, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
        EnableWindow(ToolbarButton(IDM_OPEN2ND), FALSE);
    }

    if (line.nameTooLong || !nameFits || (!storedNameFits && name[0] == 0))
        ShowMessage(Penrik.hwndMain, IDS_START_NAME_TOO_LONG, 0, MB_ICONEXCLAMATION);

    StartRecovery(!line.printMode);
    if (name[0] != 0) {
        // In print mode the load itself starts the printing, once done.
        PostMessageA(Penrik.hwndMain, WM_COMMAND, IDM_LOADFILE, 0);
    } else {
        StartEmptyDocument();
        // A hidden print-mode window with nothing to print would never end.
        if (line.printMode)
            PostMessageA(Penrik.hwndMain, WM_COMMAND, IDM_EXIT, 0);
    }

    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    return 1;
}

// Messages are taken as characters: an ANSI loop would turn a typed
// character that the code page lacks into a question mark on its way to
// the edit control.
int DispatchWithAccelerators(MSG* msg)
{
    if (TranslateAcceleratorW(Penrik.hwndMain, StartState.hAccel, msg))
        return 1;
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return 0;
}

int RunMessageLoop(void)
{
    MSG msg;
    ZeroMemory(&msg, sizeof msg);
    while (GetMessageW(&msg, NULL, 0, 0) > 0)
        DispatchWithAccelerators(&msg);
    return (int)msg.wParam;
}

void ShutDown(void)
{
    if (Penrik.hwndMain != NULL && IsWindow(Penrik.hwndMain))
        DestroyWindow(Penrik.hwndMain);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
    UnregisterClassW(L"" MAIN_CLASS_NAME, Penrik.hInst != NULL ? Penrik.hInst : GetModuleHandleA(NULL));
    if (Penrik.hToolbarFont != NULL)
        DeleteObject(Penrik.hToolbarFont);
    ReleaseEditorLook();
    ReleasePrinting();
    ResetDocument();
    Penrik.hToolbarFont = NULL;
    Penrik.hwndMain = Penrik.hwndEdit = NULL;
}
