// The main window procedure: window messages, the status panel and the
// routing of every command to the part of the program that owns it.
#include "app/shell.h"
#include "base/editor_messages.h"
#include "document/document.h"
#include "editing/editing.h"
#include "print/print.h"
#include "search/search.h"
#include "tools/tools.h"

// The status panel: a black line under the toolbar and a sunken frame
// around the line indicator, in BASE_DPI pixels.
#define SEPARATOR_Y     43
#define SEPARATOR_RIGHT 632
#define FRAME_LEFT      466
#define FRAME_TOP       3
#define FRAME_RIGHT     620
#define FRAME_BOTTOM    19
#define FRAME_PEN_WIDTH 2

static struct {
    unsigned long startLine, startColumn;  // where the first load puts the caret (0: nowhere)
    bool printMode;     // the window is hidden and ends once the file is printed
    bool printPending;  // print mode's job waits for the load to finish
    bool loadFailed;    // the last internal load did not load the document
    bool sessionAgreed; // the end of the session was asked about and agreed to
} Shell;

void SetStartPlace(unsigned long line, unsigned long column)
{
    Shell.startLine = line;
    Shell.startColumn = column;
}

void SetPrintMode(bool on)
{
    Shell.printMode = on;
    Shell.printPending = on;
    Shell.loadFailed = false;
    Shell.sessionAgreed = false;
}

static void PaintStatusPanel(HDC dc)
{
    // The line is one pixel at 96 DPI, and as many more as the scale asks.
    HPEN line = CreatePen(PS_SOLID, Scaled(1), RGB(0, 0, 0));
    HGDIOBJ previous = SelectObject(dc, line);
    MoveToEx(dc, 0, Scaled(SEPARATOR_Y), NULL);
    LineTo(dc, Scaled(SEPARATOR_RIGHT), Scaled(SEPARATOR_Y));

    // Sunken: dark on the left and top, white on the right and bottom.
    int left = Scaled(FRAME_LEFT), top = Scaled(FRAME_TOP), right = Scaled(FRAME_RIGHT),
        bottom = Scaled(FRAME_BOTTOM);
    HPEN dark = CreatePen(PS_SOLID, Scaled(FRAME_PEN_WIDTH), RGB(0x80, 0x80, 0x80));
    HPEN light = CreatePen(PS_SOLID, Scaled(FRAME_PEN_WIDTH), RGB(0xFF, 0xFF, 0xFF));
    SelectObject(dc, dark);
    MoveToEx(dc, left, bottom + Scaled(1), NULL);
    LineTo(dc, left, top);
    LineTo(dc, right, top);
    LineTo(dc, right, top + Scaled(1));
    SelectObject(dc, light);
    LineTo(dc, right, bottom);
    LineTo(dc, left, bottom);
    SelectObject(dc, previous);
    DeleteObject(line);
    DeleteObject(dark);
    DeleteObject(light);

    PaintLineIndicator(dc);
}

