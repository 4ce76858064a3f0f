// The display scale: the window at 96, 144 and 192 DPI, and a move to a
// display of another scale.
#include "harness.h"

#include <stdio.h>

#include <vector>

namespace {

// The window's display and, where it differs, the system's.
UINT fakeDpi = BASE_DPI;
UINT fakeSystemDpi = 0;
UINT FakeDpi(HWND window) { return window == NULL && fakeSystemDpi != 0 ? fakeSystemDpi : fakeDpi; }
UINT FakeMonitorDpi(POINT) { return fakeDpi; }

LONG fontDialogHeight;  // what the font dialog was shown
LONG fontDialogAnswer;  // the height a person picks there; 0 keeps it
BOOL WINAPI FontDialogPressingOk(LPCHOOSEFONTA record)
{
    fontDialogHeight = record->lpLogFont->lfHeight;
    if (fontDialogAnswer != 0)
        record->lpLogFont->lfHeight = fontDialogAnswer;
    return TRUE;
}

// What a person sees of the layout, in client pixels.
struct Layout {
    std::vector<RECT> buttons;
    int editTop;
    int lineHeight;
};

BOOL CALLBACK AddButton(HWND child, LPARAM list)
{
    char name[16];
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Button") == 0) {
        RECT r = WindowRectOf(child);
        MapWindowPoints(NULL, Penrik.hwndMain, (POINT*)&r, 2);
        ((std::vector<RECT>*)list)->push_back(r);
    }
    return TRUE;
}

class Scale : public PenrikTest {
protected:
    void SetUp() override
    {
        PenrikTest::SetUp();
        Sys.WindowDpi = FakeDpi;
        Sys.MonitorDpi = FakeMonitorDpi;
        Sys.ChooseFontA = FontDialogPressingOk;
        // A window that fits the virtual screen at twice the size.
        WriteSettings("[Penrik]\r\nPenrikW=500\r\nPenrikH=300\r\nFontSize=-13\r\nFontName=Courier New\r\n");
    }

    Layout Measure()
    {
        Layout layout;
        EnumChildWindows(Penrik.hwndMain, AddButton, (LPARAM)&layout.buttons);
        RECT edit = WindowRectOf(Penrik.hwndEdit);
        MapWindowPoints(NULL, Penrik.hwndMain, (POINT*)&edit, 2);
        layout.editTop = edit.top;
        SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)"first\r\nsecond");
        LRESULT first = SendMessageA(Penrik.hwndEdit, EM_POSFROMCHAR, 0, 0);
        LRESULT second = SendMessageA(Penrik.hwndEdit, EM_POSFROMCHAR, 7, 0);
        layout.lineHeight = (short)HIWORD(second) - (short)HIWORD(first);
        return layout;
    }

    // The status panel's black line and the dark left edge of the
    // indicator's frame, where the scale puts them.
    void ExpectStatusPanel(int dpi)
    {
        RedrawWindow(Penrik.hwndMain, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = GetDC(Penrik.hwndMain);
        EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, MulDiv(10, dpi, 96), MulDiv(43, dpi, 96))) << dpi;
        EXPECT_EQ(RGB(0x80, 0x80, 0x80), GetPixel(dc, MulDiv(466, dpi, 96), MulDiv(11, dpi, 96))) << dpi;
        ReleaseDC(Penrik.hwndMain, dc);
    }

    void ExpectScaled(const Layout& base, const Layout& now, int dpi)
    {
        ASSERT_EQ(base.buttons.size(), now.buttons.size());
        for (size_t i = 0; i < base.buttons.size(); ++i) {
            const RECT &b = base.buttons[i], &n = now.buttons[i];
            EXPECT_EQ(MulDiv(b.left, dpi, 96), n.left) << "button " << i << " at " << dpi;
            EXPECT_EQ(MulDiv(b.top, dpi, 96), n.top) << "button " << i << " at " << dpi;
            EXPECT_EQ(MulDiv(b.right - b.left, dpi, 96), n.right - n.left) << "button " << i << " at " << dpi;
            EXPECT_EQ(MulDiv(b.bottom - b.top, dpi, 96), n.bottom - n.top) << "button " << i << " at " << dpi;
        }
        EXPECT_EQ(MulDiv(base.editTop, dpi, 96), now.editTop) << dpi;
        // The font's own rounding of its height and leading may add a pixel or two.
        double lineHeight = base.lineHeight * dpi / 96.0;
        EXPECT_NEAR(lineHeight, now.lineHeight, lineHeight / 10) << dpi;
        ExpectStatusPanel(dpi);
    }

    std::string Stored(const char* key)
    {
        char value[64];
        GetPrivateProfileStringA(SETTINGS_SECTION, key, "", value, sizeof value, SETTINGS_FILE);
        return value;
    }
};

