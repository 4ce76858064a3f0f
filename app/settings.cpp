// Reading the settings file at start-up, and Save Penrik.settings.
#include <stdio.h>

#include "app/settings_keys.h"
#include "app/shell.h"
#include "base/messages.h"
#include "document/document.h"

#include <shlobj.h>

#define NUMBER_SIZE  16  // a 32-bit number in decimal, signed
#define USER_FOLDER  L"Penrik"
#define SETTINGS_FILE_W  L"" SETTINGS_FILE
#define SETTINGS_SECTION_W L"" SETTINGS_SECTION

// Where the settings live. A program with a manifest is never redirected
// by the system, so a standard user cannot write into the Windows folder:
// the user's own file takes over there. Releases without a manifest had
// their writes redirected to the VirtualStore, where that copy is still
// read. Paths are in characters: a profile folder may have any name.
static struct {
    wchar_t file[MAX_PATH];  // a bare name is the Windows folder's
    bool userFile;           // it is the user's own file
} Store;

static bool Exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// A folder of the user's profile: from the environment first, as the
// shell itself sets it, then from the shell.
static bool ProfileFolder(const wchar_t* variable, int folderId, wchar_t* path)
{
    DWORD length = GetEnvironmentVariableW(variable, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return true;
    return SHGetFolderPathW(NULL, folderId, NULL, 0, path) == S_OK;
}

// %APPDATA%\Penrik\Marravel.ini; with `make`, its folder is made.
static bool UserSettingsFile(wchar_t* path, bool make)
{
    wchar_t base[MAX_PATH];
    path[0] = 0;
    if (!ProfileFolder(L"APPDATA", CSIDL_APPDATA, base))
        return false;
    int made = swprintf(path, MAX_PATH, L"%ls\\" USER_FOLDER L"\\" SETTINGS_FILE_W, base);
    if (made <= 0 || made >= MAX_PATH) {
        path[0] = 0;
        return false;
    }
    if (!make)
        return true;
    wchar_t* name = path + made - (int)(sizeof SETTINGS_FILE);  // the backslash before it
    *name = 0;
    bool folder = CreateDirectoryW(path, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
    *name = '\\';
    return folder;
}

// Where the system put the Windows folder's file for a program it
// redirected: C:\Windows\Marravel.ini is
// %LOCALAPPDATA%\VirtualStore\Windows\Marravel.ini.
static bool VirtualStoreFile(wchar_t* path)
{
    wchar_t local[MAX_PATH], windows[MAX_PATH];
    UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length < 3 || length >= MAX_PATH || windows[1] != ':' ||
        !ProfileFolder(L"LOCALAPPDATA", CSIDL_LOCAL_APPDATA, local))
        return false;
    int made = swprintf(path, MAX_PATH, L"%ls\\VirtualStore%ls\\" SETTINGS_FILE_W, local, windows + 2);
    return made > 0 && made < MAX_PATH;
}

// The first of the user's file, the VirtualStore copy and the Windows
// folder's file that exists; the Windows folder's when none does.
static void ChooseSettingsFile(void)
{
    wchar_t path[MAX_PATH];
    Store.userFile = false;
    lstrcpynW(Store.file, SETTINGS_FILE_W, MAX_PATH);
    if (UserSettingsFile(path, false) && Exists(path)) {
        lstrcpynW(Store.file, path, MAX_PATH);
        Store.userFile = true;
    } else if (VirtualStoreFile(path) && Exists(path)) {
        lstrcpynW(Store.file, path, MAX_PATH);
    }
}

// Whether the code page spells the text as it is.
static bool CodePageSpells(const wchar_t* text)
{
    return text[0] == 0 || CodePageName(text, NULL, 0);
}

// Makes `file` a UTF-16 file with its mark, which the profile functions
// keep characters in, its settings so far turned into characters. A file
// that is UTF-16 already stays as it is.
static bool MakeUnicodeFile(const wchar_t* file)
{
    const wchar_t* path = file;
    wchar_t windows[MAX_PATH], windowsFile[MAX_PATH];
    if (lstrcmpW(file, SETTINGS_FILE_W) == 0) {
        UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
        int made = length > 0 && length < MAX_PATH
                       ? swprintf(windowsFile, MAX_PATH, L"%ls\\" SETTINGS_FILE_W, windows) : -1;
        if (made <= 0 || made >= MAX_PATH)
            return false;
        path = windowsFile;
    }
    WritePrivateProfileStringW(NULL, NULL, NULL, file);  // what the platform holds of it goes to disk
    HANDLE handle = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    bool made = false;
    DWORD size = GetFileSize(handle, NULL);
    char* bytes = size != INVALID_FILE_SIZE && size < 0x100000 ? (char*)LocalAlloc(LPTR, size + 1) : NULL;
    DWORD read = 0;
    if (bytes != NULL && (size == 0 || (ReadFile(handle, bytes, size, &read, NULL) && read == size))) {
        if (size >= 2 && (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xFE) {
            made = true;
        } else {
            int units = size > 0 ? MultiByteToWideChar(CP_ACP, 0, bytes, (int)size, NULL, 0) : 0;
            wchar_t* text = (wchar_t*)LocalAlloc(LPTR, ((size_t)units + 1) * sizeof(wchar_t));
            if (text != NULL) {
                text[0] = 0xFEFF;
                if (units > 0)
                    MultiByteToWideChar(CP_ACP, 0, bytes, (int)size, text + 1, units);
                DWORD length = (DWORD)(units + 1) * sizeof(wchar_t), written = 0;
                made = SetFilePointer(handle, 0, NULL, FILE_BEGIN) == 0 &&
                       WriteFile(handle, text, length, &written, NULL) && written == length && SetEndOfFile(handle);
                LocalFree(text);
            }
        }
    }
    if (bytes != NULL)
        LocalFree(bytes);
    CloseHandle(handle);
    return made;
}

static int* IntField(int id)
{
    switch (id) {
    case SET_X:         return &Penrik.settings.x;
    case SET_Y:         return &Penrik.settings.y;
    case SET_WIDTH:     return &Penrik.settings.width;
    case SET_HEIGHT:    return &Penrik.settings.height;
    case SET_TEXTCOLOR: return (int*)&Penrik.settings.textColor;
    case SET_BACKCOLOR: return (int*)&Penrik.settings.backColor;
    case SET_FONTSIZE:  return (int*)&Penrik.settings.font.lfHeight;
    case SET_WORDWRAP:  return &Penrik.settings.wordWrap;
    default:            return 0;
    }
}

// The settings held in characters: the document name and the help files.
static wchar_t* WideField(int id, wchar_t* fileName)
{
    if (id == SET_FILENAME)
        return fileName;
    if (id >= SET_HELPFILE1 && id <= SET_HELPFILE4)
        return Penrik.settings.helpFile[id - SET_HELPFILE1];
    return 0;
}

// The settings held in the code page: the font's face, the button names.
static char* TextField(int id)
{
    if (id == SET_FONTNAME)
        return Penrik.settings.font.lfFaceName;
    if (id >= SET_HELPNAME1 && id <= SET_HELPNAME4)
        return Penrik.settings.helpName[id - SET_HELPNAME1];
    if (id >= SET_BUILDNAME1 && id <= SET_BUILDNAME4)
        return Penrik.settings.buildName[id - SET_BUILDNAME1];
    return 0;
}

// One text setting, read in characters.
static DWORD ReadText(const SettingKey& key, wchar_t* value, DWORD size)
{
    wchar_t keyName[32], fallback[32];
    MultiByteToWideChar(CP_ACP, 0, key.key, -1, keyName, 32);
    MultiByteToWideChar(CP_ACP, 0, key.textDefault, -1, fallback, 32);
    return GetPrivateProfileStringW(SETTINGS_SECTION_W, keyName, fallback, value, size, Store.file);
}

int LoadSettings(wchar_t* fileName, size_t size)
{
    int result = 1;
    ChooseSettingsFile();
    ZeroMemory(&Penrik.settings, sizeof Penrik.settings);
    for (int id = 0; id < SETTING_COUNT; ++id) {
        const SettingKey& key = SettingKeys[id];
        wchar_t keyName[32];
        MultiByteToWideChar(CP_ACP, 0, key.key, -1, keyName, 32);
        if (key.kind == SETTING_INT) {
            *IntField(id) = (int)GetPrivateProfileIntW(SETTINGS_SECTION_W, keyName, key.intDefault, Store.file);
        } else if (wchar_t* wide = WideField(id, fileName)) {
            DWORD limit = id == SET_FILENAME && size < (size_t)key.readLimit ? (DWORD)size : (DWORD)key.readLimit;
            ReadText(key, wide, limit);
        } else {
            wchar_t value[64];
            ReadText(key, value, key.readLimit < 64 ? (DWORD)key.readLimit : 64);
            char* field = TextField(id);
            if (WideCharToMultiByte(CP_ACP, 0, value, -1, field, key.readLimit, NULL, NULL) == 0)
                field[key.readLimit - 1] = '\0';  // cut to its room, as the reader cuts
        }
    }
    if ((size_t)lstrlenW(fileName) == size - 1) {
        // Filled to the brim: read again with room to spare to see whether
        // the name went on.
        wchar_t longer[NAME_SIZE + 1];
        DWORD length = ReadText(SettingKeys[SET_FILENAME], longer, NAME_SIZE + 1);
        if (length >= size) {
            fileName[0] = 0;
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
    Penrik.settings.x = window.left;
    Penrik.settings.y = window.top;
    Penrik.settings.width = Unscaled(window.right - window.left);
    Penrik.settings.height = Unscaled(window.bottom - window.top);
}

// Writes every saved setting into `file`; false when any write failed.
// A name the code page cannot spell makes the file UTF-16 first; any
// other file stays in the code page, as the user may keep it.
static bool WriteSettings(const wchar_t* file)
{
    const wchar_t* fileName = DocumentName();
    bool unicode = !CodePageSpells(fileName);
    for (const wchar_t* help : Penrik.settings.helpFile)
        unicode = unicode || !CodePageSpells(help);
    if (unicode && !MakeUnicodeFile(file))
        return false;
    for (int i = 0; i < SAVED_SETTING_COUNT; ++i) {
        const SavedSetting& saved = SavedSettings[i];
        wchar_t keyName[32], text[NAME_SIZE];
        MultiByteToWideChar(CP_ACP, 0, SettingKeys[saved.id].key, -1, keyName, 32);
        if (saved.format != 0) {
            char number[NUMBER_SIZE];
            snprintf(number, sizeof number, saved.format, *IntField(saved.id));
            MultiByteToWideChar(CP_ACP, 0, number, -1, text, NAME_SIZE);
        } else if (saved.id == SET_FILENAME) {
            lstrcpynW(text, fileName, NAME_SIZE);
        } else {
            MultiByteToWideChar(CP_ACP, 0, TextField(saved.id), -1, text, NAME_SIZE);
        }
        if (!WritePrivateProfileStringW(SETTINGS_SECTION_W, keyName, text, file))
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
    bool virtualStore = !Store.userFile && lstrcmpW(Store.file, SETTINGS_FILE_W) != 0;
    if (!Store.userFile && !virtualStore && WriteSettings(SETTINGS_FILE_W))
        return;
    wchar_t user[MAX_PATH] = L"";
    if (UserSettingsFile(user, true) && WriteSettings(user)) {
        lstrcpynW(Store.file, user, MAX_PATH);
        Store.userFile = true;
        return;
    }
    ShowMessage(Penrik.hwndMain, IDS_SETTINGS_NOT_SAVED, IDS_CAPTION_PENRIK, MB_ICONEXCLAMATION,
                Store.userFile || user[0] == 0 ? Store.file : user);
}
