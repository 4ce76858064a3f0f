// Print, Print Setup and the abort dialog, in-process. The jobs that
// reach a printer use the default one (the CUPS PDF queue in the test
// run) through the real print dialog's no-window mode.
#include "harness.h"

#include <stdio.h>
#include <stdlib.h>

#include <set>

namespace {

struct PrintDialogCall {
    DWORD size, flags;
    HWND owner;
    HGLOBAL devMode, devNames;
};

enum PrinterAnswer { CANCEL, FAIL, DEFAULT_PRINTER, MEMORY_DC, SETUP };

struct PrintScript {
    std::deque<PrinterAnswer> answers;
    std::vector<PrintDialogCall> calls;
    DWORD error = 0;
    HGLOBAL setupDevMode = NULL;
    HDC returned = NULL;
    bool pressCancel = false;
    // What the clock saw of the abort dialog while the job ran.
    bool dialogFound = false, dialogVisible = false, mainEnabled = true, cancelFocused = false;
    bool toolbarFont = false;
    std::string nameShown;
    HWND typedTo = NULL;  // a window a character is typed into while the job runs
};
PrintScript printing;

// A window that notes the characters it is given.
wchar_t charArrived;
LRESULT CALLBACK NoteChar(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CHAR)
        charArrived = (wchar_t)wParam;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

BOOL WINAPI FakePrintDlg(LPPRINTDLGA pd)
{
    printing.calls.push_back({pd->lStructSize, pd->Flags, pd->hwndOwner, pd->hDevMode, pd->hDevNames});
    if (printing.answers.empty()) {
        ADD_FAILURE() << "unexpected print dialog";
        return FALSE;
    }
    PrinterAnswer answer = printing.answers.front();
    printing.answers.pop_front();
    switch (answer) {
    case CANCEL:
    case FAIL:
        printing.error = answer == CANCEL ? 0 : PDERR_NODEFAULTPRN;
        return FALSE;
    case DEFAULT_PRINTER: {
        // The real dialog in its windowless mode: the default printer's context.
        PRINTDLGA quiet;
        ZeroMemory(&quiet, sizeof quiet);
        quiet.lStructSize = sizeof quiet;
        quiet.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
        if (!PrintDlgA(&quiet) || quiet.hDC == NULL) {
            ADD_FAILURE() << "no default printer: start the CUPS PDF queue (scripts/printer.sh)";
            return FALSE;
        }
        GlobalFree(quiet.hDevMode);
        GlobalFree(quiet.hDevNames);
        pd->hDC = printing.returned = quiet.hDC;
        return TRUE;
    }
    case MEMORY_DC:
        pd->hDC = printing.returned = CreateCompatibleDC(NULL);
        return TRUE;
    case SETUP:
        if (pd->hDevMode == NULL)
            pd->hDevMode = printing.setupDevMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
        pd->hDC = printing.returned = CreateCompatibleDC(NULL);
        return TRUE;
    }
    return FALSE;
}

DWORD WINAPI FakeExtendedError(void) { return printing.error; }

BOOL CALLBACK FindAbortDialog(HWND hwnd, LPARAM lParam)
{
    char name[32] = "", title[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    GetWindowTextA(hwnd, title, sizeof title);
    if (lstrcmpA(name, "#32770") == 0 && lstrcmpA(title, "Print File") == 0) {
        *(HWND*)lParam = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND AbortDialog()
{
    HWND found = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindAbortDialog, (LPARAM)&found);
    return found;
}

// The job reads the clock once, with the abort dialog up: a good moment
// to look at the dialog and, when asked, to press its Cancel button.
void WINAPI ClockDuringTheJob(LPSYSTEMTIME time)
{
    GetLocalTime(time);
    HWND dialog = AbortDialog();
    printing.dialogFound = dialog != NULL;
    if (dialog == NULL)
        return;
    printing.dialogVisible = IsWindowVisible(dialog) != FALSE;
    printing.mainEnabled = IsWindowEnabled(Penrik.hwndMain) != FALSE;
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    printing.cancelFocused = GetFocus() == cancel;
    printing.toolbarFont = true;
    const int controls[] = {IDCANCEL, 1001, IDC_PRINTNAME, 1002};
    for (int id : controls)
        if ((HFONT)SendDlgItemMessageA(dialog, id, WM_GETFONT, 0, 0) != Penrik.hToolbarFont)
            printing.toolbarFont = false;
    char name[300] = "";
    GetDlgItemTextA(dialog, IDC_PRINTNAME, name, sizeof name);
    printing.nameShown = name;
    if (printing.typedTo != NULL)
        PostMessageW(printing.typedTo, WM_CHAR, 0x0141, 1);
    if (printing.pressCancel)
        PostMessageA(cancel, BM_CLICK, 0, 0);
}

// The first PDF not in `before` that shows up within `milliseconds`.
std::string NewPdf(const std::string& folder, const std::set<std::string>& before, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        for (const std::string& name : PdfNames(folder))
            if (before.count(name) == 0)
                return name;
        Sleep(100);
    } while (GetTickCount() - start < milliseconds);
    return "";
}

// The page count of a PDF the queue writes, once it is complete; -1
// when none can be read.
int PdfPages(const std::string& path)
{
    std::string pdf;
    DWORD start = GetTickCount();
    do {
        Sleep(100);
        pdf.clear();
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_EXISTING, 0, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            char chunk[65536];
            DWORD read = 0;
            while (ReadFile(file, chunk, sizeof chunk, &read, NULL) && read > 0)
                pdf.append(chunk, read);
            CloseHandle(file);
        }
    } while (pdf.find("%%EOF") == std::string::npos && GetTickCount() - start < 20000);
    size_t count = pdf.find("/Count ");
    return count == std::string::npos ? -1 : atoi(pdf.c_str() + count + 7);
}

std::string Lines(int count)
{
    std::string text;
    char line[32];
    for (int i = 1; i <= count; ++i) {
        snprintf(line, sizeof line, "line %d\r\n", i);
        text += line;
    }
    return text;
}

class Printing : public PenrikTest {
protected:
    void SetUp() override
    {
        PenrikTest::SetUp();
        printing = PrintScript();
        Sys.PrintDlgA = FakePrintDlg;
        Sys.CommDlgExtendedError = FakeExtendedError;
        Sys.GetLocalTime = ClockDuringTheJob;
    }
    void TearDown() override
    {
        EXPECT_TRUE(printing.answers.empty()) << "a scripted print dialog never came";
        PenrikTest::TearDown();
    }
};

TEST_F(Printing, SetupKeepsItsChoiceButPrintStartsFromTheDefaultPrinter)
{
    Start();
    printing.answers = {SETUP, SETUP, CANCEL};

    Key('P', false, true);  // Alt+P
    ASSERT_EQ(1u, printing.calls.size());
    EXPECT_EQ(sizeof(PRINTDLGA), printing.calls[0].size);
    EXPECT_EQ((DWORD)(PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_PRINTSETUP), printing.calls[0].flags);
    EXPECT_EQ(Penrik.hwndMain, printing.calls[0].owner);
    EXPECT_EQ((HGLOBAL)NULL, printing.calls[0].devMode);
    // The flags are put back; the choice is kept; the context is not left behind.
    EXPECT_EQ(0u, GetObjectType(printing.returned));

    Command(IDM_PRINTSETUP);
    ASSERT_EQ(2u, printing.calls.size());
    EXPECT_EQ(printing.setupDevMode, printing.calls[1].devMode);
    EXPECT_EQ(printing.calls[0].flags, printing.calls[1].flags);

    // Print asks on a fresh record: no owner, no kept printer.
    Key('P', true);  // Ctrl+P
    ASSERT_EQ(3u, printing.calls.size());
    EXPECT_EQ(sizeof(PRINTDLGA), printing.calls[2].size);
    EXPECT_EQ((DWORD)PD_RETURNDC, printing.calls[2].flags);
    EXPECT_EQ((HWND)NULL, printing.calls[2].owner);
    EXPECT_EQ((HGLOBAL)NULL, printing.calls[2].devMode);
    EXPECT_EQ((HGLOBAL)NULL, printing.calls[2].devNames);
    // A plain cancel says nothing and leaves the window as it was.
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_TRUE(IsWindowEnabled(Penrik.hwndMain));
    EXPECT_EQ(-1, exitCode);
}

TEST_F(Printing, DialogFailureIsReportedAndPrintModeStillEnds)
{
    std::string file = TempDir() + "a.txt";
    WriteFileBytes(file, "text\r\n");
    printing.answers = {FAIL};
    script.boxAnswers = {IDOK};
    Start("/p " + file);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("Print Error 4104", script.boxes[0].text);  // PDERR_NODEFAULTPRN
    EXPECT_EQ("(none)", script.boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONHAND, script.boxes[0].type);
    EXPECT_EQ(0, exitCode);
}

TEST_F(Printing, PrintModeFileThatDoesNotLoadPrintsNothingAndEnds)
{
    Start("/p " + TempDir() + "missing.txt");
    EXPECT_TRUE(printing.calls.empty());
    EXPECT_EQ(0, exitCode);
}

// What the print-mode window was while the load's warning showed.
struct AtTheBox {
    size_t printDialogs;
    bool windowAlive;
};
std::vector<AtTheBox> atTheBox;
int WINAPI BoxNotingThePrint(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    atTheBox.push_back({printing.calls.size(), IsWindow(Penrik.hwndMain) != FALSE});
    // Give anything already posted its chance, as the box's own loop would.
    MSG msg;
    for (int i = 0; i < 20 && PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE); ++i)
        DispatchWithAccelerators(&msg);
    script.boxes.push_back({text, caption != NULL ? caption : "(none)", type});
    return IDOK;
}

