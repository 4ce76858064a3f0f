// Compile, Build, BuildAll and Clean hand the work to the user's batch
// file; Execute runs a chosen program; Debug starts the debugger.
#include "tools/tools.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "document/document.h"

struct BatchRow {
    int id;
    int asksToSave;
    const char* letter;        // null: the document's path
    const char* viaInterpreter; // parameters when started through "command"
};

static const BatchRow BatchRows[] = {
    {IDM_COMPILE,  1, 0,    0},
    {IDM_BUILD,    1, " b", " /C penrik.bat b"},
    {IDM_BUILDALL, 1, " a", " /C penrik.bat a"},
    {IDM_CLEAN,    0, " c", " /C penrik.bat c"},
};

// The batch file runs through the command interpreter, which takes these
// in its arguments as commands, redirections and expansions: a name
// holding one could run a command hidden in it.
static const char InterpretedCharacters[] = "&|<>^%!";

static int SafeForInterpreter(const char* name)
{
    return strpbrk(name, InterpretedCharacters) == NULL;
}

static void RunBatch(const BatchRow& row)
{
    if (row.asksToSave && QuerySave(Penrik.hwndMain) == 0)
        return;
    if (row.letter == 0 && !SafeForInterpreter(DocumentName())) {
        char text[NAME_SIZE + 160];
        snprintf(text, sizeof text,
                 "%s was not compiled: the command interpreter would take one of the characters & | < > ^ %% ! "
                 "in its name as a command.",
                 DocumentName());
        Sys.MessageBoxA(Penrik.hwndMain, text, "Penrik", MB_ICONEXCLAMATION);
        return;
    }
    if (row.letter == 0)
        Sys.ShellExecuteA(Penrik.hwndMain, NULL, "penrik.bat", DocumentName(), "", SW_MINIMIZE);
    else if (Penrik.platformV4)
        Sys.ShellExecuteA(Penrik.hwndMain, NULL, "command", row.viaInterpreter, "", SW_MINIMIZE);
    else
        Sys.ShellExecuteA(Penrik.hwndMain, NULL, "penrik.bat", row.letter, "", SW_MINIMIZE);
}

static void Execute(void)
{
    FileChoice choice;
    choice.title = "Execute File";
    choice.filterIndex = 2;
    choice.flags = 0;
    lstrcpynA(choice.name, DocumentName(), NAME_SIZE);
    // The program runs in its own folder, and later builds look there.
    if (ChooseFile(FILE_DIALOG_OPEN, &choice))
        Sys.ShellExecuteA(Penrik.hwndMain, NULL, choice.name, "", "", SW_SHOW);
}

void BuildCommand(int commandId)
{
    for (const BatchRow& row : BatchRows)
        if (row.id == commandId) {
            RunBatch(row);
            return;
        }
    if (commandId == IDM_EXECUTE)
        Execute();
    else if (commandId == IDM_DEBUG)
        Sys.ShellExecuteA(Penrik.hwndMain, NULL, "windbg.exe", DocumentName(), "", SW_SHOW);
}
