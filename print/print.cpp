// Print and Print Setup: the printer dialogs, the abort dialog, and the
// job that prints the edit control's lines with a header on every page.
#include "print/print.h"

#include <string.h>

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/document.h"
#include "editing/editing.h"
#include "print/layout.h"

#define PRINT_LEFT       99   // x of the header and of every body line
#define LINE_BUFFER_SIZE 128

#define PRINT_TAB_STOP   34   // printer dots between tab stops

// The header is formatted in UTF-8, where a character of the name takes
// up to three bytes (a surrogate pair four for its two): the header's
// room for the name's characters, and two bytes more for each.
#define UTF8_NAME_SIZE   (3 * (NAME_SIZE - 1) + 1)
#define UTF8_HEADER_SIZE (PAGE_HEADER_SIZE + 2 * (NAME_SIZE - 1))

// The record Print Setup keeps from one use to the next, and one print
// job's state, valid only while PrintDocument runs.
static struct {
    PRINTDLGA setupDialog;
    bool jobRunning;
    bool userAbort;
    HWND hwndAbort;
    HFONT font;
    uint32_t lineCount;  // full width: a text of 65,536 lines or more prints whole
    int32_t row;
    uint32_t pageNumber;
} Printer;

#if !defined(_WIN64)
static_assert(sizeof(PRINTDLGA) == 66, "PRINTDLGA is 66 bytes on 32-bit Windows");
static_assert(sizeof(DOCINFOW) == 20, "DOCINFOW is 20 bytes on 32-bit Windows");
#endif
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA is 60 bytes");

void ReleasePrinting(void)
{
    PRINTDLGA& setup = Printer.setupDialog;
    if (setup.hDevMode != NULL)
        GlobalFree(setup.hDevMode);
    if (setup.hDevNames != NULL)
        GlobalFree(setup.hDevNames);
    setup.hDevMode = NULL;
    setup.hDevNames = NULL;
}

void ResetPrinting(void)
{
    ReleasePrinting();
    PRINTDLGA& setup = Printer.setupDialog;
    ZeroMemory(&setup, sizeof setup);
    setup.lStructSize = sizeof setup;
    setup.hwndOwner = Penrik.hwndMain;
    setup.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    setup.nCopies = 1;
    Printer.userAbort = false;
    Printer.jobRunning = false;
    Printer.hwndAbort = NULL;
    Printer.font = NULL;
}

void PrintSetupCommand(void)
{
    PRINTDLGA& setup = Printer.setupDialog;
    DWORD flags = setup.Flags;
    setup.Flags |= PD_PRINTSETUP;
    Sys.PrintDlgA(&setup);
    setup.Flags = flags;
    // The context that PD_RETURNDC brings back is not used by anyone.
    if (setup.hDC != NULL) {
        DeleteDC(setup.hDC);
        setup.hDC = NULL;
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
// see its messages, as characters, as the main loop takes them.
static BOOL CALLBACK AbortProc(HDC dc, int code)
{
    (void)dc;
    (void)code;
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return TRUE;
}

static INT_PTR CALLBACK AbortDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG: {
        static const int controls[] = {IDCANCEL, IDC_SENDINGLABEL, IDC_PRINTNAME, IDC_SPOOLERLABEL};
        for (int id : controls)
            SendDlgItemMessageA(dialog, id, WM_SETFONT, (WPARAM)Penrik.hToolbarFont, TRUE);
        SetFocus(GetDlgItem(dialog, IDCANCEL));
        SetDlgItemTextW(dialog, IDC_PRINTNAME, DocumentName());
        return TRUE;
    }
    case WM_COMMAND:
        // Cancel and the close box alike; the job closes the dialog.
        Printer.userAbort = true;
        return TRUE;
    }
    return FALSE;
}

