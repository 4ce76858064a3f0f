#include "app/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    ResetSystemCalls();
    if (!StartUp(instance, commandLine, showCommand))
        return 0;
    return RunMessageLoop();
}
