// Interpretation of the command-line text. Platform-free.
#ifndef PENRIK_CMDLINE_H
#define PENRIK_CMDLINE_H

#include <stddef.h>

struct CommandLine {
    bool printMode;   // the text began with "/p": print the file unseen and exit
    bool nameTooLong;  // the name did not fit the name buffer; start untitled
    // "/g LINE[,COLUMN] NAME" (or "-g"): where the caret goes once NAME is
    // loaded, from 1; 0 when the text named no line (or no column).
    unsigned long goLine, goColumn;
};

// Applies the command-line text to the document name. On entry `name`
// holds the name from the settings; a non-empty text replaces it whole,
// inner blanks kept, less one pair of double quotes around all of it.
// "/p" plus one separator character selects print mode for the rest of
// the text; "/g" or "-g", a blank, LINE or LINE,COLUMN and blanks put the
// caret there (numbers stop at 0xFFFFFFFF). A name that does not fit
// in nameSize bytes (terminating zero included) is never cut: the name
// becomes empty and nameTooLong is set.
// For bytes and for characters alike (`nameSize` counts units).
template <typename Unit>
CommandLine InterpretCommandLine(const Unit* text, Unit* name, size_t nameSize);

// True when the name is exactly "buildres.ult" in any mix of case.
template <typename Unit>
int IsBuildResultsName(const Unit* name);

#endif
