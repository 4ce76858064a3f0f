#include "harness.h"

#include <stdio.h>

Script script;

static std::string Or(const char* text, const char* fallback)
{
    return text != NULL ? std::string(text) : std::string(fallback);
}

static int WINAPI FakeMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    script.boxes.push_back({Or(text, ""), Or(caption, "(none)"), type});
    if (script.boxAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: " << Or(text, "");
        return IDCANCEL;
    }
    int answer = script.boxAnswers.front();
    script.boxAnswers.pop_front();
    return answer;
}

void RecordDialog(const char* kind, LPOPENFILENAMEA ofn)
{
    script.dialogs.push_back({kind, Or(ofn->lpstrTitle, "(none)"), ofn->Flags, ofn->nFilterIndex,
                              Or(ofn->lpstrFile, ""), *ofn});
}

static BOOL FakeFileDialog(const char* kind, LPOPENFILENAMEA ofn)
{
    RecordDialog(kind, ofn);
    if (script.dialogAnswers.empty()) {
        ADD_FAILURE() << "unexpected " << kind << " dialog";
        return FALSE;
    }
    DialogAnswer answer = script.dialogAnswers.front();
    script.dialogAnswers.pop_front();
    lstrcpynA(ofn->lpstrFile, answer.path.c_str(), (int)ofn->nMaxFile);
    if (!answer.ok)
        return FALSE;
    size_t slash = answer.path.find_last_of("\\/");
    std::string title = slash == std::string::npos ? answer.path : answer.path.substr(slash + 1);
    if (ofn->lpstrFileTitle != NULL)
        lstrcpynA(ofn->lpstrFileTitle, title.c_str(), (int)ofn->nMaxFileTitle);
    // Like the real dialog: the chosen file's folder becomes current.
    if (!(ofn->Flags & OFN_NOCHANGEDIR) && slash != std::string::npos)
        SetCurrentDirectoryA(answer.path.substr(0, slash + 1).c_str());
    return TRUE;
}

static BOOL WINAPI FakeOpenDialog(LPOPENFILENAMEA ofn) { return FakeFileDialog("open", ofn); }
static BOOL WINAPI FakeSaveDialog(LPOPENFILENAMEA ofn) { return FakeFileDialog("save", ofn); }

static HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                         LPCSTR directory, INT show)
{
    script.shell.push_back({Or(operation, "(none)"), Or(file, "(none)"), Or(parameters, "(none)"),
                            Or(directory, "(none)"), show});
    return (HINSTANCE)42;
}

Utf8Calls Utf8Sys;

// The program's wide calls, handed to the tests' UTF-8 fakes.
static int WINAPI Utf8MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    std::string narrowText = Utf8(text), narrowCaption = Utf8(caption);
    return Sys.MessageBoxA(owner, text != NULL ? narrowText.c_str() : NULL,
                           caption != NULL ? narrowCaption.c_str() : NULL, type);
}

// A zero-separated list that ends in two zeros.
static std::string Utf8List(const wchar_t* list)
{
    std::string bytes;
    for (const wchar_t* item = list; item != NULL && *item != 0; item += lstrlenW(item) + 1)
        bytes += Utf8(item) + '\0';
    return bytes + '\0';
}

static BOOL Utf8FileDialog(BOOL(WINAPI* fake)(LPOPENFILENAMEA), LPOPENFILENAMEW wide)
{
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = wide->lStructSize;
    ofn.hwndOwner = wide->hwndOwner;
    // The record the test keeps points here after the call.
    static std::string filter, title, ext;
    filter = Utf8List(wide->lpstrFilter);
    title = Utf8(wide->lpstrTitle);
    ext = Utf8(wide->lpstrDefExt);
    ofn.lpstrFilter = wide->lpstrFilter != NULL ? filter.c_str() : NULL;
    ofn.nFilterIndex = wide->nFilterIndex;
    std::string file = Utf8(wide->lpstrFile), fileTitle = Utf8(wide->lpstrFileTitle);
    file.resize(wide->nMaxFile * 3 + 1);
    fileTitle.resize(wide->nMaxFileTitle * 3 + 1);
    ofn.lpstrFile = &file[0];
    ofn.nMaxFile = wide->nMaxFile;
    ofn.lpstrFileTitle = wide->lpstrFileTitle != NULL ? &fileTitle[0] : NULL;
    ofn.nMaxFileTitle = wide->nMaxFileTitle;
    ofn.lpstrTitle = wide->lpstrTitle != NULL ? title.c_str() : NULL;
    ofn.Flags = wide->Flags;
    ofn.lpstrDefExt = wide->lpstrDefExt != NULL ? ext.c_str() : NULL;
    BOOL chosen = fake(&ofn);
    if (chosen) {
        lstrcpynW(wide->lpstrFile, Wide(file.c_str()).c_str(), (int)wide->nMaxFile);
        if (wide->lpstrFileTitle != NULL)
            lstrcpynW(wide->lpstrFileTitle, Wide(fileTitle.c_str()).c_str(), (int)wide->nMaxFileTitle);
    }
    return chosen;
}
static BOOL WINAPI Utf8OpenDialog(LPOPENFILENAMEW wide) { return Utf8FileDialog(Utf8Sys.GetOpenFileName, wide); }
static BOOL WINAPI Utf8SaveDialog(LPOPENFILENAMEW wide) { return Utf8FileDialog(Utf8Sys.GetSaveFileName, wide); }

