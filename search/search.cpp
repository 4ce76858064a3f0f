// The Search menu: the Find dialog, searching and replacing.
#include "penrik.h"

void ResetSearchState(void)
{
}

void SearchCommand(int commandId)
{
    (void)commandId;
}
