// A monkey run: a seeded random sequence of menu commands, keystrokes,
// right-button releases and drops, with every box and dialog answered at
// random. Throughout: no crash, no hang, no object leak, and every file on
// disk holds exactly the text last written to it successfully.
//
// PENRIK_MONKEY_STEPS sets the number of steps (2000 unless set),
// PENRIK_MONKEY_SEED the seed.
#include "harness.h"

#include <shlobj.h>

#include <map>
#include <random>
#include <stdio.h>
#include <stdlib.h>

namespace {

// ---- Counting the process's GDI and USER objects ----------------------
// Wine's GetGuiResources answers nothing, so the handle tables are probed
// instead: a handle value without its generation bits names whatever
// object sits at that index.
DWORD GdiObjects()
{
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0)
        return counted;
    for (UINT_PTR index = 0x20; index < 0x10000; ++index)
        if (GetObjectType((HGDIOBJ)index) != 0)
            ++counted;
    return counted;
}

DWORD UserObjects()
{
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (counted != 0)
        return counted;
    DWORD thread = GetCurrentThreadId();
    for (UINT_PTR index = 0x20; index < 0x10000; index += 2) {
        HWND window = (HWND)index;
        if (IsWindow(window) && GetWindowThreadProcessId(window, NULL) == thread)
            ++counted;
        else if (IsMenu((HMENU)index))
            ++counted;
    }
    return counted;
}

// ---- The random answers ------------------------------------------------
std::mt19937 rng;
int Chance(int percent) { return (int)(rng() % 100) < percent; }
template <typename T, size_t N> const T& Pick(const T (&items)[N]) { return items[rng() % N]; }

std::string sandbox;                       // every file the run touches is in here
std::map<std::string, std::string> disk;   // path -> what it must hold ("<missing>" for none)
struct PendingWrite {
    std::string path, bytes;
    bool failed;
};
std::vector<PendingWrite> pending;         // writes of the current step
std::vector<std::string> pendingDeletes;
std::map<std::string, int> boxCounts;      // what the run saw, for the report
int failedWrites, refusedAllocs, restarts, sends;
std::string stepName;
volatile DWORD stepStarted;
volatile LONG stepsDone;

std::string Lower(std::string text)
{
    for (char& c : text)
        c = (char)tolower((unsigned char)c);
    return text;
}

std::string RandomFile()
{
    static const char* const names[] = {"a.txt", "b.c", "c.txt", "d.h", "new one.txt", "sub\\e.txt", "sub\\f.txt"};
    return sandbox + Pick(names);
}

int WINAPI MonkeyBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    std::string message = text != NULL ? text : "";
    script.boxes.push_back({message, caption != NULL ? caption : "(none)", type});
    if (script.boxes.size() > 50)
        script.boxes.erase(script.boxes.begin());
    // Counted by kind: the sandbox's paths stand as %s.
    std::string kind = message;
    for (const auto& entry : disk)
        for (size_t at; (at = Lower(kind).find(Lower(entry.first))) != std::string::npos;)
            kind.replace(at, entry.first.size(), "%s");
    if (message.rfind("Error writing to ", 0) == 0) {
        std::string path = message.substr(17, message.size() - 18);
        for (PendingWrite& write : pending)
            if (Lower(write.path) == Lower(path))
                write.failed = true;
    }
    ++boxCounts[kind];
    if (type & MB_YESNOCANCEL) {
        static const int answers[] = {IDYES, IDYES, IDNO, IDCANCEL};
        int answer = Pick(answers);
        if (answer == IDYES && message.rfind("DELETE: ", 0) == 0)
            pendingDeletes.push_back(message.substr(8, message.size() - 10));
        return answer;
    }
    return IDOK;
}