static HINSTANCE WINAPI Utf8ShellExecute(HWND owner, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                                         LPCWSTR directory, INT show)
{
    std::string o = Utf8(operation), f = Utf8(file), p = Utf8(parameters), d = Utf8(directory);
    return Utf8Sys.ShellExecute(owner, operation != NULL ? o.c_str() : NULL, file != NULL ? f.c_str() : NULL,
                                parameters != NULL ? p.c_str() : NULL, directory != NULL ? d.c_str() : NULL, show);
}

static DWORD WINAPI FakeGetVersion(void) { return script.version; }

static HFILE WINAPI FakeOpenFile(LPCSTR, LPOFSTRUCT, UINT)
{
    return script.mailLibraryPresent ? 1 : HFILE_ERROR;
}

static BOOL WINAPI FakeWriteFile(HANDLE file, LPCVOID data, DWORD length, LPDWORD written,
                                 LPOVERLAPPED overlapped)
{
    if (!script.failNextWrite)
        return WriteFile(file, data, length, written, overlapped);
    // A disk that fills up half way.
    script.failNextWrite = false;
    WriteFile(file, data, length / 2, written, overlapped);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

static BOOL WINAPI FakeReadFile(HANDLE file, LPVOID data, DWORD length, LPDWORD read, LPOVERLAPPED overlapped)
{
    if (script.failReadAfter != 0) {
        if (script.failReadAfter > 0)
            --script.failReadAfter;
        return ReadFile(file, data, length, read, overlapped);
    }
    // A share that drops half way through the read.
    script.failReadAfter = -1;
    ReadFile(file, data, length / 2, read, overlapped);
    SetLastError(ERROR_NETNAME_DELETED);
    return FALSE;
}

static HLOCAL WINAPI FakeLocalAlloc(UINT flags, SIZE_T size)
{
    if (script.failAllocAfter == 0) {
        script.failAllocAfter = -1;
        return NULL;
    }
    if (script.failAllocAfter > 0)
        --script.failAllocAfter;
    return LocalAlloc(flags, size);
}

void PenrikTest::SetUp()
{
    script = Script();
    ResetSystemCalls();
    Sys.MessageBoxA = FakeMessageBox;
    Sys.MessageBoxW = Utf8MessageBox;
    Utf8Sys.GetOpenFileName = FakeOpenDialog;
    Utf8Sys.GetSaveFileName = FakeSaveDialog;
    Utf8Sys.ShellExecute = FakeShellExecute;
    Sys.GetOpenFileNameW = Utf8OpenDialog;
    Sys.GetSaveFileNameW = Utf8SaveDialog;
    Sys.ShellExecuteW = Utf8ShellExecute;
    Sys.GetVersion = FakeGetVersion;
    Sys.OpenFile = FakeOpenFile;
    Sys.ReadFile = FakeReadFile;
    Sys.WriteFile = FakeWriteFile;
    Sys.LocalAlloc = FakeLocalAlloc;
    WriteSettings("");
    tempDir.clear();
}

void PenrikTest::TearDown()
{
    if (started)
        ShutDown();
    started = false;
    ResetSystemCalls();
    // The next program in this prefix reads the Windows folder's file.
    PlaceSettingsFile(UserSettingsPath(), "");
    PlaceSettingsFile(VirtualStorePath(), "");
    EXPECT_TRUE(script.boxAnswers.empty()) << "a scripted message box never came";
    EXPECT_TRUE(script.dialogAnswers.empty()) << "a scripted file dialog never came";
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    SetCurrentDirectoryA(windows);
}

std::string PenrikTest::SettingsPath()
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\" SETTINGS_FILE;
}

std::string PenrikTest::UserSettingsPath()
{
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("APPDATA", folder, MAX_PATH);
    return std::string(folder) + "\\Penrik\\" SETTINGS_FILE;
}

std::string PenrikTest::VirtualStorePath()
{
    char folder[MAX_PATH] = "", windows[MAX_PATH] = "";
    GetEnvironmentVariableA("LOCALAPPDATA", folder, MAX_PATH);
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(folder) + "\\VirtualStore" + (windows + 2) + "\\" SETTINGS_FILE;
}

