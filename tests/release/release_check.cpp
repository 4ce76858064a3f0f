// Looks at an unpacked release the way Windows and a user would:
//   release_check version FILE   prints the version resource's fields, read
//                                as the file's properties page reads them
//   release_check manifest FILE  prints the application manifest that
//                                Windows reads when it starts FILE
//   release_check run FILE [DOC]  starts FILE in its own folder with no
//                                settings, waits for its main window, and
//                                with DOC (a name relative to that folder)
//                                on the command line checks that DOC is
//                                shown, types a line into it and saves it;
//                                then chooses File > Exit and prints the
//                                exit code
// Exits 0 when every step worked.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/common/windows.h"

static const char* const VersionFields[] = {
    "FileDescription", "FileVersion", "ProductName", "ProductVersion", "OriginalFilename", "LegalCopyright",
};

static int PrintVersion(const char* file)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file, &ignored);
    if (size == 0) {
        printf("no version resource (error %lu)\n", GetLastError());
        return 1;
    }
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file, 0, size, data.data())) {
        printf("GetFileVersionInfoA failed (error %lu)\n", GetLastError());
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\", (void**)&fixed, &length) && length >= sizeof *fixed)
        printf("FILEVERSION=%u.%u.%u.%u\n", (unsigned)HIWORD(fixed->dwFileVersionMS),
               (unsigned)LOWORD(fixed->dwFileVersionMS), (unsigned)HIWORD(fixed->dwFileVersionLS),
               (unsigned)LOWORD(fixed->dwFileVersionLS));
    // The strings are looked up under the first language and code page that
    // the Translation list names, as the properties page does.
    WORD* translation = NULL;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", (void**)&translation, &length) ||
        length < 2 * sizeof(WORD)) {
        printf("no Translation list\n");
        return 1;
    }
    for (const char* field : VersionFields) {
        char path[128];
        snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], field);
        char* value = NULL;
        if (VerQueryValueA(data.data(), path, (void**)&value, &length) && value)
            printf("%s=%s\n", field, value);
        else
            printf("%s is missing\n", field);
    }
    return 0;
}

static int PrintManifest(const char* file)
{
    HMODULE image = LoadLibraryExA(file, NULL, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = image != NULL ? FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : NULL;
    HGLOBAL loaded = found != NULL ? LoadResource(image, found) : NULL;
    const char* text = loaded != NULL ? (const char*)LockResource(loaded) : NULL;
    if (text == NULL) {
        printf("no manifest (error %lu)\n", GetLastError());
        return 1;
    }
    fwrite(text, 1, SizeofResource(image, found), stdout);
    printf("\n");
    return 0;
}

// A message box left standing: its text, or "" when there is none.
static std::string MessageShown(DWORD processId)
{
    HWND box = FindWindowOf(processId, "#32770");
    if (!box)
        return "";
    std::string text = DialogText(box);
    return text.empty() ? "(a dialog)" : text;
}

static bool ReadWhole(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, NULL);
    bytes.assign(size, '\0');
    DWORD read = 0;
    bool whole = size == 0 || (ReadFile(file, &bytes[0], size, &read, NULL) && read == size);
    CloseHandle(file);
    return whole;
}

// The text the control holds for a file's bytes: a file whose lines end
// in LF alone is shown with CR LF breaks.
static std::string AsShown(const std::string& bytes)
{
    if (bytes.find('\n') == std::string::npos || bytes.find("\r\n") != std::string::npos)
        return bytes;
    std::string shown;
    for (char c : bytes) {
        if (c == '\n')
            shown += '\r';
        shown += c;
    }
    return shown;
}

// Shows `document`, types a line at its start, saves and checks the bytes.
static bool EditAndSave(DWORD processId, HWND window, const std::string& path, const char* document)
{
    std::string original;
    if (!ReadWhole(path, original)) {
        printf("cannot read %s\n", path.c_str());
        return false;
    }
    HWND edit = GetDlgItem(window, IDC_EDIT);
    std::string shown = edit ? TextOf(edit) : "";
    std::string caption = TextOf(window);
    std::string title = path.substr(path.find_last_of('\\') + 1);
    if (shown != AsShown(original) || caption.find(title) == std::string::npos) {
        printf("%s is not shown: caption \"%s\", %u of its %u bytes in the text\n", document, caption.c_str(),
               (unsigned)(shown == AsShown(original) ? original.size() : 0), (unsigned)original.size());
        return false;
    }
    printf("loaded %s (%u bytes)\n", document, (unsigned)original.size());

    const std::string typed = "/* changed */ ";
    for (char c : typed)
        PostMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)c, 1);
    Settle(window);
    PostMessageA(window, WM_COMMAND, IDM_SAVE, 0);
    Settle(window);
    std::string expected = typed + original, saved;
    DWORD start = GetTickCount();
    while (!(ReadWhole(path, saved) && saved == expected) && GetTickCount() - start < 10000)
        Sleep(50);
    if (saved != expected) {
        std::string message = MessageShown(processId);
        printf("the saved file is not the edited text (%u bytes on disk, %u expected)%s%s\n",
               (unsigned)saved.size(), (unsigned)expected.size(), message.empty() ? "" : "; it says: ",
               message.c_str());
        return false;
    }
    printf("saved byte for byte (%u bytes)\n", (unsigned)saved.size());
    return true;
}

static int RunAndExit(const char* file, const char* document)
{
    // A first start: no settings file in the Windows folder.
    char settings[MAX_PATH];
    UINT length = GetWindowsDirectoryA(settings, MAX_PATH);
    snprintf(settings + length, sizeof settings - length, "\\Marravel.ini");
    DeleteFileA(settings);

    std::string folder = file;
    folder.resize(folder.find_last_of('\\') + 1);
    std::string line = "\"" + std::string(file) + "\"";
    if (document)
        line += " " + std::string(document);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(file, &line[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup, &process)) {
        printf("cannot start %s (error %lu)\n", file, GetLastError());
        return 1;
    }
    int result = 1;
    WaitForInputIdle(process.hProcess, 10000);
    HWND window = NULL;
    WaitFor([&] { return (window = FindWindowOf(process.dwProcessId, "PenrikWClass", true)) != NULL; }, 20000);
    if (!window) {
        printf("no main window appeared\n");
    } else {
        Settle(window);
        printf("window shown: \"%s\"\n", TextOf(window).c_str());
        std::string message = MessageShown(process.dwProcessId);
        if (!message.empty()) {
            printf("a message stands on start: %s\n", message.c_str());
        } else if (!document || EditAndSave(process.dwProcessId, window, folder + document, document)) {
            PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
            if (WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0) {
                DWORD code = 0;
                GetExitCodeProcess(process.hProcess, &code);
                printf("exit code %lu\n", code);
                result = code == 0 ? 0 : 1;
            } else {
                message = MessageShown(process.dwProcessId);
                printf("still running after Exit%s%s\n", message.empty() ? "" : "; it asks: ", message.c_str());
            }
        }
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return result;
}

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "version") == 0)
        return PrintVersion(argv[2]);
    if (argc == 3 && strcmp(argv[1], "manifest") == 0)
        return PrintManifest(argv[2]);
    if ((argc == 3 || argc == 4) && strcmp(argv[1], "run") == 0)
        return RunAndExit(argv[2], argc == 4 ? argv[3] : NULL);
    fprintf(stderr, "usage: release_check version FILE | manifest FILE | run FILE [DOCUMENT]\n");
    return 2;
}
