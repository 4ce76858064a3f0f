// Print and Print Setup: the printer dialogs, the abort dialog, and the
// job that prints the edit control's lines with a header on every page.
#include "penrik.h"
#include "layout.h"

#include <stdio.h>
#include <string.h>

#define PRINT_LEFT       99   // x of the header and of every body line
#define LINE_BUFFER_SIZE 128

PRINTDLGA PrintSetupData;

// One print job's state; valid only while PrintDocument runs.
static int UserAbort;
static int JobRunning;
static HWND hwndAbort;
static HFONT PrintFont;
static int32_t LineHeight;
static int32_t LinesPerPage;
static uint32_t LineCount;   // full width: a text of 65,536 lines or more prints whole
static uint32_t LineIndex;
static int32_t PrintRow;
static uint32_t PageNumber;
static char LineBuffer[LINE_BUFFER_SIZE];
static char AmPm[AMPM_SIZE];
// The header is formatted here rather than in the shared text buffer,
// which is too small for a long file name.
static char PageHeader[PAGE_HEADER_SIZE];
static INT PrintTabStop[1] = {34};

#if !defined(_WIN64)
static_assert(sizeof(PRINTDLGA) == 66, "PRINTDLGA is 66 bytes on 32-bit Windows");
static_assert(sizeof(DOCINFOA) == 20, "DOCINFOA is 20 bytes on 32-bit Windows");
#endif
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA is 60 bytes");

void InitPrintSetupData(void)
{
    // Start-up may run again in one process; the old blocks go.
    if (PrintSetupData.hDevMode != NULL)
        GlobalFree(PrintSetupData.hDevMode);
    if (PrintSetupData.hDevNames != NULL)
        GlobalFree(PrintSetupData.hDevNames);
    ZeroMemory(&PrintSetupData, sizeof PrintSetupData);
    PrintSetupData.lStructSize = sizeof PrintSetupData;
    PrintSetupData.hwndOwner = hwndMain;
    PrintSetupData.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    PrintSetupData.nCopies = 1;
    UserAbort = 0;
    JobRunning = 0;
    hwndAbort = NULL;
    PrintFont = NULL;
}

static void PrintSetup(void)
{
    DWORD flags = PrintSetupData.Flags;
    PrintSetupData.Flags |= PD_PRINTSETUP;
    Sys.PrintDlgA(&PrintSetupData);
    PrintSetupData.Flags = flags;
    // The context that PD_RETURNDC brings back is not used by anyone.
    if (PrintSetupData.hDC != NULL) {
        DeleteDC(PrintSetupData.hDC);
        PrintSetupData.hDC = NULL;
    }
}

// The system Print dialog on a fresh record, so that every Print starts
// from the default printer. Null when cancelled or failed.
static HDC GetPrinterDC(void)
{
    PRINTDLGA dialog;
    ZeroMemory(&dialog, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDC;
    if (!Sys.PrintDlgA(&dialog))
        return NULL;
    if (dialog.hDevMode != NULL)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames != NULL)
        GlobalFree(dialog.hDevNames);
    return dialog.hDC;
}

// Called while spooling: lets the abort dialog (and everything else)
// see its messages.
static BOOL CALLBACK AbortProc(HDC dc, int code)
{
    (void)dc;
    (void)code;
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return TRUE;
}

static INT_PTR CALLBACK AbortDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG: {
        static const int controls[] = {IDCANCEL, 1001, IDC_PRINTNAME, 1002};
        for (int id : controls)
            SendDlgItemMessageA(dialog, id, WM_SETFONT, (WPARAM)hToolbarFont, TRUE);
        SetFocus(GetDlgItem(dialog, IDCANCEL));
        SetDlgItemTextA(dialog, IDC_PRINTNAME, DocumentName);
        return TRUE;
    }
    case WM_COMMAND:
        // Cancel and the close box alike; the job closes the dialog.
        UserAbort = 1;
        return TRUE;
    }
    return FALSE;
}

static void PrintHeader(HDC dc, const HeaderClock& clock, const PageLayout& layout)
{
    int length = FormatPageHeader(PageHeader, sizeof PageHeader, DocumentName, PageNumber, clock);
    TextOutA(dc, PRINT_LEFT, RowTop(PrintRow, layout), PageHeader, length);
    PrintRow += 2;  // row 2 stays empty
}

static void ShowPrintMessage(const char* text, const char* caption)
{
    Sys.MessageBoxA(hwndMain, text, caption, MB_ICONHAND);
}

// Releases what a job holds on the printer context, the context last.
static void ReleaseJob(HDC dc, LOGFONTA* record)
{
    LocalFree(record);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(PrintFont);
    PrintFont = NULL;
    DeleteDC(dc);
}