TEST_F(Scale, EveryPixelSizeFollowsTheDisplayAndNothingStoredDoes)
{
    Layout base;
    for (int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        fakeDpi = dpi;
        Start();
        Layout now = Measure();
        if (dpi == 96) {
            base = now;
            ASSERT_EQ(23u, base.buttons.size());
            EXPECT_EQ(44, base.editTop);  // at 96 DPI nothing moves
            ExpectStatusPanel(96);
        } else {
            ExpectScaled(base, now, dpi);
        }

        // The font dialog works at the window's DPI; what it gives back
        // and what Save Settings writes are the same on every display.
        Command(IDM_SETFONT);
        EXPECT_EQ(MulDiv(-13, dpi, 96), fontDialogHeight);
        EXPECT_EQ(-13, Penrik.settings.font.lfHeight);
        Command(IDM_SAVESETTINGS);
        EXPECT_EQ("-13", Stored("FontSize"));
        EXPECT_EQ("500", Stored("PenrikW"));
        EXPECT_EQ("300", Stored("PenrikH"));
        ShutDown();
        started = false;
    }

    // A move to a display of twice the scale, and back.
    fakeDpi = 96;
    Start();
    for (int dpi : {192, 96}) {
        RECT window = WindowRectOf(Penrik.hwndMain);
        RECT suggested = {window.left, window.top, window.left + MulDiv(500, dpi, 96),
                          window.top + MulDiv(300, dpi, 96)};
        SendMessageA(Penrik.hwndMain, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&suggested);
        Pump();
        EXPECT_EQ(suggested.right - suggested.left, WindowRectOf(Penrik.hwndMain).right - window.left);
        RECT client;
        GetClientRect(Penrik.hwndMain, &client);
        RECT edit = WindowRectOf(Penrik.hwndEdit);
        EXPECT_EQ(client.bottom - MulDiv(44, dpi, 96), edit.bottom - edit.top) << "the editor fills the window";
        ExpectScaled(base, Measure(), dpi);
    }
}

// Two displays: the system's at 150 %, the one the window is on at 200 %.
// The place is the screen's own, the size the window's on its display.
TEST_F(Scale, AWindowOnADisplayOfAnotherScaleComesBackThere)
{
    fakeSystemDpi = 144;
    fakeDpi = 192;
    WriteSettings("[Penrik]\r\nPenrikX=30\r\nPenrikY=40\r\nPenrikW=480\r\nPenrikH=300\r\n");
    Start();
    ExpectWindowAt(Penrik.hwndMain, 30, 40, 960, 600);
    SetWindowPos(Penrik.hwndMain, NULL, 50, 60, 900, 500, SWP_NOZORDER);
    Command(IDM_SAVESETTINGS);
    EXPECT_EQ("50", Stored("PenrikX"));
    EXPECT_EQ("60", Stored("PenrikY"));
    EXPECT_EQ("450", Stored("PenrikW"));
    EXPECT_EQ("250", Stored("PenrikH"));
}

// The font dialog works at the system's scale, whatever the window's, and
// shows again the size the user chose: 10 points at 125 % stay 10 points.
TEST_F(Scale, TheFontDialogWorksAtTheSystemsScale)
{
    fakeSystemDpi = 120;
    fakeDpi = 192;
    Start();
    fontDialogAnswer = -17;
    Command(IDM_SETFONT);
    EXPECT_EQ(MulDiv(-13, 120, 96), fontDialogHeight);
    LOGFONTA font;
    GetObjectA((HFONT)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0), sizeof font, &font);
    EXPECT_EQ(MulDiv(-17, 192, 120), font.lfHeight);
    fontDialogAnswer = 0;
    Command(IDM_SETFONT);
    EXPECT_EQ(-17, fontDialogHeight);
    Command(IDM_SAVESETTINGS);
    EXPECT_EQ("-14", Stored("FontSize"));
}

}  // namespace
