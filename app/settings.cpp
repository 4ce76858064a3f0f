// Reading the settings file at start-up, and Save Penrik.Settings.
#include <stdio.h>

#include "app/settings_keys.h"
#include "app/shell.h"
#include "document/document.h"

#include <shlobj.h>

#define NUMBER_SIZE  16  // a 32-bit number in decimal, signed
#define USER_FOLDER  "Penrik"

// Where the settings live. A program with a manifest is never redirected
// by the system, so a standard user cannot write into the Windows folder:
// the user's own file takes over there. Releases without a manifest had
// their writes redirected to the VirtualStore, where that copy is still
// read.
static struct {
    char file[MAX_PATH];  // a bare name is the Windows folder's
    bool userFile;        // it is the user's own file
} Store;

static bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// A folder of the user's profile: from the environment first, as the
// shell itself sets it, then from the shell.
static bool ProfileFolder(const char* variable, int folderId, char* path)
{
    DWORD length = GetEnvironmentVariableA(variable, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return true;
    return SHGetFolderPathA(NULL, folderId, NULL, 0, path) == S_OK;
}

// %APPDATA%\Penrik\Marravel.ini; with `make`, its folder is made.
static bool UserSettingsFile(char* path, bool make)
{
    char base[MAX_PATH];
    path[0] = '\0';
    if (!ProfileFolder("APPDATA", CSIDL_APPDATA, base))
        return false;
    int made = snprintf(path, MAX_PATH, "%s\\" USER_FOLDER "\\" SETTINGS_FILE, base);
    if (made <= 0 || made >= MAX_PATH) {
        path[0] = '\0';
        return false;
    }
    if (!make)
        return true;
    char* name = path + made - (int)sizeof SETTINGS_FILE;  // the backslash before it
    *name = '\0';
    bool folder = CreateDirectoryA(path, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
    *name = '\\';
    return folder;
}

// Where the system put the Windows folder's file for a program it
// redirected: C:\Windows\Marravel.ini is
// %LOCALAPPDATA%\VirtualStore\Windows\Marravel.ini.
static bool VirtualStoreFile(char* path)
{
    char local[MAX_PATH], windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length < 3 || length >= MAX_PATH || windows[1] != ':' || !ProfileFolder("LOCALAPPDATA", CSIDL_LOCAL_APPDATA, local))
        return false;
    int made = snprintf(path, MAX_PATH, "%s\\VirtualStore%s\\" SETTINGS_FILE, local, windows + 2);
    return made > 0 && made < MAX_PATH;
}

// The first of the user's file, the VirtualStore copy and the Windows
// folder's file that exists; the Windows folder's when none does.
static void ChooseSettingsFile(void)
{
    char path[MAX_PATH];
    Store.userFile = false;
    lstrcpynA(Store.file, SETTINGS_FILE, MAX_PATH);
    if (UserSettingsFile(path, false) && Exists(path)) {
        lstrcpynA(Store.file, path, MAX_PATH);
        Store.userFile = true;
    } else if (VirtualStoreFile(path) && Exists(path)) {
        lstrcpynA(Store.file, path, MAX_PATH);
    }
}

static int* IntField(int id)
{
    switch (id) {
    case SET_X:         return &Penrik.Settings.x;
    case SET_Y:         return &Penrik.Settings.y;
    case SET_WIDTH:     return &Penrik.Settings.width;
    case SET_HEIGHT:    return &Penrik.Settings.height;
    case SET_TEXTCOLOR: return (int*)&Penrik.Settings.textColor;
    case SET_BACKCOLOR: return (int*)&Penrik.Settings.backColor;
    case SET_FONTSIZE:  return (int*)&Penrik.Settings.font.lfHeight;
    case SET_WORDWRAP:  return &Penrik.Settings.wordWrap;
    default:            return 0;
    }
}

static char* TextField(int id, char* fileName)
{
    switch (id) {
    case SET_FONTNAME: return Penrik.Settings.font.lfFaceName;
    case SET_FILENAME: return fileName;
    default:
        if (id >= SET_HELPFILE1 && id <= SET_HELPFILE4)
            return Penrik.Settings.helpFile[id - SET_HELPFILE1];
        if (id >= SET_HELPNAME1 && id <= SET_HELPNAME4)
            return Penrik.Settings.helpName[id - SET_HELPNAME1];
        if (id >= SET_BUILDNAME1 && id <= SET_BUILDNAME4)
            return Penrik.Settings.buildName[id - SET_BUILDNAME1];
        return 0;
    }
}

int LoadSettings(char* fileName, size_t size)
{
    int result = 1;
    ChooseSettingsFile();
    ZeroMemory(&Penrik.Settings, sizeof Penrik.Settings);
    for (int id = 0; id < SETTING_COUNT; ++id) {
        const SettingKey& key = SettingKeys[id];
        if (key.kind == SETTING_INT) {
            *IntField(id) = (int)GetPrivateProfileIntA(SETTINGS_SECTION, key.key, key.intDefault, Store.file);
        } else {
            DWORD limit = id == SET_FILENAME && size < (size_t)key.readLimit ? (DWORD)size : (DWORD)key.readLimit;
            GetPrivateProfileStringA(SETTINGS_SECTION, key.key, key.textDefault, TextField(id, fileName), limit,
                                     Store.file);
        }
    }
    if ((size_t)lstrlenA(fileName) == size - 1) {
        // Filled to the brim: read again with room to spare to see whether
        // the name went on.
        char longer[NAME_SIZE + 1];
        DWORD length = GetPrivateProfileStringA(SETTINGS_SECTION, SettingKeys[SET_FILENAME].key, "", longer,
                                                sizeof longer, Store.file);
        if (length >= size) {
            fileName[0] = '\0';
            result = 0;
        }
    }
    return result;
}

// The window's place as the screen has it, and its size in BASE_DPI
// pixels at the DPI of the display it is on, so that start-up gives it
// back the same on any display. A minimized or maximized window keeps
// the place it has when restored.
static void StoreWindowPlace(void)
{
    RECT window;
    GetWindowRect(Penrik.hwndMain, &window);
    WINDOWPLACEMENT placement;
    placement.length = sizeof placement;
    if ((IsIconic(Penrik.hwndMain) || IsZoomed(Penrik.hwndMain)) && GetWindowPlacement(Penrik.hwndMain, &placement)) {
        // The restored place is in the work area's coordinates.
        window = placement.rcNormalPosition;
        MONITORINFO monitor;
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor))
            OffsetRect(&window, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    }
    Penrik.Settings.x = window.left;
    Penrik.Settings.y = window.top;
    Penrik.Settings.width = Unscaled(window.right - window.left);
    Penrik.Settings.height = Unscaled(window.bottom - window.top);
}