TEST_F(Printing, PrintModePrintsOnlyAfterTheLoadHasSaidItsPiece)
{
    // A file with a zero byte: the load warns, then what the control
    // holds is printed, then the program ends.
    std::string file = TempDir() + "zero.txt";
    WriteFileBytes(file, std::string("before\0after", 12));
    printing.answers = {MEMORY_DC};
    atTheBox.clear();
    Sys.MessageBoxA = BoxNotingThePrint;
    Start("/p " + file);
    ASSERT_LE(1u, script.boxes.size());
    EXPECT_NE(std::string::npos, script.boxes[0].text.find("contains zero bytes"));
    ASSERT_LE(1u, atTheBox.size());
    EXPECT_EQ(0u, atTheBox[0].printDialogs) << "the print began inside the load's message";
    EXPECT_TRUE(atTheBox[0].windowAlive);
    EXPECT_EQ(1u, printing.calls.size()) << "the job came after the warning";
    EXPECT_EQ(0, exitCode);
}

TEST_F(Printing, PrinterThatDoesNotStartTheJobEndsItAtOnce)
{
    std::string file = TempDir() + "b.txt";
    WriteFileBytes(file, Lines(5));
    printing.answers = {MEMORY_DC};  // a context that cannot spool
    script.boxAnswers = {IDOK};
    Start("/p " + file);
    ASSERT_EQ(1u, printing.calls.size());
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("The printer did not start the print job.", script.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONHAND, script.boxes[0].type);
    EXPECT_FALSE(printing.dialogFound);  // the job went no further
    EXPECT_EQ(0u, GetObjectType(printing.returned));
    EXPECT_EQ(NULL, AbortDialog());
    EXPECT_EQ(0, exitCode);
}

