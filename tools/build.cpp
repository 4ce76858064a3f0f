// Compile, Build, BuildAll and Clean hand the work to the user's batch
// file; Execute runs a chosen program; Debug starts the debugger.
#include "penrik.h"

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

static void RunBatch(const BatchRow& row)
{
    if (row.asksToSave && QuerySave(hwndMain) == 0)
        return;
    if (row.letter == 0)
        Sys.ShellExecuteA(hwndMain, NULL, "penrik.bat", DocumentName, "", SW_MINIMIZE);
    else if (platformV4)
        Sys.ShellExecuteA(hwndMain, NULL, "command", row.viaInterpreter, "", SW_MINIMIZE);
    else
        Sys.ShellExecuteA(hwndMain, NULL, "penrik.bat", row.letter, "", SW_MINIMIZE);
}

static void Execute(void)
{
    lstrcpynA(NameBackup, DocumentName, NAME_SIZE);
    FileDialogData.nFilterIndex = 2;
    FileDialogData.lpstrTitle = "Execute File";
    // The program runs in its own folder, and later builds look there.
    if (ChooseFile(Sys.GetOpenFileNameA))
        Sys.ShellExecuteA(hwndMain, NULL, DocumentName, "", "", SW_SHOW);
    lstrcpynA(DocumentName, NameBackup, NAME_SIZE);
    FileDialogData.nFilterIndex = 1;
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
        Sys.ShellExecuteA(hwndMain, NULL, "windbg.exe", DocumentName, "", SW_SHOW);
}
