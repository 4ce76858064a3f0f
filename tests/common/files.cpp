#include "tests/common/files.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

std::wstring Wide(const std::string& text)
{
    UINT codePage = CP_UTF8;
    int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.c_str(), -1, NULL, 0);
    if (size == 0) {
        codePage = CP_ACP;
        size = MultiByteToWideChar(codePage, 0, text.c_str(), -1, NULL, 0);
    }
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(codePage, 0, text.c_str(), -1, &wide[0], size);
    wide.resize(size > 0 ? size - 1 : 0);
    return wide;
}

std::string Utf8(const wchar_t* text)
{
    if (text == NULL)
        return "(none)";
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    std::string bytes(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], size, NULL, NULL);
    bytes.resize(size > 0 ? size - 1 : 0);
    return bytes;
}

std::string ReadBytes(const std::string& path)
{
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    DWORD size = GetFileSize(file, NULL);
    std::string bytes(size, '\0');
    DWORD read = 0;
    if (size > 0)
        ReadFile(file, &bytes[0], size, &read, NULL);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

int CountFiles(const std::string& folder, const std::string& pattern)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileA(find, &data));
    FindClose(find);
    return count;
}

std::string FreshFolder(const std::string& prefix)
{
    static int counter = 0;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%s%s-%lu-%d\\", base, prefix.c_str(), GetCurrentProcessId(), ++counter);
    CreateDirectoryA(name, NULL);
    return name;
}

std::string UnixToWindows(const std::string& path)
{
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    return windows;
}

std::string PdfFolder()
{
    const char* dir = getenv("PENRIK_PDF_DIR");
    return dir == NULL ? "" : UnixToWindows(dir) + "\\";
}

std::set<std::string> PdfNames(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.pdf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}