TEST_F(Printing, CancelStopsTheJobAtThePageEndWithoutEndingTheDocument)
{
    std::string pdfs = PdfFolder();
    ASSERT_FALSE(pdfs.empty()) << "PENRIK_PDF_DIR is not set: run with scripts/printer.sh's queue";
    std::string file = TempDir() + "cancel.txt";
    WriteFileBytes(file, Lines(400));
    std::set<std::string> before = PdfNames(pdfs);

    // A character the code page lacks, typed while the job runs, reaches
    // its window as itself.
    WNDCLASSW noting = {};
    noting.lpfnWndProc = NoteChar;
    noting.hInstance = GetModuleHandleA(NULL);
    noting.lpszClassName = L"NotingChars";
    RegisterClassW(&noting);
    printing.typedTo = CreateWindowW(L"NotingChars", L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL, noting.hInstance, NULL);
    charArrived = 0;

    printing.answers = {DEFAULT_PRINTER};
    printing.pressCancel = true;
    Start("/p " + file);
    DestroyWindow(printing.typedTo);
    EXPECT_EQ(L'\u0141', charArrived);
    ASSERT_TRUE(printing.dialogFound);
    EXPECT_TRUE(printing.dialogVisible);
    EXPECT_FALSE(printing.mainEnabled);
    EXPECT_TRUE(printing.cancelFocused);
    EXPECT_TRUE(printing.toolbarFont);
    EXPECT_EQ(file, printing.nameShown);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(NULL, AbortDialog());
    EXPECT_EQ(0u, GetObjectType(printing.returned));
    EXPECT_EQ(0, exitCode);
    // The document is aborted, not ended. Windows drops it; Wine's
    // spooler still sends what was drawn: the first page, and no more.
    std::string name = NewPdf(pdfs, before, 4000);
    if (!name.empty()) {
        EXPECT_EQ(1, PdfPages(pdfs + name));
    }
}

TEST_F(Printing, UncancelledJobReachesTheQueueWithEveryPage)
{
    std::string pdfs = PdfFolder();
    ASSERT_FALSE(pdfs.empty()) << "PENRIK_PDF_DIR is not set: run with scripts/printer.sh's queue";
    std::string file = TempDir() + "whole.txt";
    WriteFileBytes(file, Lines(400));
    std::set<std::string> before = PdfNames(pdfs);

    printing.answers = {DEFAULT_PRINTER};
    Start("/p " + file);
    ASSERT_TRUE(printing.dialogFound);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(0, exitCode);

    std::string name = NewPdf(pdfs, before, 30000);
    ASSERT_NE("", name) << "the job did not reach the queue";
    // 400 lines take more than one page at any sensible line height.
    EXPECT_GE(PdfPages(pdfs + name), 2);
}

}  // namespace

