// A file whose characters the system's text layout has died on while the
// editor loaded it.
#include "driver.h"

#include "resources/resource.h"

// The smallest such file: a section sign and a small tilde in code page 1252.
// The tilde begins a run of its own, which Wine 8's Edit control places with
// the font's mark tables; DejaVu Sans's take it for a mark, and Wine read
// before the run and crashed (scripts/deps.sh installs fonts without them).
TEST(LoadingText, ASmallTildeAfterASectionSignShowsAndTheEditorLivesOn)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "these bytes are these characters in code page 1252; this one is " << GetACP();
    ResetSettings();
    std::string path = FreshFolder() + "tilde.txt";
    ASSERT_TRUE(WriteBytes(path, "\xA7\x98"));

    Program program;
    ASSERT_TRUE(Launch(program, path)) << "no main window";
    HWND edit = GetDlgItem(program.main, IDC_EDIT);
    auto shown = [&] {
        wchar_t text[16] = L"";
        SendMessageW(edit, WM_GETTEXT, 16, (LPARAM)text);
        return std::wstring(text);
    };
    EXPECT_TRUE(WaitFor([&] { return shown() == L"\u00A7\u02DC"; }, 10000));
    Settle(program);  // painted too

    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    End(program);  // a crash ends it with another code
}
