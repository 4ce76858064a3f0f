// Two editors at once, and leaving through Exit.
#include "driver.h"

#include "resources/resource.h"

static RECT WindowRect(HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

TEST(Instances, SecondInstanceHasItsOwnColourPositionAndNoOpen2)
{
    ResetSettings();
    Program first, second;
    ASSERT_TRUE(Launch(first, ""));
    ASSERT_TRUE(Launch(second, ""));
    ASSERT_NE(first.main, second.main);

    RECT a = WindowRect(first.main), b = WindowRect(second.main);
    EXPECT_EQ(0, a.left);
    EXPECT_EQ(28, a.top);
    EXPECT_EQ(50, b.left);
    EXPECT_EQ(25, b.top);
    EXPECT_EQ(a.right - a.left, b.right - b.left);
    EXPECT_EQ(a.bottom - a.top, b.bottom - b.top);

    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(first.main, IDM_OPEN2ND)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(second.main, IDM_OPEN2ND)));

    // The second instance's text colour shows in what it saves.
    PostMessageA(second.main, WM_COMMAND, IDM_SAVESETTINGS, 0);
    Settle(second);
    WritePrivateProfileStringA(NULL, NULL, NULL, "Marravel.ini");
    EXPECT_EQ(8388608u, GetPrivateProfileIntA("Penrik", "TextColor", 12345, "Marravel.ini"));

    DWORD code = 1234;
    PostMessageA(second.main, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_TRUE(WaitExit(second, 10000, &code));
    EXPECT_EQ(0u, code);

    // Ctrl+X is Exit, through the accelerator table.
    PressKey(first, 'X', true);
    code = 1234;
    bool ended = WaitExit(first, 10000, &code);
    if (!ended)
        Kill(first);
    ASSERT_TRUE(ended);
    EXPECT_EQ(0u, code);
}