// The window moved to a display of another scale: it takes the size the
// system suggests, and its children their places and fonts at the new DPI.
static void ChangeDpi(HWND hwnd, int dpi, const RECT* suggested)
{
    Penrik.dpi = dpi;
    HFONT old = Penrik.hToolbarFont;
    Penrik.hToolbarFont = MakeToolbarFont();
    SetToolbarFont(Penrik.hToolbarFont);
    if (old != NULL)
        DeleteObject(old);
    PlaceToolbar();
    ScaleEditor();
    SetWindowPos(hwnd, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(hwnd, &client);
    FitEditor(client.right, client.bottom);
    InvalidateRect(hwnd, NULL, TRUE);
}

static void EnableBuildCommands(void)
{
    EnableCommand(IDM_COMPILE);
    EnableCommand(IDM_BUILD);
    EnableCommand(IDM_BUILDALL);
}

static void ExitCommand(void)
{
    if (QuerySave(Penrik.hwndMain) == 0)
        return;
    DestroyWindow(Penrik.hwndMain);
}

static void LoadCommand(void)
{
    Shell.loadFailed = !LoadDocument();
    if (!Shell.loadFailed)
        EnableBuildCommands();
    if (!Shell.loadFailed && Shell.startLine != 0)
        PlaceCaret(Shell.startLine, Shell.startColumn);
    Shell.startLine = Shell.startColumn = 0;
    // Only now, with the load and whatever it had to say behind it.
    if (Shell.printPending) {
        Shell.printPending = false;
        PostMessageA(Penrik.hwndMain, WM_COMMAND, IDM_PRINT, 0);
    }
}

static void Print(void)
{
    if (PrintJobRunning())
        return;
    if (Shell.printMode && Shell.loadFailed) {
        // Nothing of the file is on screen to print, and nothing typed
        // by anyone is lost by leaving.
        SetModified(0);
    } else {
        PrintCommand();
    }
    // A print-mode window is hidden: it must end however the job went.
    if (Shell.printMode)
        PostMessageA(Penrik.hwndMain, WM_COMMAND, IDM_EXIT, 0);
}

// Returns 0 when the identifier belongs to no command.
static int RouteCommand(int id)
{
    switch (id) {
    case IDM_NEW:
    case IDM_OPEN:
    case IDM_OPEN2ND:
    case IDM_SAVE:
    case IDM_SAVEAS:
    case IDM_DELETEFILE:
        if (FileCommand(id))
            EnableBuildCommands();
        break;
    case IDM_LOADFILE:     LoadCommand(); break;
    case IDM_PRINT:        Print(); break;
    case IDM_PRINTSETUP:   PrintSetupCommand(); break;
    case IDM_SETFONT:      SetFontCommand(); break;
    case IDM_SETCOLOR:     SetColorCommand(); break;
    case IDM_SAVESETTINGS: SaveSettings(); break;
    case IDM_WORDWRAP:     WordWrapCommand(); break;
    case IDM_SENDMAIL:     SendMailCommand(); break;
    case IDM_EXIT:         ExitCommand(); break;
    case IDM_UNDO:
    case IDM_REDO:
    case IDM_CUT:
    case IDM_COPY:
    case IDM_PASTE:
    case IDM_CLEAR:
    case IDM_SELECTALL:    EditCommand(id); break;
    case IDM_FIND:
        // Once there is something to find, finding again makes sense.
        EnableCommand(IDM_FINDNEXT);
        EnableCommand(IDM_FINDPREV);
        EnableCommand(IDM_REPLACE);
        SearchCommand(id);
        break;
    case IDM_FINDNEXT:
    case IDM_FINDPREV:
    case IDM_REPLACE:      SearchCommand(id); break;
    case IDM_REPLACEALL:   ReplaceAllCommand(REPLACE_ALL_IN_ONE_PASS); break;
    case IDM_GOTO:         GoToCommand(); break;
    case IDM_NEXTMESSAGE:
    case IDM_PREVMESSAGE:
    case IDM_GOTOPLACE:
        if (MessageCommand(id))
            EnableBuildCommands();
        break;
    case IDM_COMPILE:
    case IDM_BUILD:
    case IDM_BUILDALL:
    case IDM_CLEAN:
    case IDM_EXECUTE:
    case IDM_DEBUG:        BuildCommand(id); break;
    case IDM_HELP1:
    case IDM_HELP2:
    case IDM_HELP3:
    case IDM_HELP4:        HelpCommand(id); break;
    case IDM_ABOUT:        AboutCommand(); break;
    default:               return 0;
    }
    return 1;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        FitEditor(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DPICHANGED:
        ChangeDpi(hwnd, HIWORD(wParam), (const RECT*)lParam);
        return 0;
    case WM_SETFOCUS:
        SetFocus(Penrik.hwndEdit);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        PaintStatusPanel(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        if (QuerySave(hwnd) != SAVE_STOPPED)
            DestroyWindow(hwnd);
        return 0;
    case WM_QUERYENDSESSION: {
        // The system may end the process while the question waits.
        WriteRecoveryCopy(true);
        Shell.sessionAgreed = QuerySave(hwnd) != SAVE_STOPPED;
        return Shell.sessionAgreed;
    }
    case WM_ENDSESSION:
        // No WM_DESTROY follows: the process ends when this returns. A
        // session ended without asking keeps its changes in the copy.
        if (wParam && Shell.sessionAgreed)
            EndRecovery();
        else if (wParam)
            WriteRecoveryCopy(true);
        Shell.sessionAgreed = false;
        return 0;
    case WM_TIMER:
        if (wParam == RECOVERY_TIMER) {
            RecoveryTimer();
            return 0;
        }
        break;
    case WM_DESTROY:
        EndRecovery();
        PostQuitMessage(0);
        return 0;
    case WM_SETCURSOR:
        if ((HWND)wParam == Penrik.hwndEdit && Penrik.hwndEdit != NULL) {
            CutOrPasteOnRightButton(HIWORD(lParam));
            return 0;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_EDIT)
            return EditNotification(hwnd, msg, wParam, lParam);
        if (RouteCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_EDITORDOUBLECLICK:
        return OpenMessageAtCaret();
    case WM_COPYDATA:
        return TakePlaceRequest((const COPYDATASTRUCT*)lParam);
    case WM_CTLCOLOREDIT:
        return (LRESULT)EditColors((HDC)wParam, (HWND)lParam);
    case WM_DROPFILES:
        if (DropFiles((HDROP)wParam))
            EnableBuildCommands();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
