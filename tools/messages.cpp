// Compiler messages as links into the code: a double-click on one in the
// build results takes the editor of its file to its line, and Next and
// Previous Message walk those of "buildres.ult" in this editor.
#include "tools/tools.h"

#include <wchar.h>

#include <new>
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/document.h"
#include "document/filetext.h"
#include "editing/editing.h"
#include "tools/compiler_messages.h"

#define BUILD_RESULTS_NAME L"buildres.ult"
#define EDITOR_CLASS       L"PenrikWClass"
#define CAPTION_PREFIX     L"PENRIK - "
// WM_COPYDATA's mark for a place sent from one editor to another.
#define PLACE_COPYDATA 0x50656E67

// Where a message points: a file's full name, a line and a column.
struct Place {
    wchar_t name[MAX_PATH];
    DWORD line, column;
};

static struct {
    Place requested;             // sent by another editor, to be gone to
    std::vector<Place> places;   // the messages of the results file walked last
    wchar_t walked[MAX_PATH];    // that file
    FILETIME written;            // and when it was written, to see it change
    DWORD size;
    long at;                     // the message taken last; -1: none yet
} Links;

static const wchar_t* LastPart(const wchar_t* name)
{
    const wchar_t* last = name;
    for (const wchar_t* p = name; *p != 0; ++p)
        if (*p == L'\\' || *p == L'/' || *p == L':')
            last = p + 1;
    return last;
}

static bool IsResultsName(const wchar_t* name) { return lstrcmpiW(LastPart(name), BUILD_RESULTS_NAME) == 0; }

// The message on a line of text, its file taken from `folder` (ending in
// a backslash) when the message gives none; false when the line is none.
static bool PlaceOf(const wchar_t* line, size_t length, const wchar_t* folder, Place* place)
{
    CompilerMessage message;
    if (!ParseCompilerMessage((const char16_t*)line, length, &message))
        return false;
    std::wstring file(line + message.fileStart, message.fileLength);
    bool absolute = (file.size() > 1 && file[1] == L':') || file[0] == L'\\' || file[0] == L'/';
    if (!absolute)
        file = folder + file;
    DWORD full = GetFullPathNameW(file.c_str(), MAX_PATH, place->name, NULL);
    if (full == 0 || full >= MAX_PATH)
        lstrcpynW(place->name, file.c_str(), MAX_PATH);
    place->line = message.line;
    place->column = message.column;
    return true;
}

// The folder of a file's full name, with its backslash.
static std::wstring FolderOf(const wchar_t* name)
{
    std::wstring folder(name, (size_t)(LastPart(name) - name));
    return folder;
}

/* Going to a place in this editor */

static void ComeForward(void)
{
    if (IsIconic(Penrik.hwndMain))
        ShowWindow(Penrik.hwndMain, SW_RESTORE);
    SetForegroundWindow(Penrik.hwndMain);
}

// Shows the place in this editor, loading its file (after asking about
// unsaved changes) when the editor shows another. True when it loaded one.
static bool GoToPlace(const Place& place)
{
    if (GetFileAttributesW(place.name) == INVALID_FILE_ATTRIBUTES) {
        ShowMessage(Penrik.hwndMain, IDS_MESSAGE_FILE_MISSING, IDS_CAPTION_PENRIK, MB_ICONEXCLAMATION, place.name);
        return false;
    }
    bool loaded = false;
    if (!SameFile(place.name, DocumentName())) {
        loaded = OpenDocument(place.name);
        if (!loaded)
            return false;
    }
    PlaceCaret(place.line, place.column);
    ComeForward();
    return loaded;
}

bool TakePlaceRequest(const COPYDATASTRUCT* data)
{
    if (data == NULL || data->dwData != PLACE_COPYDATA || data->cbData != sizeof(Place))
        return false;
    Links.requested = *(const Place*)data->lpData;
    Links.requested.name[MAX_PATH - 1] = 0;
    // Any question about unsaved changes waits until the sender goes on.
    PostMessageW(Penrik.hwndMain, WM_COMMAND, IDM_GOTOPLACE, 0);
    return true;
}

/* The build results' double-click */

struct EditorSearch {
    const wchar_t* name;  // the file wanted
    HWND showing;         // the editor showing it
    HWND lastUsed;        // the editor, other than the build results, highest on the screen
};

static BOOL CALLBACK LookAtEditor(HWND window, LPARAM lParam)
{
    EditorSearch* search = (EditorSearch*)lParam;
    wchar_t kind[32], caption[MAX_PATH + 16];
    if (window == Penrik.hwndMain || GetClassNameW(window, kind, 32) == 0 || lstrcmpiW(kind, EDITOR_CLASS) != 0)
        return TRUE;
    int length = GetWindowTextW(window, caption, MAX_PATH + 16);
    int prefix = lstrlenW(CAPTION_PREFIX);
    const wchar_t* name = length > prefix && wcsncmp(caption, CAPTION_PREFIX, prefix) == 0 ? caption + prefix : L"";
    if (IsResultsName(name))
        return TRUE;
    if (search->lastUsed == NULL)  // windows come highest first
        search->lastUsed = window;
    if (SameFile(name, search->name)) {
        search->showing = window;
        return FALSE;
    }
    return TRUE;
}