// The name goes through the header's formatting as UTF-8 and is drawn as
// the characters it is, whatever the code page.
static void PrintHeader(HDC dc, const HeaderClock& clock, const PageLayout& layout)
{
    char name[UTF8_NAME_SIZE];
    if (WideCharToMultiByte(CP_UTF8, 0, DocumentName(), -1, name, sizeof name, NULL, NULL) <= 0)
        name[0] = '\0';
    char bytes[UTF8_HEADER_SIZE];
    int length = FormatPageHeader(bytes, sizeof bytes, name, Printer.pageNumber, clock);
    // In characters the header takes no more than the room it always had.
    wchar_t header[PAGE_HEADER_SIZE];
    int characters = length > 0 ? MultiByteToWideChar(CP_UTF8, 0, bytes, length, header, PAGE_HEADER_SIZE) : 0;
    TextOutW(dc, PRINT_LEFT, RowTop(Printer.row, layout), header, characters);
    Printer.row += 2;  // row 2 stays empty
}

// One print job: the printer's context, the font record made for it,
// and the message of a failure once the job has begun (0: none).
struct PrintJob {
    HDC dc;
    LOGFONTA* record;
    UINT failure;
};

static void ShowPrintMessage(UINT textId)
{
    ShowMessage(Penrik.hwndMain, textId, 0, MB_ICONHAND);
}

