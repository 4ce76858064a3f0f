// Which names a document may have.
#include "document/document.h"

// Whether `name` can only mean the file it spells. Windows drops a
// trailing dot or blank (and so reaches another file), takes CON, COM1 and
// their kind in any folder for devices, and passes a \\?\ or \\.\ name
// on unchecked; a lone surrogate is no character at all.
bool UsableName(const wchar_t* name)
{
    static const struct { const wchar_t* name; bool numbered; } Devices[] = {
        {L"CON", false}, {L"PRN", false}, {L"AUX", false}, {L"NUL", false}, {L"COM", true}, {L"LPT", true},
    };
    if (name[0] == '\\' && name[1] == '\\' && (name[2] == '?' || name[2] == '.') && name[3] == '\\')
        return false;
    const wchar_t* last = name;
    size_t length = 0;
    for (const wchar_t* p = name; *p != 0; ++p, ++length) {
        if (*p >= 0xD800 && *p <= 0xDBFF) {
            if (p[1] < 0xDC00 || p[1] > 0xDFFF)
                return false;
            ++p;
            ++length;
        } else if (*p >= 0xDC00 && *p <= 0xDFFF) {
            return false;
        }
        if (*p == '\\' || *p == '/' || *p == ':')
            last = p + 1;
    }
    if (length > 0 && (name[length - 1] == '.' || name[length - 1] == ' '))
        return false;
    // A device's name, alone or before an extension: CON, nul.txt, COM1.
    size_t stem = 0;
    while (last[stem] != 0 && last[stem] != '.')
        ++stem;
    while (stem > 0 && last[stem - 1] == ' ')
        --stem;
    for (const auto& device : Devices) {
        if (stem < 3 || CompareStringOrdinal(last, 3, device.name, 3, TRUE) != CSTR_EQUAL)
            continue;
        if (stem == 3 && !device.numbered)
            return false;
        if (stem == 4 && device.numbered && last[3] >= '1' && last[3] <= '9')
            return false;
    }
    return true;
}

// The volume and index that tell a file whatever its name; false when it
// cannot be opened.
static bool FileIndex(const wchar_t* name, BY_HANDLE_FILE_INFORMATION* info)
{
    HANDLE file = CreateFileW(name, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool known = GetFileInformationByHandle(file, info) != 0;
    CloseHandle(file);
    return known;
}

bool SameFile(const wchar_t* a, const wchar_t* b)
{
    if (a[0] == 0 || b[0] == 0)
        return false;
    BY_HANDLE_FILE_INFORMATION one, other;
    if (FileIndex(a, &one) && FileIndex(b, &other))
        return one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
               one.nFileIndexLow == other.nFileIndexLow;
    wchar_t fullA[MAX_PATH], fullB[MAX_PATH];
    DWORD lengthA = GetFullPathNameW(a, MAX_PATH, fullA, NULL), lengthB = GetFullPathNameW(b, MAX_PATH, fullB, NULL);
    return lengthA > 0 && lengthA < MAX_PATH && lengthB > 0 && lengthB < MAX_PATH && lstrcmpiW(fullA, fullB) == 0;
}
