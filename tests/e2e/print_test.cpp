// Print mode on a real printer: a CUPS queue that writes PDF files, read
// back as text. Needs the queue as the default printer (scripts/printer.sh)
// and PENRIK_PDF_DIR naming the Unix folder where its PDFs land.
#include "driver.h"

#include <stdio.h>
#include <stdlib.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::string PdfDir()
{
    const char* dir = getenv("PENRIK_PDF_DIR");
    return dir != NULL ? dir : "";
}

long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return ((long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

// The PDF that appeared since `before`, once cups-pdf has finished it.
std::string WaitForNewPdf(const std::string& unixDir, const std::set<std::string>& before)
{
    std::string found;
    long long lastSize = -1;
    int stableRounds = 0;
    WaitFor(
        [&] {
            if (found.empty()) {
                for (const std::string& name : PdfNames(UnixToWindows(unixDir) + "\\"))
                    if (before.count(name) == 0)
                        found = name;
                return false;
            }
            long long size = FileSize(UnixToWindows(unixDir + "/" + found));
            stableRounds = size > 0 && size == lastSize ? stableRounds + 1 : 0;
            lastSize = size;
            return stableRounds >= 25;  // half a second without growing
        },
        60000);
    return found.empty() || stableRounds < 25 ? "" : unixDir + "/" + found;
}

// Runs pdftotext with `options` on a PDF through Wine's start.exe and
// returns its text, once it ends in `lastText`. start.exe does not wait
// for a Unix program, so the output is watched until complete.
std::string PdfToText(const std::string& options, const std::string& unixPdf, const std::string& lastText)
{
    std::string unixOut = unixPdf + options.substr(1) + ".txt";
    std::string out = UnixToWindows(unixOut);
    DeleteFileA(out.c_str());
    std::string line = "start.exe /unix /usr/bin/pdftotext " + options + " " + unixPdf + " " + unixOut;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info))
        return "";
    WaitForSingleObject(info.hProcess, 30000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    std::string text;
    WaitFor(
        [&] {
            text = ReadBytes(out);
            return text.size() >= lastText.size() &&
                   text.compare(text.size() - lastText.size(), lastText.size(), lastText) == 0;
        },
        30000);
    DeleteFileA(out.c_str());
    return text;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

// The printed font has no plain hyphen: pdftotext reads a soft one. Runs
// of blanks are what pdftotext's layout guesses from positions, so they
// count as one; the blanks themselves are checked on word positions.
std::string Normal(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\xC2\xAD") == 0) {
            out += '-';
            ++i;
        } else if (text[i] == ' ' || text[i] == '\r') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += text[i];
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// The header's date and time fields for a moment, as the program prints them.
std::string HeaderClockText(const SYSTEMTIME& t)
{
    int hour = t.wHour > 12 ? t.wHour - 12 : t.wHour;
    char text[64];
    snprintf(text, sizeof text, "%d/%d/%d %d:%02d %s", t.wMonth, t.wDay, t.wYear - 1900, hour, t.wMinute,
             t.wHour > 12 ? "P.M." : "A.M.");
    return text;
}

struct Word {
    int page;  // from 1
    double x, y, right;
    std::string text;
};

double Attribute(const std::string& line, const char* name)
{
    size_t at = line.find(std::string(name) + "=\"");
    return at == std::string::npos ? -1 : atof(line.c_str() + at + strlen(name) + 2);
}

std::vector<Word> Words(const std::string& bbox)
{
    std::vector<Word> words;
    int page = 0;
    for (const std::string& line : Split(bbox, '\n')) {
        if (line.find("<page ") != std::string::npos)
            ++page;
        size_t open = line.find("<word ");
        if (open == std::string::npos)
            continue;
        size_t textStart = line.find('>', open) + 1;
        size_t textEnd = line.find("</word>", textStart);
        words.push_back({page, Attribute(line, "xMin"), Attribute(line, "yMin"), Attribute(line, "xMax"),
                         Normal(line.substr(textStart, textEnd - textStart))});
    }
    return words;
}

const Word* Find(const std::vector<Word>& words, int page, const std::string& text)
{
    for (const Word& word : words)
        if (word.page == page && word.text.find(text) != std::string::npos)
            return &word;
    return NULL;
}

bool HasDefaultPrinter()
{
    // Loading the spooler library is what makes Wine read the CUPS queues.
    HMODULE spooler = LoadLibraryA("winspool.drv");
    if (spooler == NULL)
        return false;
    typedef BOOL(WINAPI * DefaultPrinter)(LPSTR, LPDWORD);
    DefaultPrinter get = (DefaultPrinter)(void*)GetProcAddress(spooler, "GetDefaultPrinterA");
    char name[256] = "";
    DWORD size = sizeof name;
    bool found = get != NULL && get(name, &size);
    FreeLibrary(spooler);
    return found;
}

}  // namespace

TEST(PrintMode, PrintsTheFileOnThePdfQueueAndExits)
{
    std::string pdfDir = PdfDir();
    ASSERT_FALSE(pdfDir.empty()) << "PENRIK_PDF_DIR is not set: run through scripts/test.sh";
    ASSERT_TRUE(HasDefaultPrinter()) << "no default printer: the CUPS PDF queue is not up";
    ResetSettings();

    std::string folder = FreshFolder();
    std::string file = folder + "PRINTME.TXT";
    const int lines = 150;
    std::string text;
    for (int i = 1; i <= lines; ++i) {
        char line[64];
        if (i == 5)
            snprintf(line, sizeof line, "\t\t\t\t\t\t\t\t\t\tTENTABS\r\n");
        else if (i == 6)
            snprintf(line, sizeof line, "c\t\t\t\t\t\t\t\t\t\tCTABS\r\n");
        else if (i == 7)
            snprintf(line, sizeof line, "\tONETAB\r\n");
        else
            snprintf(line, sizeof line, "body line %03d\r\n", i);
        text += line;
    }
    ASSERT_TRUE(WriteBytes(file, text));

    std::set<std::string> before = PdfNames(UnixToWindows(pdfDir) + "\\");
    SYSTEMTIME start;
    GetLocalTime(&start);
    Program program;
    ASSERT_TRUE(Launch(program, "/p " + file));
    EXPECT_FALSE(IsWindowVisible(program.main));

    HWND dialog = WaitForDialog(program.info.dwProcessId, 20000);
    if (dialog == NULL)
        Kill(program);
    ASSERT_NE((HWND)NULL, dialog) << "the Print dialog did not show";
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);

    DWORD code = 1234;
    bool ended = WaitExit(program, 60000, &code);
    if (!ended)
        Kill(program);
    ASSERT_TRUE(ended) << "print mode left the program running";
    EXPECT_EQ(0u, code);
    SYSTEMTIME end;
    GetLocalTime(&end);

    std::string pdf = WaitForNewPdf(pdfDir, before);
    ASSERT_FALSE(pdf.empty()) << "no PDF came out of the queue";
    std::string layout = PdfToText("-layout", pdf, "\f");
    std::string bbox = PdfToText("-bbox", pdf, "</html>\n");
    ASSERT_FALSE(layout.empty()) << "pdftotext gave nothing";
    ASSERT_FALSE(bbox.empty());

    // Every page ends in a form feed.
    std::vector<std::string> pages = Split(layout, '\f');
    ASSERT_TRUE(pages.back().empty());
    pages.pop_back();
    ASSERT_GE(pages.size(), 2u);

    std::vector<std::string> expectedBody;
    for (const std::string& line : Split(text, '\n'))
        if (!line.empty())
            expectedBody.push_back(Normal(line.substr(0, line.size() - 1)));
    for (std::string& line : expectedBody)
        for (char& c : line)
            if (c == '\t')
                c = ' ';
    for (std::string& line : expectedBody)
        line = Normal(line);

    std::vector<std::string> body;
    std::vector<size_t> perPage;
    for (size_t p = 0; p < pages.size(); ++p) {
        std::vector<std::string> rows = Split(pages[p], '\n');
        size_t first = 0;
        while (first < rows.size() && Normal(rows[first]).empty())
            ++first;
        ASSERT_LT(first, rows.size());
        std::string header = Normal(rows[first]);
        std::string fixed = "PENRIK File Name " + file + " Page " + std::to_string(p + 1) + " ";
        EXPECT_TRUE(header == fixed + HeaderClockText(start) || header == fixed + HeaderClockText(end))
            << header;
        size_t count = 0;
        for (size_t r = first + 1; r < rows.size(); ++r)
            if (!Normal(rows[r]).empty()) {
                body.push_back(Normal(rows[r]));
                ++count;
            }
        perPage.push_back(count);
    }
    EXPECT_EQ(expectedBody, body);

    // Each page holds the same number of lines, the last the rest.
    size_t rowsPerPage = perPage[0];
    ASSERT_GT(rowsPerPage, 0u);
    EXPECT_EQ(lines / rowsPerPage + 1, pages.size());
    for (size_t p = 0; p + 1 < perPage.size(); ++p)
        EXPECT_EQ(rowsPerPage, perPage[p]) << "page " << p + 1;

    // Five blanks before "Page" on page 1, six on later pages, in the
    // width of a blank between two words of a body line.
    std::vector<Word> words = Words(bbox);
    const Word* bodyWord = Find(words, 1, "body");
    const Word* lineWord = Find(words, 1, "line");
    ASSERT_TRUE(bodyWord != NULL && lineWord != NULL);
    double blank = lineWord->x - bodyWord->right;
    ASSERT_GT(blank, 0.5);
    for (int page = 1; page <= 2; ++page) {
        const Word* name = Find(words, page, "PRINTME.TXT");
        const Word* pageWord = Find(words, page, "Page");
        ASSERT_TRUE(name != NULL && pageWord != NULL) << "page " << page;
        EXPECT_NEAR(page == 1 ? 5.0 : 6.0, (pageWord->x - name->right) / blank, 0.2) << "page " << page;
    }

    // Tab stops lie every 34 device units from the left margin, wherever
    // the text before the tab ends.
    const Word* ten = Find(words, 1, "TENTABS");
    const Word* shortText = Find(words, 1, "CTABS");
    const Word* one = Find(words, 1, "ONETAB");
    ASSERT_TRUE(ten != NULL && shortText != NULL && one != NULL);
    double left = bodyWord->x;
    EXPECT_NEAR(ten->x, shortText->x, 0.05);
    EXPECT_NEAR(10 * (one->x - left), ten->x - left, 0.5);
    EXPECT_NEAR(34 * 72.0 / 300, one->x - left, 0.1);  // the queue prints at 300 dots per inch
}