BOOL MonkeyFileDialog(const char* kind, LPOPENFILENAMEA ofn)
{
    RecordDialog(kind, ofn);
    if (script.dialogs.size() > 50)
        script.dialogs.erase(script.dialogs.begin());
    if (Chance(20)) {
        if (Chance(50))
            lstrcpynA(ofn->lpstrFile, "typed then cancelled", (int)ofn->nMaxFile);
        return FALSE;
    }
    std::string path = RandomFile();
    lstrcpynA(ofn->lpstrFile, path.c_str(), (int)ofn->nMaxFile);
    size_t slash = path.find_last_of('\\');
    lstrcpynA(ofn->lpstrFileTitle, path.substr(slash + 1).c_str(), (int)ofn->nMaxFileTitle);
    if (!(ofn->Flags & OFN_NOCHANGEDIR))
        SetCurrentDirectoryA(path.substr(0, slash + 1).c_str());
    return TRUE;
}
BOOL WINAPI MonkeyOpen(LPOPENFILENAMEA ofn) { return MonkeyFileDialog("open", ofn); }
BOOL WINAPI MonkeySave(LPOPENFILENAMEA ofn) { return MonkeyFileDialog("save", ofn); }

BOOL WINAPI MonkeyFont(LPCHOOSEFONTA choose)
{
    if (Chance(40))
        return FALSE;
    static const char* const faces[] = {"Courier New", "MS Sans Serif", "Tahoma", "No Such Face"};
    LOGFONTA* font = choose->lpLogFont;
    font->lfHeight = -(LONG)(6 + rng() % 30);
    font->lfWeight = Chance(50) ? FW_BOLD : FW_NORMAL;
    font->lfItalic = (BYTE)Chance(30);
    lstrcpynA(font->lfFaceName, Pick(faces), LF_FACESIZE);
    choose->rgbColors = rng() & 0xFFFFFF;
    return TRUE;
}

BOOL WINAPI MonkeyColor(LPCHOOSECOLORA choose)
{
    if (Chance(40))
        return FALSE;
    choose->rgbResult = rng() & 0xFFFFFF;
    return TRUE;
}

BOOL WINAPI MonkeyPrintDialog(LPPRINTDLGA) { return FALSE; }
DWORD WINAPI MonkeyDialogError(void) { return 0; }

ULONG WINAPI MonkeySend(ULONG_PTR, LPSTR, LPSTR, LPSTR, ULONG)
{
    ++sends;
    return 0;
}
HMODULE WINAPI MonkeyLoadLibrary(LPCSTR) { return Chance(50) ? (HMODULE)GetModuleHandleA(NULL) : NULL; }
FARPROC WINAPI MonkeyGetProcAddress(HMODULE, LPCSTR)
{
    return Chance(80) ? (FARPROC)(void*)MonkeySend : NULL;
}
BOOL WINAPI MonkeyFreeLibrary(HMODULE) { return TRUE; }

