// Print and Print Setup.
#include "penrik.h"

void InitPrintSetupData(void)
{
}

void PrintCommand(int commandId)
{
    (void)commandId;
}