// Releases what a job holds on the printer context, the context last.
static void ReleaseJob(const PrintJob& job)
{
    LocalFree(job.record);
    SelectObject(job.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(Printer.font);
    Printer.font = NULL;
    DeleteDC(job.dc);
}

// Asks for the printer, makes the editor's font for it, starts the
// document and its first page, and shows the abort dialog with the main
// window disabled. Returns 0, the user told and nothing held, when the
// job does not begin.
static int StartJob(PrintJob* job)
{
    job->failure = 0;
    HCURSOR previousCursor = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    job->dc = GetPrinterDC();
    if (job->dc == NULL) {
        SetCursor(previousCursor);
        DWORD code = Sys.CommDlgExtendedError();
        if (code != 0)
            ShowMessage(Penrik.hwndMain, IDS_PRINT_ERROR, 0, MB_ICONHAND, (unsigned long)code);
        return 0;
    }

    SetAbortProc(job->dc, AbortProc);

    job->record = (LOGFONTA*)Sys.LocalAlloc(LPTR, sizeof(LOGFONTA));
    if (job->record == NULL) {
        SetCursor(previousCursor);
        DeleteDC(job->dc);
        ShowMessage(Penrik.hwndMain, IDS_OUT_OF_MEMORY, IDS_CAPTION_PENRIK, MB_ICONHAND);
        return 0;
    }
    job->record->lfHeight = PrinterFontHeight(Penrik.settings.font.lfHeight, GetDeviceCaps(job->dc, LOGPIXELSY));
    CopyFontAttributes(job->record);
    Printer.font = CreateFontIndirectA(job->record);

    // A job the printer does not start goes no further: nothing is drawn
    // on the context, and the user hears of it.
    DOCINFOW info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.lpszDocName = L"PrntFileText";
    UINT failure = 0;
    if (StartDocW(job->dc, &info) <= 0)
        failure = IDS_PRINT_JOB_NOT_STARTED;
    else if (StartPage(job->dc) <= 0)
        failure = IDS_PRINT_PAGE_NOT_STARTED;
    if (failure != 0) {
        SetCursor(previousCursor);
        ReleaseJob(*job);
        ShowPrintMessage(failure);
        return 0;
    }
    SelectObject(job->dc, Printer.font);

    Printer.userAbort = false;
    Printer.hwndAbort = CreateDialogParamA(Penrik.hInst, "AbortDlg", Penrik.hwndMain, AbortDlgProc, 0);
    if (Printer.hwndAbort == NULL) {
        // Without its Cancel button the job would run out of the user's hands.
        SetCursor(previousCursor);
        ShowPrintMessage(IDS_PRINT_WINDOW_FAILED);
        ReleaseJob(*job);
        return 0;
    }
    ShowWindow(Printer.hwndAbort, SW_SHOWNORMAL);
    EnableWindow(Penrik.hwndMain, FALSE);
    SetCursor(previousCursor);
    return 1;
}

// Prints the edit control's lines, a header on every page. Returns 0 when
// the job was abandoned: cancelled, or a page the printer did not end or
// start (a start's failure is kept for the user).
static int PrintLines(PrintJob* job)
{
    HDC dc = job->dc;
    TEXTMETRICA metrics;
    ZeroMemory(&metrics, sizeof metrics);
    GetTextMetricsA(dc, &metrics);
    PageLayout layout = ComputePageLayout(GetDeviceCaps(dc, VERTRES), metrics.tmHeight,
                                          metrics.tmExternalLeading);

    LRESULT lines = SendMessageA(Penrik.hwndEdit, EM_GETLINECOUNT, 0, 0);
    Printer.lineCount = lines > 0 ? (uint32_t)lines : 1;
    Printer.row = 1;
    Printer.pageNumber = 1;

    // One reading of the clock: every page of the job shows the same time.
    SYSTEMTIME now;
    ZeroMemory(&now, sizeof now);
    Sys.GetLocalTime(&now);
    HeaderClock clock;
    clock.year = now.wYear;
    clock.month = now.wMonth;
    clock.day = now.wDay;
    char amPm[AMPM_SIZE];
    clock.hour = HeaderHour(now.wHour, amPm, sizeof amPm);
    clock.minute = now.wMinute;
    clock.amPm = amPm;

    PrintHeader(dc, clock, layout);

    static INT tabStops[1] = {PRINT_TAB_STOP};
    for (uint32_t index = 0; index < Printer.lineCount; ++index) {
        // The control's characters, drawn as they are, in any language.
        wchar_t line[LINE_BUFFER_SIZE];
        WORD room = LINE_BUFFER_SIZE - 1;
        memcpy(line, &room, sizeof room);
        LRESULT copied = SendMessageW(Penrik.hwndEdit, EM_GETLINE, (WPARAM)index, (LPARAM)line);
        int length = copied < 0 ? 0 : copied > room ? room : (int)copied;
        Printer.row = RowOfLine(index, layout);
        TabbedTextOutW(dc, PRINT_LEFT, RowTop(Printer.row, layout), line, length, 1, tabStops, PRINT_LEFT);
        ++Printer.row;
        if (!PageEndsAfterLine(index, layout))
            continue;
        ++Printer.pageNumber;
        Printer.row = 1;
        // Not every spooler calls the abort procedure (Wine's does not),
        // so the Cancel button is given its chance at each page end here.
        int ended = EndPage(dc);
        AbortProc(dc, 0);
        if (ended < 0 || Printer.userAbort)
            return 0;
        if (StartPage(dc) <= 0) {
            job->failure = IDS_PRINT_PAGE_NOT_STARTED;
            return 0;
        }
        SelectObject(dc, Printer.font);
        PrintHeader(dc, clock, layout);
    }
    return 1;
}

// Hands the job to the spooler, or drops it; closes the abort dialog,
// releases the job and tells of a failure. Returns 1 when the job went
// to the spooler whole.
static int EndJob(const PrintJob& job, int abandoned)
{
    if (!abandoned && !Printer.userAbort) {
        EndPage(job.dc);
        EndDoc(job.dc);
    } else {
        // A job that is not ended is dropped, not left for the spooler to
        // send as it stands.
        AbortDoc(job.dc);
    }

    EnableWindow(Penrik.hwndMain, TRUE);
    DestroyWindow(Printer.hwndAbort);
    Printer.hwndAbort = NULL;
    ReleaseJob(job);
    if (job.failure != 0)
        ShowPrintMessage(job.failure);
    return !abandoned && !Printer.userAbort;
}

// Prints the edit control's lines. Returns 1 when the job was handed to
// the spooler whole, 0 when it was cancelled or failed.
static int PrintDocument(void)
{
    PrintJob job;
    if (!StartJob(&job))
        return 0;
    int abandoned = !PrintLines(&job);
    return EndJob(job, abandoned);
}

bool PrintJobRunning(void)
{
    return Printer.jobRunning;
}

int PrintCommand(void)
{
    if (Printer.jobRunning)
        return 0;
    Printer.jobRunning = true;
    int printed = PrintDocument();
    Printer.jobRunning = false;
    return printed;
}
