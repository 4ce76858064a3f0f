// Process-wide state and the routines the parts of the program call on
// each other. Routines return 1 for success and 0 for failure or cancel.
#ifndef PENRIK_H
#define PENRIK_H

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "../resources/resource.h"
#include "settings_keys.h"
#include "syscalls.h"

#define MAIN_CLASS_NAME   "PenrikWClass"
#define FIND_CLASS_NAME   "penrikWClass"
#define MAIN_TITLE        "PENRIK"
#define NAME_SIZE         256   // DocumentName, NameBackup, FileTitle
#define TEXT_BUFFER_SIZE  128   // the shared text buffer
#define TOOLBAR_BUTTONS   23
#define EDIT_TOP          44    // first client row of the edit control

#define EDIT_STYLE_PLAIN  0x503001C4L
#define EDIT_STYLE_WRAP   0x50200144L

struct SettingsRecord {
    int x, y, width, height;
    COLORREF textColor;
    COLORREF backColor;
    LOGFONTA font;           // the editor font record
    int wordWrap;
    char helpFile[4][128];
    char helpName[4][12];    // 8 characters, then the "\tF1" suffix
    char buildName[4][9];
};

/* Settings and start-up (app/) */
extern SettingsRecord Settings;
extern HINSTANCE hInst;
extern HWND prevWindow;
extern int platformV4;
extern int printMode;
extern HCURSOR hWaitCursor, hArrowCursor;
extern HACCEL hAccel;
extern HWND hwndMain, hwndEdit;
extern HMENU hMenu;
extern HWND hwndButton[TOOLBAR_BUTTONS];
extern DWORD editStyle;
extern HFONT hToolbarFont;
extern HFONT hEditFont;
extern HBRUSH hEditBrush;
extern char mailLibraryName[16];
extern unsigned int lineShown;
extern char TextBuffer[TEXT_BUFFER_SIZE];

int StartUp(HINSTANCE instance, const char* commandLine, int showCommand);
int DispatchWithAccelerators(MSG* msg);
int RunMessageLoop(void);
void ShutDown(void);
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
int LoadSettings(void);
void SaveSettings(void);
void CreateToolbar(void);
HWND ToolbarButton(int commandId);
void EnableCommand(int commandId);
void PaintStatusPanel(HDC dc);
void ExitCommand(void);

/* Documents (document/) */
extern char DocumentName[NAME_SIZE];
extern char NameBackup[NAME_SIZE];
extern char FileTitle[NAME_SIZE];
extern int Modified;
extern int LoadFailed;   // the last IDM_LOADFILE did not load DocumentName
extern HLOCAL TextBlock;
extern OPENFILENAMEA FileDialogData;

void ResetDocumentState(void);
void InitFileDialogData(void);
void StartEmptyDocument(void);
int QuerySave(HWND owner);
int WriteDocument(HWND owner);
int LoadDocument(void);
void FileCommand(int commandId);
// Shows a file dialog on FileDialogData and enters the chosen file's folder;
// a name too long for DocumentName is refused in words.
int ChooseFile(BOOL(WINAPI* dialog)(LPOPENFILENAMEA));
void DropFiles(HDROP drop);

/* Editing (editing/) */
extern int skipIndent;

void ResetEditingState(void);
HWND CreateEditControl(DWORD style);
void ApplyStartupFonts(void);
void InitFontDialogData(void);
void EditCommand(int commandId);
void EditCursor(UINT mouseMessage);
LRESULT EditNotification(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
int RefreshLineIndicator(DWORD position);
void ShowLineNumber(unsigned int line);  // draws the indicator and sets lineShown
void WordWrapCommand(void);
void SetFontCommand(void);
void CopyFontAttributes(LOGFONTA* record);  // the editor font's fields but its height
void SetColorCommand(void);
HBRUSH EditColors(HDC dc, HWND control);

/* Search (search/) */
void ResetSearchState(void);
void SearchCommand(int commandId);
extern int CaseSensitive;     // the Find dialog's "Case Sensitive" box
extern int replaceAllAtOnce;  // 0: Replace All goes match by match through the control

/* Printing (print/) */
extern PRINTDLGA PrintSetupData;
void InitPrintSetupData(void);
void PrintCommand(int commandId);

/* Tools (tools/) */
void BuildCommand(int commandId);
void HelpCommand(int commandId);
void SendMailCommand(void);
void AboutCommand(void);

#endif