// Writes every saved setting into `file`; false when any write failed.
static bool WriteSettings(const char* file)
{
    char fileName[NAME_SIZE];
    lstrcpynA(fileName, DocumentName(), NAME_SIZE);
    for (int i = 0; i < SAVED_SETTING_COUNT; ++i) {
        const SavedSetting& saved = SavedSettings[i];
        char number[NUMBER_SIZE];
        const char* text;
        if (saved.format != 0) {
            snprintf(number, sizeof number, saved.format, *IntField(saved.id));
            text = number;
        } else {
            text = TextField(saved.id, fileName);
        }
        if (!WritePrivateProfileStringA(SETTINGS_SECTION, SettingKeys[saved.id].key, text, file))
            return false;
    }
    return true;
}

// The file read is written again, unless it is the VirtualStore copy,
// which the user's file replaces (the Windows folder's would be read
// after it). Where the Windows folder cannot be written, the user's file
// takes over, from then on.
void SaveSettings(void)
{
    StoreWindowPlace();
    bool virtualStore = !Store.userFile && lstrcmpA(Store.file, SETTINGS_FILE) != 0;
    if (!Store.userFile && !virtualStore && WriteSettings(SETTINGS_FILE))
        return;
    char user[MAX_PATH] = "";
    if (UserSettingsFile(user, true) && WriteSettings(user)) {
        lstrcpynA(Store.file, user, MAX_PATH);
        Store.userFile = true;
        return;
    }
    char text[MAX_PATH + 64];
    snprintf(text, sizeof text, "The settings could not be saved in %s.",
             Store.userFile || user[0] == '\0' ? Store.file : user);
    Sys.MessageBoxA(Penrik.hwndMain, text, "Penrik", MB_ICONEXCLAMATION);
}