// Every write is of the control's whole text at that moment, to the
// document's file; it counts once the step shows no error for it.
bool failWrites;
BOOL WINAPI MonkeyWrite(HANDLE file, LPCVOID data, DWORD length, LPDWORD written, LPOVERLAPPED overlapped)
{
    std::string bytes((const char*)data, length);
    int shown = GetWindowTextLengthA(Penrik.hwndEdit);
    std::string text(shown + 1, '\0');
    GetWindowTextA(Penrik.hwndEdit, &text[0], shown + 1);
    // The file gets the control's text with the document's own line breaks.
    text.resize(FromControlBreaks(&text[0], (size_t)shown, (LineBreaks)DocumentBreaks()));
    EXPECT_TRUE(bytes == text) << stepName << ": the bytes written are not the control's text";
    pending.push_back({Utf8(DocumentName()), bytes, false});
    if (failWrites && Chance(15)) {
        ++failedWrites;
        WriteFile(file, data, length / 2, written, overlapped);
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(file, data, length, written, overlapped);
}

// The program's own dialogs (Find, About) and anything else modal that
// comes up get answered from a timer that runs inside their loops.
BOOL CALLBACK AnswerOneDialog(HWND window, LPARAM)
{
    char className[16];
    if (!IsWindowVisible(window) || !GetClassNameA(window, className, sizeof className) ||
        lstrcmpA(className, "#32770") != 0 || GetPropA(window, "answered") != NULL)
        return TRUE;
    SetPropA(window, "answered", (HANDLE)1);
    if (GetDlgItem(window, IDC_FINDTEXT) != NULL) {
        static const char* const finds[] = {"a", "line", "{", "\t", "", "zz", "A"};
        static const char* const replacements[] = {"", "b", "aa", "line\r\nline", "{}"};
        SetDlgItemTextA(window, IDC_FINDTEXT, Pick(finds));
        SetDlgItemTextA(window, IDC_REPLTEXT, Pick(replacements));
        if (Chance(30))
            SendDlgItemMessageA(window, IDC_CASE, BM_CLICK, 0, 0);
        static const int buttons[] = {IDOK, IDOK, IDC_PREVIOUS, IDCANCEL};
        int button = Pick(buttons);
        if (!IsWindowEnabled(GetDlgItem(window, button)))
            button = IDCANCEL;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(window, button));
    } else {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return FALSE;
}
void CALLBACK AnswerDialogs(HWND, UINT, UINT_PTR, DWORD)
{
    EndMenu();  // an Alt key may have opened a menu, which waits for a person
    EnumThreadWindows(GetCurrentThreadId(), AnswerOneDialog, 0);
}

// A step that does not come back is a hang: say which, and end the run.
DWORD WINAPI Watchdog(LPVOID)
{
    for (;;) {
        Sleep(1000);
        if (stepStarted != 0 && GetTickCount() - stepStarted > 120000) {
            fprintf(stderr, "monkey: step %ld (%s) has run for two minutes: hung\n", (long)stepsDone,
                    stepName.c_str());
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

int EnvironmentNumber(const char* name, int fallback)
{
    const char* text = getenv(name);
    return text != NULL && text[0] != '\0' ? atoi(text) : fallback;
}

class Monkey : public PenrikTest {
protected:
    void SetUp() override
    {
        PenrikTest::SetUp();
        Sys.MessageBoxA = MonkeyBox;
        Utf8Sys.GetOpenFileName = MonkeyOpen;
        Utf8Sys.GetSaveFileName = MonkeySave;
        Sys.ChooseFontA = MonkeyFont;
        Sys.ChooseColorA = MonkeyColor;
        Sys.PrintDlgA = MonkeyPrintDialog;
        Sys.CommDlgExtendedError = MonkeyDialogError;
        Sys.LoadLibraryA = MonkeyLoadLibrary;
        Sys.GetProcAddress = MonkeyGetProcAddress;
        Sys.FreeLibrary = MonkeyFreeLibrary;
        Sys.WriteFile = MonkeyWrite;
        failWrites = true;
        pending.clear();
        pendingDeletes.clear();
        boxCounts.clear();
        disk.clear();
        failedWrites = refusedAllocs = restarts = sends = 0;
    }

    void MakeSandbox()
    {
        sandbox = TempDir() + "monkey\\";
        CreateDirectoryA(sandbox.c_str(), NULL);
        CreateDirectoryA((sandbox + "sub").c_str(), NULL);
        const char* const names[] = {"a.txt", "b.c", "c.txt", "d.h", "new one.txt", "sub\\e.txt", "sub\\f.txt"};
        const char* const contents[] = {"alpha line\r\n", "int main(void)\r\n{\r\n\treturn 0;\r\n}\r\n",
                                        "", "#define A 1\r\n", NULL, "a\r\nline\r\nzz\r\n", NULL};
        for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
            std::string path = sandbox + names[i];
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
            if (contents[i] != NULL)
                WriteFileBytes(path, contents[i]);
            disk[path] = contents[i] != NULL ? contents[i] : "<missing>";
        }
    }

    // Settles what the step did to the files, then checks every one.
    void CheckDisk()
    {
        for (const PendingWrite& write : pending) {
            if (write.failed)
                continue;
            std::string key = write.path;
            for (auto& entry : disk)
                if (Lower(entry.first) == Lower(key))
                    key = entry.first;
            disk[key] = write.bytes;
        }
        for (const std::string& path : pendingDeletes)
            for (auto& entry : disk)
                if (Lower(entry.first) == Lower(path))
                    entry.second = "<missing>";
        pending.clear();
        pendingDeletes.clear();
        for (const auto& entry : disk)
            ASSERT_TRUE(entry.second == ReadFileBytes(entry.first))
                << stepName << ": " << entry.first << " holds something else than the text last saved";
    }

    void Drop(const std::string& path)
    {
        std::string list = path + '\0' + '\0';
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
        DROPFILES* files = (DROPFILES*)GlobalLock(memory);
        files->pFiles = sizeof(DROPFILES);
        memcpy((char*)files + sizeof(DROPFILES), list.data(), list.size());
        GlobalUnlock(memory);
        PostMessageA(Penrik.hwndMain, WM_DROPFILES, (WPARAM)memory, 0);
        Pump();
    }

    // One random thing a person could do. Returns its name.
    std::string Step()
    {
        static const int commands[] = {
            IDM_NEW, IDM_OPEN, IDM_OPEN2ND, IDM_SAVE, IDM_SAVE, IDM_SAVEAS, IDM_DELETEFILE, IDM_LOADFILE,
            IDM_PRINT, IDM_PRINTSETUP, IDM_SETFONT, IDM_SETCOLOR, IDM_SAVESETTINGS, IDM_WORDWRAP, IDM_SENDMAIL,
            IDM_EXIT, IDM_UNDO, IDM_CUT, IDM_COPY, IDM_PASTE, IDM_CLEAR, IDM_SELECTALL, IDM_FIND, IDM_FINDNEXT,
            IDM_FINDPREV, IDM_REPLACE, IDM_REPLACEALL, IDM_COMPILE, IDM_BUILD, IDM_BUILDALL, IDM_CLEAN,
            IDM_EXECUTE, IDM_DEBUG, IDM_HELP1, IDM_HELP2, IDM_HELP3, IDM_HELP4, IDM_ABOUT};
        static const UINT keys[] = {VK_RETURN, VK_RETURN, VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_UP,
                                    VK_DOWN, VK_HOME, VK_END, VK_TAB, VK_INSERT, VK_F2, VK_F3, VK_F4, VK_F5,
                                    'A', 'C', 'N', 'S', 'V', 'X', 'Z', 'D', 'O', 'T', '2', 'B', 'E', 'P', 'R'};
        static const char* const typed[] = {"a", "line", "{", "}", "(", ")", ":", " ", "\t", "zz", "x\ny", "\n"};
        char name[96];
        int roll = (int)(rng() % 100);
        if (roll < 35) {
            int id = Pick(commands);
            if (Chance(3))
                script.failAllocAfter = (int)(rng() % 3), ++refusedAllocs;
            snprintf(name, sizeof name, "command %d", id);
            stepName = name;
            Command(id);
        } else if (roll < 55) {
            UINT vk = Pick(keys);
            bool ctrl = vk >= 'A' && vk <= 'Z' ? Chance(70) : Chance(15);
            bool alt = !ctrl && Chance(vk >= 'A' && vk <= 'Z' ? 60 : 10);
            bool shift = Chance(25);
            snprintf(name, sizeof name, "key %u%s%s%s", vk, ctrl ? " ctrl" : "", alt ? " alt" : "",
                     shift ? " shift" : "");
            stepName = name;
            Key(vk, ctrl, alt, shift);
        } else if (roll < 82) {
            const char* text = Pick(typed);
            snprintf(name, sizeof name, "type \"%s\"", text);
            stepName = name;
            Type(text);
        } else if (roll < 92) {
            DWORD length = (DWORD)GetWindowTextLengthA(Penrik.hwndEdit);
            DWORD from = length ? (DWORD)(rng() % (length + 1)) : 0;
            DWORD to = Chance(50) ? from : (length ? (DWORD)(rng() % (length + 1)) : 0);
            SendMessageA(Penrik.hwndEdit, EM_SETSEL, from, to);
            UINT mouse = Chance(60) ? WM_RBUTTONUP : WM_LBUTTONDOWN;
            snprintf(name, sizeof name, "mouse %u over the text, selection %lu-%lu", mouse, (unsigned long)from,
                     (unsigned long)to);
            stepName = name;
            SendMessageA(Penrik.hwndMain, WM_SETCURSOR, (WPARAM)Penrik.hwndEdit, MAKELPARAM(HTCLIENT, mouse));
            Pump();
        } else if (roll < 97) {
            std::string path = RandomFile();
            stepName = "drop " + path;
            Drop(path);
        } else {
            stepName = "close the window";
            PostMessageA(Penrik.hwndMain, WM_CLOSE, 0, 0);
            Pump();
        }
        return stepName;
    }
};

TEST_F(Monkey, CountersSeeNewObjects)
{
    Start();
    DWORD gdi = GdiObjects(), user = UserObjects();
    HBRUSH brushes[10];
    for (HBRUSH& brush : brushes)
        brush = CreateSolidBrush(RGB(1, 2, 3));
    HWND window = CreateWindowExA(0, "Button", "x", WS_CHILD, 0, 0, 5, 5, Penrik.hwndMain, NULL, NULL, NULL);
    EXPECT_EQ(gdi + 10, GdiObjects());
    EXPECT_EQ(user + 1, UserObjects());
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    DestroyWindow(window);
    EXPECT_EQ(gdi, GdiObjects());
    EXPECT_EQ(user, UserObjects());
}

TEST_F(Monkey, RandomStepsLoseNothingAndLeakNothing)
{
    const int steps = EnvironmentNumber("PENRIK_MONKEY_STEPS", 2000);
    const unsigned seed = (unsigned)EnvironmentNumber("PENRIK_MONKEY_SEED", 20261207);
    rng.seed(seed);
    MakeSandbox();
    Start();
    UINT_PTR timer = SetTimer(NULL, 0, 40, AnswerDialogs);
    ASSERT_NE(0u, timer);
    HANDLE watchdog = CreateThread(NULL, 0, Watchdog, NULL, 0, NULL);

    const int warmUp = steps / 10 < 200 ? steps / 10 : 200;
    DWORD gdiBase = 0, userBase = 0, gdiHigh = 0, userHigh = 0, gdiLast = 0, userLast = 0;
    for (int step = 0; step < steps; ++step) {
        stepStarted = GetTickCount();
        std::string what = Step();
        stepsDone = step + 1;
        if (!IsWindow(Penrik.hwndMain)) {
            // The window went (Exit, Ctrl+X, close): start again, as the
            // user would.
            ShutDown();
            started = false;
            ++restarts;
            Start();
            if (!started)
                break;
        }
        // Keep the text small enough for the control to stay quick.
        if (GetWindowTextLengthA(Penrik.hwndEdit) > 60000) {
            SendMessageA(Penrik.hwndEdit, EM_SETSEL, 0, -1);
            SendMessageA(Penrik.hwndEdit, WM_CLEAR, 0, 0);
        }
        CheckDisk();
        if (HasFatalFailure() || HasFailure()) {
            ADD_FAILURE() << "step " << step << " (" << what << ")";
            break;
        }
        if (step + 1 == warmUp || (step + 1) % 100 == 0 || step + 1 == steps) {
            DWORD gdi = GdiObjects(), user = UserObjects();
            if (step + 1 == warmUp) {
                gdiBase = gdiHigh = gdi;
                userBase = userHigh = user;
            } else if (step + 1 > warmUp) {
                gdiHigh = gdi > gdiHigh ? gdi : gdiHigh;
                userHigh = user > userHigh ? user : userHigh;
            }
            gdiLast = gdi;
            userLast = user;
        }
    }
    stepStarted = 0;
    KillTimer(NULL, timer);
    TerminateThread(watchdog, 0);
    CloseHandle(watchdog);

    printf("monkey: seed %u, %ld steps, %d restarts, %d writes failed on purpose, %d allocations refused, "
           "%d mails\n",
           seed, (long)stepsDone, restarts, failedWrites, refusedAllocs, sends);
    printf("monkey: GDI objects %lu after warm-up, %lu at most, %lu at the end; USER objects %lu, %lu, %lu\n",
           (unsigned long)gdiBase, (unsigned long)gdiHigh, (unsigned long)gdiLast, (unsigned long)userBase,
           (unsigned long)userHigh, (unsigned long)userLast);
    for (const auto& count : boxCounts)
        printf("monkey: %5d x %s\n", count.second, count.first.c_str());
    EXPECT_EQ(steps, (int)stepsDone);
    EXPECT_LE(gdiLast, gdiBase + 20) << "GDI objects grew";
    EXPECT_LE(userLast, userBase + 10) << "USER objects grew";
    EXPECT_LE(gdiHigh, gdiBase + 40);
    EXPECT_LE(userHigh, userBase + 20);

    // Nothing half-written left behind.
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((sandbox + "*.tmp").c_str(), &data);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find) << "a temporary file was left: " << data.cFileName;
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);

    // End quietly: nothing more to answer.
    script.boxAnswers.clear();
    script.dialogAnswers.clear();
}

}  // namespace
