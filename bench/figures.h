// The figures, one file a part of the program. Sizes are in bytes.
#ifndef PENRIK_BENCH_FIGURES_H
#define PENRIK_BENCH_FIGURES_H

#include <stddef.h>

#include <string>

// figures_app.cpp
void StartupFigure();

// figures_document.cpp
void LoadFigure(const char* name, size_t bytes, int runs);
void PeakFigure(size_t bytes);
void SaveFigure(const char* name, const std::string& bytes);
void LineBreaksFigure(size_t bytes);
void RecoveryFigure(size_t bytes);
void UnicodeFigures(size_t bytes);

// figures_editing.cpp
void EnterFigure(size_t lines);
void TypingFigure(size_t bytes);
void UndoReplaceAllFigure(size_t bytes, size_t matches);
int SetTextExperiment(size_t megabytes, bool utf8);

// figures_search.cpp
void FindFigure(size_t bytes);
void ReplaceAllFigure(const char* name, size_t bytes, size_t matches, bool againstLoop);
// Runs the Find dialog's `command` (IDM_FIND, IDM_REPLACEALL ...) with
// these answers in its fields.
void WithFindBox(int command, const char* find, const char* replacement, int caseSensitive);

// figures_print.cpp
void PrintFigure(size_t lines);

#endif
