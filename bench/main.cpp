// Drives the real editor in this process and prints one line per figure:
//   name  value  unit  [baseline  ratio]
// Each figure is the median of several runs; baselines are measured in
// the same run.
//   penrik_bench [FLAG] [RUNS]   every figure, or those of FLAG
//   penrik_bench MODE ARGUMENT   one measurement of its own (see Flags)
#include "bench/figures.h"
#include "bench/harness.h"

#include "app/settings_keys.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void AllFigures()
{
    StartupFigure();
    LoadFigure("load 1 MB", 1 << 20, Runs);
    LoadFigure("load 10 MB", 10 << 20, 3);
    PeakFigure(10 << 20);
    SaveFigure("10 MB", MakeText(10 << 20, 0));
    SaveFigure("10 MB UTF-8", MakeUtf8Text(10 << 20, 0));
    LineBreaksFigure(10 << 20);
    RecoveryFigure(10 << 20);
    UnicodeFigures(10 << 20);
    EnterFigure(100000);
    TypingFigure(10 << 20);
    FindFigure(10 << 20);
    ReplaceAllFigure("replace all, 10,000 in 1 MB", 1 << 20, 10000, false);
    ReplaceAllFigure("replace all, 1,000 in 10 MB", 10 << 20, 1000, false);
    ReplaceAllFigure("replace all, 10,000 in 1 MB (loop)", 1 << 20, 10000, true);
    UndoReplaceAllFigure(10 << 20, 1000);
    PrintFigure(10000);
}

// A flag chooses either the figures that run (RUNS may follow it) or a
// mode that runs alone with its one argument and prints what it measured.
struct Flag {
    const char* flag;
    void (*figures)();
    int (*mode)(const char* argument);
    const char* help;
};

static const Flag Flags[] = {
    {"--startup", StartupFigure, NULL, "[RUNS]  the start-up figure alone"},
    {"--save", [] {
         SaveFigure("10 MB", MakeText(10 << 20, 0));
         SaveFigure("10 MB UTF-8", MakeUtf8Text(10 << 20, 0));
     }, NULL, "[RUNS]  the save figures alone, code page and UTF-8"},
    {"--breaks", [] { LineBreaksFigure(10 << 20); }, NULL, "[RUNS]  the line-break figures alone"},
    {"--recovery", [] { RecoveryFigure(10 << 20); }, NULL, "[RUNS]  the recovery figure alone"},
    {"--undo", [] {
         TypingFigure(10 << 20);
         UndoReplaceAllFigure(10 << 20, 1000);
         PeakFigure(10 << 20);
     }, NULL, "[RUNS]  typing into 10 MB, Undo of a Replace All, and the 10 MB peak"},
    {"--unicode", [] {
         UnicodeFigures(10 << 20);
         LoadFigure("load 10 MB", 10 << 20, 3);
         PeakFigure(10 << 20);
     }, NULL, "[RUNS]  the UTF-8 figures, and the 10 MB code-page load and peak"},
    {"--settext", NULL, [](const char* megabytes) { return SetTextExperiment((size_t)atoi(megabytes), false); },
     "MEGABYTES  the bare control's WM_SETTEXT of code-page text, shown, hidden, with the editor's font"},
    {"--settext-utf8", NULL, [](const char* megabytes) { return SetTextExperiment((size_t)atoi(megabytes), true); },
     "MEGABYTES  the same with the UTF-8 figure's characters"},
    {"--peak-load", NULL, PeakLoad, "FILE  the peak working set of loading FILE (for the peak figures)"},
    {"--peak-bare", NULL, [](const char* path) { return PeakBare(path, false); },
     "FILE  the peak working set of a bare control given FILE's bytes"},
    {"--peak-bare-utf8", NULL, [](const char* path) { return PeakBare(path, true); },
     "FILE  the same given FILE's UTF-8 characters"},
};

static int Usage()
{
    fprintf(stderr, "usage: penrik_bench [RUNS]   every figure, each the median of RUNS runs (default %d)\n", Runs);
    for (const Flag& flag : Flags)
        fprintf(stderr, "       penrik_bench %s %s\n", flag.flag, flag.help);
    return 2;
}

int main(int argc, char** argv)
{
    const Flag* chosen = NULL;
    int next = 1;
    if (argc > 1 && argv[1][0] == '-') {
        for (const Flag& flag : Flags)
            if (strcmp(argv[1], flag.flag) == 0)
                chosen = &flag;
        if (chosen == NULL)
            return Usage();
        next = 2;
    }
    if (chosen != NULL && chosen->mode != NULL)
        return argc == 3 ? chosen->mode(argv[2]) : Usage();
    if (argc > next && atoi(argv[next]) > 0)
        Runs = atoi(argv[next]);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Folder = std::string(temp) + "penrik-bench\\";
    CreateDirectoryA(Folder.c_str(), NULL);
    WritePrivateProfileStringA(NULL, NULL, NULL, SETTINGS_FILE);

    ReportHeader();
    (chosen != NULL ? chosen->figures : AllFigures)();
    return 0;
}
