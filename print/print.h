// Printing the edit control's text: the Print and Print Setup dialogs,
// the "Print File" abort dialog and the job itself.
#ifndef PENRIK_PRINT_H
#define PENRIK_PRINT_H

// Start-up: Print Setup starts from the default printer again.
void ResetPrinting(void);
// Gives back what Print Setup kept.
void ReleasePrinting(void);

void PrintSetupCommand(void);
// Prints the text as it stands. Returns 1 when the job was handed to the
// spooler whole, 0 when it was cancelled or failed (the user was told),
// and 0 at once while a job is running already.
int PrintCommand(void);
bool PrintJobRunning(void);

#endif