// Puts a settings file in place (none when empty), read-write, with the
// platform's cache of it emptied.
void PenrikTest::PlaceSettingsFile(const std::string& path, const std::string& contents)
{
    WritePrivateProfileStringA(NULL, NULL, NULL, path.c_str());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(path.c_str());  // one a test put in the file's way
    if (!contents.empty()) {
        for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
            CreateDirectoryA(path.substr(0, slash).c_str(), NULL);
        WriteFileBytes(path, contents);
    }
    WritePrivateProfileStringA(NULL, NULL, NULL, path.c_str());
}

void PenrikTest::WriteSettings(const std::string& contents)
{
    PlaceSettingsFile(UserSettingsPath(), "");
    PlaceSettingsFile(VirtualStorePath(), "");
    WritePrivateProfileStringA(NULL, NULL, NULL, SETTINGS_FILE);
    PlaceSettingsFile(SettingsPath(), contents);
    WritePrivateProfileStringA(NULL, NULL, NULL, SETTINGS_FILE);
}

void PenrikTest::Start(const std::string& commandLine, int show)
{
    exitCode = -1;
    ASSERT_EQ(1, StartUp(GetModuleHandleA(NULL), Wide(commandLine).c_str(), show));
    started = true;
    Pump();
}

void PenrikTest::Pump()
{
    for (int round = 0; round < 50; ++round) {
        MSG msg;
        int handled = 0;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            ++handled;
            if (msg.message == WM_QUIT) {
                exitCode = (int)msg.wParam;
                continue;
            }
            DispatchWithAccelerators(&msg);
        }
        if (handled == 0)
            break;
    }
}

void PenrikTest::Command(int id)
{
    PostMessageA(Penrik.hwndMain, WM_COMMAND, (WPARAM)id, 0);
    Pump();
}

void PenrikTest::Key(UINT vk, bool ctrl, bool alt, bool shift)
{
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    memcpy(state, saved, sizeof state);
    state[VK_CONTROL] = state[VK_LCONTROL] = ctrl ? 0x80 : 0;
    state[VK_MENU] = state[VK_LMENU] = alt ? 0x80 : 0;
    state[VK_SHIFT] = state[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    HWND target = GetFocus() != NULL ? GetFocus() : Penrik.hwndEdit;
    LPARAM lParam = 1 | ((LPARAM)MapVirtualKeyA(vk, 0) << 16) | (alt ? (1L << 29) : 0);
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, lParam);
    Pump();
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, lParam | 0xC0000000L);
    Pump();
    SetKeyboardState(saved);
}

void PenrikTest::Type(const std::string& text)
{
    HWND target = GetFocus() != NULL ? GetFocus() : Penrik.hwndEdit;
    for (char c : text) {
        if (c == '\n') {
            Key(VK_RETURN);
            continue;
        }
        PostMessageA(target, WM_CHAR, (WPARAM)(unsigned char)c, 1);
        Pump();
    }
}

void PenrikTest::SetClipboard(const std::string& text)
{
    ASSERT_TRUE(OpenClipboard(Penrik.hwndMain));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(data), text.c_str(), text.size() + 1);
    GlobalUnlock(data);
    SetClipboardData(CF_TEXT, data);
    CloseClipboard();
}

std::string PenrikTest::EditText()
{
    int length = GetWindowTextLengthA(Penrik.hwndEdit);
    std::string text(length + 1, '\0');
    GetWindowTextA(Penrik.hwndEdit, &text[0], length + 1);
    text.resize(length);
    return text;
}

HBRUSH PenrikTest::EditBrush()
{
    HDC dc = GetDC(Penrik.hwndEdit);
    HBRUSH brush = (HBRUSH)SendMessageA(Penrik.hwndMain, WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)Penrik.hwndEdit);
    ReleaseDC(Penrik.hwndEdit, dc);
    return brush;
}

std::string PenrikTest::Caption()
{
    wchar_t caption[512];
    GetWindowTextW(Penrik.hwndMain, caption, 512);
    return Utf8(caption);
}

bool PenrikTest::MenuGrayed(int id)
{
    return (GetMenuState(GetMenu(Penrik.hwndMain), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

bool PenrikTest::ButtonEnabled(int id)
{
    return IsWindowEnabled(GetDlgItem(Penrik.hwndMain, id)) != FALSE;
}

std::string PenrikTest::TempDir()
{
    if (tempDir.empty())
        tempDir = FreshFolder("penrik");
    return tempDir;
}

void PenrikTest::WriteFileBytes(const std::string& path, const std::string& bytes)
{
    ASSERT_TRUE(WriteBytes(path, bytes)) << path;
}

std::string PenrikTest::ReadFileBytes(const std::string& path)
{
    return ReadBytes(path);
}

bool PenrikTest::FileExists(const std::string& path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
