// Compile, Build, BuildAll and Clean hand the work to the user's batch
// file; Execute runs a chosen program; Debug starts the debugger.
#include "tools/tools.h"

#include <wchar.h>

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/document.h"

struct BatchRow {
    int id;
    int asksToSave;
    const wchar_t* letter;         // null: the document's path
    const wchar_t* viaInterpreter; // parameters when started through "command"
};

static const BatchRow BatchRows[] = {
    {IDM_COMPILE,  1, 0,    0},
    {IDM_BUILD,    1, L" b", L" /C penrik.bat b"},
    {IDM_BUILDALL, 1, L" a", L" /C penrik.bat a"},
    {IDM_CLEAN,    0, L" c", L" /C penrik.bat c"},
};

// The batch file runs through the command interpreter, which takes these
// in its arguments as commands, redirections and expansions: a name
// holding one could run a command hidden in it.
static const wchar_t InterpretedCharacters[] = L"&|<>^%!";

static int SafeForInterpreter(const wchar_t* name)
{
    return wcspbrk(name, InterpretedCharacters) == NULL;
}

static void RunBatch(const BatchRow& row)
{
    if (row.asksToSave && QuerySave(Penrik.hwndMain) == 0)
        return;
    if (row.letter == 0 && !SafeForInterpreter(DocumentName())) {
        ShowMessage(Penrik.hwndMain, IDS_NOT_COMPILED, IDS_CAPTION_PENRIK, MB_ICONEXCLAMATION, DocumentName());
        return;
    }
    if (row.letter == 0)
        Sys.ShellExecuteW(Penrik.hwndMain, NULL, L"penrik.bat", DocumentName(), L"", SW_MINIMIZE);
    else if (Penrik.platformV4)
        Sys.ShellExecuteW(Penrik.hwndMain, NULL, L"command", row.viaInterpreter, L"", SW_MINIMIZE);
    else
        Sys.ShellExecuteW(Penrik.hwndMain, NULL, L"penrik.bat", row.letter, L"", SW_MINIMIZE);
}

static void Execute(void)
{
    FileChoice choice;
    choice.title = L"Execute File";
    choice.filterIndex = 2;
    choice.flags = 0;
    lstrcpynW(choice.name, DocumentName(), NAME_SIZE);
    // The program runs in its own folder, and later builds look there.
    if (ChooseFile(FILE_DIALOG_OPEN, &choice))
        Sys.ShellExecuteW(Penrik.hwndMain, NULL, choice.name, L"", L"", SW_SHOW);
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
        Sys.ShellExecuteW(Penrik.hwndMain, NULL, L"windbg.exe", DocumentName(), L"", SW_SHOW);
}
