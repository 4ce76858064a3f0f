// The build, execute and debug commands, the help files, Send Mail and
// the About box.
#ifndef PENRIK_TOOLS_H
#define PENRIK_TOOLS_H

#include <windows.h>

// Start-up: looks for the system's mail library; returns 0 when there is
// none, and Send Mail has nothing to send with.
int FindMailLibrary(void);

// Compile, Build, BuildAll, Clean, Execute and Debug.
void BuildCommand(int commandId);
void HelpCommand(int commandId);
void SendMailCommand(void);
void AboutCommand(void);

// Compiler messages as links (messages.cpp). Start-up: no results read.
void ResetMessages(void);
// A double-click in the build results: true when the caret's line is a
// compiler message, which the editor of its file then shows.
bool OpenMessageAtCaret(void);
// A place another editor sent (WM_COPYDATA); false when it is none.
bool TakePlaceRequest(const COPYDATASTRUCT* data);
// Next Message, Previous Message, and the place another editor sent;
// true when a file was loaded for it.
bool MessageCommand(int commandId);

#endif