// The line of the text that holds the caret.
static std::wstring CaretLine(void)
{
    HWND edit = Penrik.hwndEdit;
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, (WPARAM)&caret, 0);
    size_t length = (size_t)SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(length + 1, L'\0');
    text.resize((size_t)SendMessageW(edit, WM_GETTEXT, length + 1, (LPARAM)&text[0]));
    size_t start = text.rfind(L'\n', caret > 0 ? caret - 1 : 0);
    start = start == std::wstring::npos || caret == 0 ? 0 : start + 1;
    size_t end = text.find_first_of(L"\r\n", caret);
    return text.substr(start, (end == std::wstring::npos ? text.size() : end) - start);
}

bool OpenMessageAtCaret(void)
{
    if (!IsResultsName(DocumentName()))
        return false;
    Place place;
    try {
        std::wstring line = CaretLine();
        if (!PlaceOf(line.c_str(), line.size(), FolderOf(DocumentName()).c_str(), &place))
            return false;
    } catch (const std::bad_alloc&) {
        return false;  // the control selects a word, as on any other line
    }
    if (GetFileAttributesW(place.name) == INVALID_FILE_ATTRIBUTES) {
        ShowMessage(Penrik.hwndMain, IDS_MESSAGE_FILE_MISSING, IDS_CAPTION_PENRIK, MB_ICONEXCLAMATION, place.name);
        return true;
    }
    EditorSearch search = {place.name, NULL, NULL};
    EnumWindows(LookAtEditor, (LPARAM)&search);
    HWND target = search.showing != NULL ? search.showing : search.lastUsed;
    if (target != NULL) {
        DWORD process = 0;
        GetWindowThreadProcessId(target, &process);
        AllowSetForegroundWindow(process);
        COPYDATASTRUCT data = {PLACE_COPYDATA, sizeof place, &place};
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(target, WM_COPYDATA, (WPARAM)Penrik.hwndMain, (LPARAM)&data, SMTO_ABORTIFHUNG, 5000,
                            &answer);
        return true;
    }
    // No other editor: a new one, started at the place.
    wchar_t program[MAX_PATH], parameters[MAX_PATH + 64];
    DWORD length = GetModuleFileNameW(NULL, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return true;
    swprintf(parameters, MAX_PATH + 64, L"/g %lu,%lu \"%ls\"", (unsigned long)place.line,
             (unsigned long)place.column, place.name);
    Sys.ShellExecuteW(Penrik.hwndMain, NULL, program, parameters, L"", SW_SHOW);
    return true;
}

/* Next and Previous Message */

// Reads the messages of the results file, once per change of it.
static bool ReadMessages(const wchar_t* path, const WIN32_FILE_ATTRIBUTE_DATA& data)
{
    if (lstrcmpiW(path, Links.walked) == 0 && CompareFileTime(&data.ftLastWriteTime, &Links.written) == 0 &&
        data.nFileSizeLow == Links.size)
        return true;
    Links.places.clear();
    Links.at = -1;
    Links.walked[0] = 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE || data.nFileSizeHigh != 0 || data.nFileSizeLow >= 0x7FFFFFFF) {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        return false;
    }
    std::string bytes;
    ControlText text = {};
    bool read = false;
    try {
        bytes.resize(data.nFileSizeLow);
        DWORD got = 0;
        read = (data.nFileSizeLow == 0 || ReadFile(file, &bytes[0], data.nFileSizeLow, &got, NULL)) &&
               got == data.nFileSizeLow && DecodeFileText(bytes.data(), bytes.size(), &text);
    } catch (const std::bad_alloc&) {
        read = false;
    }
    CloseHandle(file);
    if (!read)
        return false;
    const wchar_t* all = (const wchar_t*)LocalLock(text.block);
    std::wstring folder = FolderOf(path);
    try {
        for (size_t start = 0; start < text.length;) {
            size_t end = start;
            while (end < text.length && all[end] != L'\r' && all[end] != L'\n')
                ++end;
            Place place;
            if (PlaceOf(all + start, end - start, folder.c_str(), &place))
                Links.places.push_back(place);
            start = end < text.length && all[end] == L'\r' && end + 1 < text.length && all[end + 1] == L'\n' ? end + 2
                                                                                                              : end + 1;
        }
    } catch (const std::bad_alloc&) {
        Links.places.clear();
    }
    LocalUnlock(text.block);
    LocalFree(text.block);
    lstrcpynW(Links.walked, path, MAX_PATH);
    Links.written = data.ftLastWriteTime;
    Links.size = data.nFileSizeLow;
    return true;
}

static bool WalkMessages(int direction)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetCurrentDirectoryW(MAX_PATH - 16, path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (length == 0 || length >= MAX_PATH - 16) {
        MessageBeep(MB_OK);
        return false;
    }
    lstrcpyW(path + length, path[length - 1] == L'\\' ? BUILD_RESULTS_NAME : L"\\" BUILD_RESULTS_NAME);
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data) || !ReadMessages(path, data)) {
        MessageBeep(MB_OK);
        return false;
    }
    long next = Links.at + direction;
    if (next < 0 || (size_t)next >= Links.places.size()) {
        MessageBeep(MB_OK);
        return false;
    }
    Links.at = next;
    return GoToPlace(Links.places[(size_t)next]);
}

bool MessageCommand(int commandId)
{
    switch (commandId) {
    case IDM_NEXTMESSAGE: return WalkMessages(+1);
    case IDM_PREVMESSAGE: return WalkMessages(-1);
    case IDM_GOTOPLACE:   return GoToPlace(Links.requested);
    }
    return false;
}

void ResetMessages(void)
{
    Links.places.clear();
    Links.walked[0] = 0;
    Links.at = -1;
}