// Prints the edit control's lines. Returns 1 when the job was handed to
// the spooler whole, 0 when it was cancelled or failed.
static int PrintDocument(void)
{
    HCURSOR previousCursor = SetCursor(hWaitCursor);
    HDC dc = GetPrinterDC();
    if (dc == NULL) {
        SetCursor(previousCursor);
        DWORD code = Sys.CommDlgExtendedError();
        if (code != 0) {
            snprintf(TextBuffer, sizeof TextBuffer, "Print Error %lu", (unsigned long)code);
            ShowPrintMessage(TextBuffer, NULL);
        }
        return 0;
    }

    SetAbortProc(dc, AbortProc);

    LOGFONTA* record = (LOGFONTA*)Sys.LocalAlloc(LPTR, sizeof(LOGFONTA));
    if (record == NULL) {
        SetCursor(previousCursor);
        DeleteDC(dc);
        Sys.MessageBoxA(hwndMain, "Out of memory.", "Penrik", MB_ICONHAND);
        return 0;
    }
    record->lfHeight = PrinterFontHeight(Settings.font.lfHeight, GetDeviceCaps(dc, LOGPIXELSY));
    CopyFontAttributes(record);
    PrintFont = CreateFontIndirectA(record);

    // A job the printer does not start goes no further: nothing is drawn
    // on the context, and the user hears of it.
    DOCINFOA info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.lpszDocName = "PrntFileText";
    const char* failure = NULL;
    if (StartDocA(dc, &info) <= 0)
        failure = "The printer did not start the print job.";
    else if (StartPage(dc) <= 0)
        failure = "The printer did not start a new page.";
    if (failure != NULL) {
        SetCursor(previousCursor);
        ReleaseJob(dc, record);
        ShowPrintMessage(failure, NULL);
        return 0;
    }
    SelectObject(dc, PrintFont);

    UserAbort = 0;
    hwndAbort = CreateDialogParamA(hInst, "AbortDlg", hwndMain, AbortDlgProc, 0);
    if (hwndAbort == NULL) {
        SetCursor(previousCursor);
        ShowPrintMessage("NULL Abort window handle", NULL);
        ReleaseJob(dc, record);
        return 0;
    }
    ShowWindow(hwndAbort, SW_SHOWNORMAL);
    EnableWindow(hwndMain, FALSE);
    SetCursor(previousCursor);

    TEXTMETRICA metrics;
    ZeroMemory(&metrics, sizeof metrics);
    GetTextMetricsA(dc, &metrics);
    PageLayout layout = ComputePageLayout(GetDeviceCaps(dc, VERTRES), metrics.tmHeight,
                                          metrics.tmExternalLeading);
    LineHeight = layout.lineHeight;
    LinesPerPage = layout.linesPerPage;

    LRESULT lines = SendMessageA(hwndEdit, EM_GETLINECOUNT, 0, 0);
    LineCount = lines > 0 ? (uint32_t)lines : 1;
    PrintRow = 1;
    PageNumber = 1;

    // One reading of the clock: every page of the job shows the same time.
    SYSTEMTIME now;
    ZeroMemory(&now, sizeof now);
    Sys.GetLocalTime(&now);
    HeaderClock clock;
    clock.year = now.wYear;
    clock.month = now.wMonth;
    clock.day = now.wDay;
    clock.hour = HeaderHour(now.wHour, AmPm, sizeof AmPm);
    clock.minute = now.wMinute;
    clock.amPm = AmPm;

    PrintHeader(dc, clock, layout);

    int abandoned = 0;
    for (LineIndex = 0; LineIndex < LineCount; ++LineIndex) {
        WORD room = LINE_BUFFER_SIZE - 1;
        memcpy(LineBuffer, &room, sizeof room);
        LRESULT copied = SendMessageA(hwndEdit, EM_GETLINE, (WPARAM)LineIndex, (LPARAM)LineBuffer);
        int length = copied < 0 ? 0 : copied > room ? room : (int)copied;
        PrintRow = RowOfLine(LineIndex, layout);
        TabbedTextOutA(dc, PRINT_LEFT, RowTop(PrintRow, layout), LineBuffer, length, 1, PrintTabStop,
                       PRINT_LEFT);
        ++PrintRow;
        if (!PageEndsAfterLine(LineIndex, layout))
            continue;
        ++PageNumber;
        PrintRow = 1;
        // Not every spooler calls the abort procedure (Wine's does not),
        // so the Cancel button is given its chance at each page end here.
        int ended = EndPage(dc);
        AbortProc(dc, 0);
        if (ended < 0 || UserAbort) {
            abandoned = 1;
            break;
        }
        if (StartPage(dc) <= 0) {
            failure = "The printer did not start a new page.";
            abandoned = 1;
            break;
        }
        SelectObject(dc, PrintFont);
        PrintHeader(dc, clock, layout);
    }

    if (!abandoned && !UserAbort) {
        EndPage(dc);
        EndDoc(dc);
    } else {
        // A job that is not ended is dropped, not left for the spooler to
        // send as it stands.
        AbortDoc(dc);
    }

    EnableWindow(hwndMain, TRUE);
    DestroyWindow(hwndAbort);
    hwndAbort = NULL;
    ReleaseJob(dc, record);
    if (failure != NULL)
        ShowPrintMessage(failure, NULL);
    return !abandoned && !UserAbort;
}

void PrintCommand(int commandId)
{
    if (commandId == IDM_PRINTSETUP) {
        PrintSetup();
        return;
    }
    if (commandId != IDM_PRINT || JobRunning)
        return;
    if (printMode && LoadFailed) {
        // Nothing of the file is on screen to print, and nothing typed
        // by anyone is lost by leaving.
        Modified = 0;
    } else {
        JobRunning = 1;
        PrintDocument();
        JobRunning = 0;
    }
    // A print-mode window is hidden: it must end however the job went.
    if (printMode)
        PostMessageA(hwndMain, WM_COMMAND, IDM_EXIT, 0);
}
