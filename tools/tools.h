// The build, execute and debug commands, the help files, Send Mail and
// the About box.
#ifndef PENRIK_TOOLS_H
#define PENRIK_TOOLS_H

// Start-up: looks for the system's mail library; returns 0 when there is
// none, and Send Mail has nothing to send with.
int FindMailLibrary(void);

// Compile, Build, BuildAll, Clean, Execute and Debug.
void BuildCommand(int commandId);
void HelpCommand(int commandId);
void SendMailCommand(void);
void AboutCommand(void);

#endif
