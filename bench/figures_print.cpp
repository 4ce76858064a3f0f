// Printing to the default printer (the PDF queue of bench/run.sh) until
// a new PDF lies in PENRIK_PDF_FOLDER.
#include "bench/figures.h"
#include "bench/harness.h"
#include "tests/common/files.h"

#include "base/process.h"
#include "base/syscalls.h"
#include "print/print.h"

#include <stdio.h>
#include <stdlib.h>

static BOOL WINAPI DefaultPrinter(LPPRINTDLGA record)
{
    record->Flags |= PD_RETURNDEFAULT;
    return PrintDlgA(record);
}

void PrintFigure(size_t lines)
{
    const char* folder = getenv("PENRIK_PDF_FOLDER");
    if (folder == NULL) {
        printf("print: skipped, no PDF queue\n");
        return;
    }
    std::string pdfs = std::string(folder) + "\\";
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += "\tline " + std::to_string(i + 1) + " of the printing figure, about sixty chars\r\n";
    StartEditor();
    Sys.PrintDlgA = DefaultPrinter;
    SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str());
    RunsFor once(1);
    bool appeared = true;
    double t = Measure([] {}, [&] {
        int before = CountFiles(pdfs, "*.pdf");
        PrintCommand();
        appeared = false;
        for (int i = 0; i < 6000 && !appeared; ++i) {  // at most ten minutes
            appeared = CountFiles(pdfs, "*.pdf") > before;
            if (!appeared)
                Sleep(100);
        }
    });
    StopEditor();
    if (appeared)
        Report("print 10,000 lines to PDF", t, "ms");
    else
        printf("print: no PDF appeared\n");
}
