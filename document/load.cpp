// Loading the document's file into the edit control: read its bytes,
// decode them, show the text, warn of what the control cannot hold.
#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/filetext.h"
#include "document/state.h"

// After a load that did not put the file's text in the control, the
// document must not keep that file's name, or a later Save would write
// the text on screen over it. Open and a drop go back to the name they
// replaced; the internal load, whose control holds no file's text,
// leaves the document untitled.
static void ForgetFailedLoad(const wchar_t* previousName)
{
    if (previousName != NULL)
        SetDocumentName(previousName);
    else
        ForgetName();
}

// What reading the file found.
struct ReadBytes {
    DWORD size;      // the file's
    DWORD read;      // into textBlock
    HCURSOR cursor;  // the one before the wait cursor, which the read puts up
};

// Reads the whole file into Doc.textBlock; says why when it cannot.
static bool ReadFileBytes(const wchar_t* previousName, ReadBytes* bytes)
{
    HANDLE file = CreateFileW(Doc.name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        // A name with nothing behind it, given at start-up, is a file
        // still to be made: it stays, and Save creates it.
        if (previousName == NULL && GetFileAttributesW(Doc.name) == INVALID_FILE_ATTRIBUTES) {
            if (Doc.name[0] != 0)
                OfferRecovery(Doc.name);
            return false;
        }
        ShowMessage(Penrik.hwndMain, IDS_CANNOT_OPEN, 0, MB_ICONEXCLAMATION, Doc.name);
        ForgetFailedLoad(previousName);
        return false;
    }

    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    DWORD limit = (DWORD)SendMessageA(Penrik.hwndEdit, EM_GETLIMITTEXT, 0, 0);
    if (high != 0 || size == INVALID_FILE_SIZE || size >= 0x7FFFFFFF || size > limit) {
        CloseHandle(file);
        ShowMessage(Penrik.hwndMain, IDS_TOO_LARGE, 0, MB_ICONEXCLAMATION, Doc.name);
        ForgetFailedLoad(previousName);
        return false;
    }
    if (!ReplaceTextBlock((SIZE_T)size + 1)) {
        ShowMessage(Penrik.hwndMain, IDS_NOT_ENOUGH_MEMORY, 0, MB_ICONEXCLAMATION);
        CloseHandle(file);
        ForgetFailedLoad(previousName);
        return false;
    }
    bytes->cursor = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    DWORD read = 0;
    if (!Sys.ReadFile(file, LocalLock(Doc.textBlock), size, &read, NULL) && read > size)
        read = 0;
    LocalUnlock(Doc.textBlock);
    CloseHandle(file);
    bytes->size = size;
    bytes->read = read;
    return true;
}

// The bytes read as the control's characters; the bytes go, since they
// are not needed once they are characters.
static bool DecodeBytes(DWORD read, ControlText* decoded)
{
    bool made = DecodeFileText((const char*)LocalLock(Doc.textBlock), read, decoded);
    LocalUnlock(Doc.textBlock);
    LocalFree(Doc.textBlock);
    Doc.textBlock = NULL;
    return made;
}

// Puts the text in the control; returns how much of it the control shows.
static DWORD ShowText(const ControlText& decoded)
{
    SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)LocalLock(decoded.block));
    LocalUnlock(decoded.block);
    LocalFree(decoded.block);
    return (DWORD)SendMessageW(Penrik.hwndEdit, WM_GETTEXTLENGTH, 0, 0);
}

// Tells the user what of the file the control does not hold as it is.
// `refused`: the control took none of the text.
static void WarnOfDifferences(const ReadBytes& bytes, const ControlText& decoded, bool refused)
{
    if (bytes.read != bytes.size)
        ShowMessage(Penrik.hwndMain, IDS_READ_ERROR, 0, MB_ICONEXCLAMATION, Doc.name);
    if (decoded.cutAtZero) {
        // The control ends the text at the first zero character. Saving
        // writes only what it shows, so the user must know the rest is not there.
        ShowMessage(Penrik.hwndMain, IDS_ZERO_BYTES, 0, MB_ICONEXCLAMATION, Doc.name);
    }
    if (decoded.notKept) {
        // Bytes that the code page makes no character of (a stray lead
        // byte of a double-byte code page, or a byte it leaves unassigned)
        // would come back as other bytes.
        ShowMessage(Penrik.hwndMain, IDS_BYTES_NOT_KEPT, 0, MB_ICONEXCLAMATION, Doc.name);
    }
    if (refused) {
        // The control could not take the text, and the previous text is gone.
        ShowMessage(Penrik.hwndMain, IDS_TOO_LARGE, 0, MB_ICONEXCLAMATION, Doc.name);
    }
}

bool Load(const wchar_t* previousName)
{
    if (!UsableName(Doc.name)) {
        RefuseName(Doc.name);
        ForgetFailedLoad(previousName);
        return false;
    }
    ReadBytes bytes;
    if (!ReadFileBytes(previousName, &bytes))
        return false;
    ControlText decoded;
    if (!DecodeBytes(bytes.read, &decoded)) {
        SetCursor(bytes.cursor);
        ShowMessage(Penrik.hwndMain, IDS_NOT_ENOUGH_MEMORY, 0, MB_ICONEXCLAMATION);
        ForgetFailedLoad(previousName);
        return false;
    }
    DWORD shown = ShowText(decoded);
    bool refused = shown == 0 && decoded.length != 0;
    SetCursor(bytes.cursor);
    WarnOfDifferences(bytes, decoded, refused);

    if (refused || bytes.read != bytes.size) {
        // What the control shows is not the file: it is kept as changed
        // and untitled, so that no save can cut the file to it unless the
        // user names the file again.
        ForgetName();
        Doc.breaks = refused ? BREAKS_AS_IS : decoded.breaks;
        Doc.encoding = refused ? ENCODING_ANSI : decoded.encoding;
        DropRecoveryCopy();
        SetModified(true);
        return false;
    }
    Doc.breaks = decoded.breaks;
    Doc.encoding = decoded.encoding;
    SetCaption(Doc.name);
    SetFocus(Penrik.hwndEdit);
    Doc.modified = false;
    OfferRecovery(Doc.name);
    return true;
}

bool LoadDocument(void)
{
    return Load(NULL);
}