namespace {

std::string WideText(const WORD*& p)
{
    std::string text;
    while (*p != 0)
        text += (char)*p++;
    ++p;
    return text;
}

struct TemplateItem {
    DWORD style;
    short x, y, cx, cy;
    WORD id, classAtom;
    std::string text;
};

TEST(AbortDialogTemplate, MatchesItsTable)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(module, "AbortDlg", (LPCSTR)RT_DIALOG);
    ASSERT_NE((HRSRC)NULL, found);
    const BYTE* base = (const BYTE*)LockResource(LoadResource(module, found));
    const DLGTEMPLATE* dialog = (const DLGTEMPLATE*)base;
    EXPECT_EQ((DWORD)(WS_CAPTION | WS_SYSMENU | DS_MODALFRAME), dialog->style);
    EXPECT_EQ(0u, dialog->dwExtendedStyle);
    ASSERT_EQ(4, dialog->cdit);
    EXPECT_EQ(20, dialog->x);
    EXPECT_EQ(20, dialog->y);
    EXPECT_EQ(190, dialog->cx);
    EXPECT_EQ(64, dialog->cy);
    const WORD* p = (const WORD*)(dialog + 1);
    EXPECT_EQ(0, *p++);  // no menu
    EXPECT_EQ(0, *p++);  // the standard dialog class
    EXPECT_EQ("Print File", WideText(p));

    const DWORD common = WS_CHILD | WS_VISIBLE | WS_GROUP;
    const TemplateItem expected[4] = {
        {common | WS_TABSTOP | BS_DEFPUSHBUTTON, 79, 44, 32, 14, IDCANCEL, 0x80, "Cancel"},
        {common | SS_CENTER, 0, 8, 180, 8, 1001, 0x82, "Sending File"},
        {common | SS_CENTER, 0, 18, 180, 8, IDC_PRINTNAME, 0x82, ""},
        {common | SS_CENTER, 0, 28, 180, 8, 1002, 0x82, "to print spooler."},
    };
    for (const TemplateItem& want : expected) {
        p = (const WORD*)(((ULONG_PTR)p - (ULONG_PTR)base + 3) / 4 * 4 + base);
        const DLGITEMTEMPLATE* item = (const DLGITEMTEMPLATE*)p;
        EXPECT_EQ(want.style, item->style) << want.text;
        EXPECT_EQ(want.x, item->x) << want.text;
        EXPECT_EQ(want.y, item->y) << want.text;
        EXPECT_EQ(want.cx, item->cx) << want.text;
        EXPECT_EQ(want.cy, item->cy) << want.text;
        EXPECT_EQ(want.id, item->id) << want.text;
        p = (const WORD*)(item + 1);
        // The class comes as its atom or by name, as the resource compiler
        // chose; the system treats the two alike.
        if (p[0] == 0xFFFF) {
            EXPECT_EQ(want.classAtom, p[1]) << want.text;
            p += 2;
        } else {
            std::string name = WideText(p);
            EXPECT_EQ(0, lstrcmpiA(name.c_str(), want.classAtom == 0x80 ? "BUTTON" : "STATIC")) << name;
        }
        EXPECT_EQ(want.text, WideText(p));
        p += 1 + *p / sizeof(WORD);  // creation data
    }
}

// With no printer at all. ctest's win-noprinter runs it in a process of
// its own once the queue is stopped; with a printer the real Print dialog
// would wait for a person.
using NoPrinter = PenrikTest;

// Wine's Print dialog first tells the user, in a box of its own, that a
// printer must be installed; this presses its OK.
void CALLBACK PressPlatformBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowA("#32770", "Print");
    if (box != NULL && GetWindowThreadProcessId(box, NULL) == GetCurrentThreadId())
        PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(NoPrinter, PrintModeShowsThePrintErrorAndEnds)
{
    if (getenv("PENRIK_NO_PRINTER") == NULL)
        GTEST_SKIP() << "runs with the printer stopped";
    PRINTDLGA probe;
    ZeroMemory(&probe, sizeof probe);
    probe.lStructSize = sizeof probe;
    probe.Flags = PD_RETURNDEFAULT;
    ASSERT_FALSE(PrintDlgA(&probe)) << "a default printer exists";

    std::string file = TempDir() + "c.txt";
    WriteFileBytes(file, "text\r\n");
    script.boxAnswers = {IDOK};
    UINT_PTR timer = SetTimer(NULL, 0, 100, PressPlatformBox);
    Start("/p " + file);
    KillTimer(NULL, timer);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("Print Error 4104", script.boxes[0].text);  // PDERR_NODEFAULTPRN
    EXPECT_EQ((UINT)MB_ICONHAND, script.boxes[0].type);
    EXPECT_EQ(0, exitCode);
}

}  // namespace
