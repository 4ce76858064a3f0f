// Start-up, the message loop and the teardown that lets start-up run
// again in the same process. The process record and the system-call
// table they fill live on the ground floor (base/).
#ifndef PENRIK_APP_H
#define PENRIK_APP_H

#include <windows.h>

#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"

// Start-up: returns 0 when the main window could not be made. Start-up
// may run again in the same process after ShutDown.
// The command line is what follows the program's name.
int StartUp(HINSTANCE instance, const wchar_t* commandLine, int showCommand);
// One message through the accelerator table, then to its window.
// Returns 1 when the accelerator table took it.
int DispatchWithAccelerators(MSG* msg);
int RunMessageLoop(void);
void ShutDown(void);

#endif
