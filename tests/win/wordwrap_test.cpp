// Word Wrap, Set Font and Set Color with scripted font and colour
// dialogs, and the colours the edit control is given.
#include "harness.h"

#include <string.h>

#include <deque>
#include <set>

namespace {

struct FontAnswer {
    bool ok;
    LOGFONTA font;
    COLORREF color;
};

struct FontCall {
    CHOOSEFONTA record;  // as the program handed it over
    LOGFONTA font;       // the LOGFONT it pointed to at that moment
};

struct ColorAnswer {
    bool ok;
    COLORREF color;
    int slot;  // custom colour the person edits, -1 for none
    COLORREF custom;
};

struct ColorCall {
    CHOOSECOLORA record;
    COLORREF custom[16];
};

std::deque<FontAnswer> fontAnswers;
std::vector<FontCall> fontCalls;
std::deque<ColorAnswer> colorAnswers;
std::vector<ColorCall> colorCalls;

BOOL WINAPI FakeChooseFont(LPCHOOSEFONTA record)
{
    FontCall call;
    call.record = *record;
    ZeroMemory(&call.font, sizeof call.font);
    if (record->lpLogFont != NULL)
        call.font = *record->lpLogFont;
    fontCalls.push_back(call);
    if (fontAnswers.empty()) {
        ADD_FAILURE() << "unexpected font dialog";
        return FALSE;
    }
    FontAnswer answer = fontAnswers.front();
    fontAnswers.pop_front();
    if (!answer.ok)
        return FALSE;
    *record->lpLogFont = answer.font;
    record->rgbColors = answer.color;
    record->iPointSize = 120;
    return TRUE;
}

BOOL WINAPI FakeChooseColor(LPCHOOSECOLORA record)
{
    ColorCall call;
    call.record = *record;
    ZeroMemory(call.custom, sizeof call.custom);
    if (record->lpCustColors != NULL)
        memcpy(call.custom, record->lpCustColors, sizeof call.custom);
    colorCalls.push_back(call);
    if (colorAnswers.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return FALSE;
    }
    ColorAnswer answer = colorAnswers.front();
    colorAnswers.pop_front();
    if (answer.slot >= 0)
        record->lpCustColors[answer.slot] = answer.custom;
    if (!answer.ok)
        return FALSE;
    record->rgbResult = answer.color;
    return TRUE;
}

// What a person picks in the font dialog: every field set, so that the
// ones the program must not carry over show.
LOGFONTA Chosen(int height, const char* face)
{
    LOGFONTA font;
    ZeroMemory(&font, sizeof font);
    font.lfHeight = height;
    font.lfWidth = 7;
    font.lfEscapement = 900;
    font.lfOrientation = 900;
    font.lfWeight = FW_BOLD;
    font.lfItalic = 1;
    font.lfUnderline = 1;
    font.lfStrikeOut = 1;
    font.lfCharSet = RUSSIAN_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

LOGFONTA FontOf(HWND control)
{
    LOGFONTA font;
    ZeroMemory(&font, sizeof font);
    HFONT handle = (HFONT)SendMessageA(control, WM_GETFONT, 0, 0);
    EXPECT_NE((HFONT)NULL, handle);
    EXPECT_EQ((int)sizeof font, GetObjectA(handle, sizeof font, &font));
    return font;
}

// The fields a font got: height and face always, the rest only when
// `attributes` says so; width, escapement, orientation and the two
// precisions never.
void ExpectFont(const LOGFONTA& font, int height, const char* face, const LOGFONTA* attributes,
                const char* when)
{
    SCOPED_TRACE(when);
    EXPECT_EQ(height, font.lfHeight);
    EXPECT_STREQ(face, font.lfFaceName);
    EXPECT_EQ(0, font.lfWidth);
    EXPECT_EQ(0, font.lfEscapement);
    EXPECT_EQ(0, font.lfOrientation);
    EXPECT_EQ(0, font.lfOutPrecision);
    EXPECT_EQ(0, font.lfClipPrecision);
    LOGFONTA none;
    ZeroMemory(&none, sizeof none);
    const LOGFONTA& want = attributes != NULL ? *attributes : none;
    EXPECT_EQ(want.lfWeight, font.lfWeight);
    EXPECT_EQ(want.lfItalic, font.lfItalic);
    EXPECT_EQ(want.lfUnderline, font.lfUnderline);
    EXPECT_EQ(want.lfStrikeOut, font.lfStrikeOut);
    EXPECT_EQ(want.lfCharSet, font.lfCharSet);
    EXPECT_EQ(want.lfQuality, font.lfQuality);
    EXPECT_EQ(want.lfPitchAndFamily, font.lfPitchAndFamily);
}

bool Checked(int id)
{
    return (GetMenuState(GetMenu(Penrik.hwndMain), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

DWORD StyleOf(HWND control)
{
    return (DWORD)GetWindowLongA(control, GWL_STYLE);
}

// Makes every "Edit" window creation fail while it is installed. With
// version 6 of the common controls the class comes by its versioned name,
// "6.0...!Edit".
HHOOK refuseHook;
LRESULT CALLBACK RefuseEdits(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = ((CBT_CREATEWNDA*)lParam)->lpcs;
        const char* name = HIWORD((ULONG_PTR)create->lpszClass) != 0 ? create->lpszClass : "";
        const char* bang = strrchr(name, '!');
        if (lstrcmpiA(bang != NULL ? bang + 1 : name, "Edit") == 0)
            return 1;
    }
    return CallNextHookEx(refuseHook, code, wParam, lParam);
}

class WrapFontColor : public PenrikTest {
protected:
    void SetUp() override
    {
        PenrikTest::SetUp();
        fontAnswers.clear();
        fontCalls.clear();
        colorAnswers.clear();
        colorCalls.clear();
        Sys.ChooseFontA = FakeChooseFont;
        Sys.ChooseColorA = FakeChooseColor;
    }
    void TearDown() override
    {
        PenrikTest::TearDown();
        EXPECT_TRUE(fontAnswers.empty()) << "a scripted font dialog never came";
        EXPECT_TRUE(colorAnswers.empty()) << "a scripted colour dialog never came";
    }
    // Word Wrap without handling what it posts.
    void WordWrapOnly() { SendMessageA(Penrik.hwndMain, WM_COMMAND, IDM_WORDWRAP, 0); }
    int TabAdvance()
    {
        SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM) "\tx");
        return (short)LOWORD(SendMessageA(Penrik.hwndEdit, EM_POSFROMCHAR, 1, 0)) -
               (short)LOWORD(SendMessageA(Penrik.hwndEdit, EM_POSFROMCHAR, 0, 0));
    }
};

TEST_F(WrapFontColor, StartUpFontsAndTheFontDialogRecord)
{
    WriteSettings("[Penrik]\r\nFontSize=-15\r\nFontName=Courier New\r\nTextColor=255\r\n");
    Start();
    ExpectFont(FontOf(Penrik.hwndEdit), -15, "Courier New", NULL, "editor font");
    ExpectFont(FontOf(GetDlgItem(Penrik.hwndMain, IDM_EXIT)), 8, "MS Sans Serif", NULL, "toolbar font");
    EXPECT_EQ((DWORD)EDIT_STYLE_PLAIN, StyleOf(Penrik.hwndEdit));
    EXPECT_FALSE(Checked(IDM_WORDWRAP));

    fontAnswers.push_back({false, LOGFONTA(), 0});
    Command(IDM_SETFONT);
    ASSERT_EQ(1u, fontCalls.size());
    const CHOOSEFONTA& record = fontCalls[0].record;
    EXPECT_EQ((DWORD)sizeof(CHOOSEFONTA), record.lStructSize);
    EXPECT_EQ(Penrik.hwndMain, record.hwndOwner);
    EXPECT_EQ(&Penrik.settings.font, record.lpLogFont);
    EXPECT_EQ(0x141u, record.Flags);
    EXPECT_EQ(0x2000, record.nFontType);
    EXPECT_EQ(255u, record.rgbColors);
    EXPECT_EQ(-15, fontCalls[0].font.lfHeight);
    EXPECT_STREQ("Courier New", fontCalls[0].font.lfFaceName);
    EXPECT_EQ((HDC)NULL, record.hDC);
    EXPECT_EQ((LPCFHOOKPROC)NULL, record.lpfnHook);
    EXPECT_EQ(0, record.nSizeMin);
    EXPECT_EQ(0, record.nSizeMax);
}

TEST_F(WrapFontColor, WrapSettingStartsWrappedAndChecked)
{
    WriteSettings("[Penrik]\r\nWordWrap=5\r\n");
    Start();
    EXPECT_EQ((DWORD)EDIT_STYLE_WRAP, StyleOf(Penrik.hwndEdit));
    EXPECT_TRUE(Checked(IDM_WORDWRAP));
    ASSERT_EQ(Penrik.hwndEdit, GetFocus());
    Command(IDM_WORDWRAP);
    // Untitled, so no load follows: the new control still gets the keys.
    EXPECT_EQ(Penrik.hwndEdit, GetFocus());
    Type("ok");
    EXPECT_EQ("ok", EditText());
    EXPECT_EQ(0, Penrik.settings.wordWrap);
    EXPECT_EQ((DWORD)EDIT_STYLE_PLAIN, StyleOf(Penrik.hwndEdit));
    EXPECT_FALSE(Checked(IDM_WORDWRAP));
}

TEST_F(WrapFontColor, SetFontThenWordWrapThenSetFont)
{
    Start();
    HFONT toolbarFont = Penrik.hToolbarFont;
    LOGFONTA bold = Chosen(-16, "Courier New");
    fontAnswers.push_back({true, bold, RGB(0, 128, 0)});
    Command(IDM_SETFONT);
    ExpectFont(FontOf(Penrik.hwndEdit), -16, "Courier New", &bold, "after Set Font");
    EXPECT_EQ(RGB(0, 128, 0), Penrik.settings.textColor);
    EXPECT_EQ(-16, Penrik.settings.font.lfHeight);
    // The toolbar keeps its own font.
    EXPECT_EQ(toolbarFont, Penrik.hToolbarFont);
    EXPECT_EQ(toolbarFont, (HFONT)SendMessageA(GetDlgItem(Penrik.hwndMain, IDM_CUT), WM_GETFONT, 0, 0));
    EXPECT_EQ(OBJ_FONT, (int)GetObjectType(toolbarFont));

    Command(IDM_WORDWRAP);
    ExpectFont(FontOf(Penrik.hwndEdit), -16, "Courier New", NULL, "after Word Wrap");
    EXPECT_EQ(RGB(0, 128, 0), Penrik.settings.textColor);

    // The next Set Font opens on the record and the current colour, and
    // applies the attributes again.
    LOGFONTA italic = Chosen(-20, "Times New Roman");
    italic.lfWeight = FW_NORMAL;
    italic.lfUnderline = 0;
    fontAnswers.push_back({true, italic, RGB(1, 2, 3)});
    Command(IDM_SETFONT);
    ASSERT_EQ(2u, fontCalls.size());
    EXPECT_EQ(RGB(0, 128, 0), fontCalls[1].record.rgbColors);
    EXPECT_EQ(-16, fontCalls[1].font.lfHeight);
    EXPECT_EQ(FW_BOLD, fontCalls[1].font.lfWeight);
    ExpectFont(FontOf(Penrik.hwndEdit), -20, "Times New Roman", &italic, "after the second Set Font");
    EXPECT_EQ(RGB(1, 2, 3), Penrik.settings.textColor);
}

TEST_F(WrapFontColor, CancelledDialogsChangeNothing)
{
    WriteSettings("[Penrik]\r\nTextColor=16711680\r\nBackColor=65280\r\n");
    Start();
    HFONT font = (HFONT)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0);
    HBRUSH brush = EditBrush();
    LOGFONTA before = Penrik.settings.font;

    fontAnswers.push_back({false, LOGFONTA(), 0});
    Command(IDM_SETFONT);
    EXPECT_EQ(font, (HFONT)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0));
    EXPECT_EQ(OBJ_FONT, (int)GetObjectType(font));
    EXPECT_EQ(0xFF0000u, Penrik.settings.textColor);
    EXPECT_EQ(0, memcmp(&before, &Penrik.settings.font, sizeof before));

    colorAnswers.push_back({false, 0, -1, 0});
    Command(IDM_SETCOLOR);
    EXPECT_EQ(brush, EditBrush());
    EXPECT_EQ(OBJ_BRUSH, (int)GetObjectType(brush));
    EXPECT_EQ(0x00FF00u, Penrik.settings.backColor);
    EXPECT_EQ(1u, fontCalls.size());
    EXPECT_EQ(1u, colorCalls.size());
}

TEST_F(WrapFontColor, SaveSettingsWritesTheDialogsHeight)
{
    Start();
    fontAnswers.push_back({true, Chosen(-13, "Courier New"), 0});
    Command(IDM_SETFONT);
    Command(IDM_SAVESETTINGS);
    WritePrivateProfileStringA(NULL, NULL, NULL, SETTINGS_FILE);
    EXPECT_EQ(-13, (int)GetPrivateProfileIntA("Penrik", "FontSize", 99, SETTINGS_FILE));
    char face[64] = "";
    GetPrivateProfileStringA("Penrik", "FontName", "", face, sizeof face, SETTINGS_FILE);
    EXPECT_STREQ("Courier New", face);

    // And the next start-up takes the height as it is.
    ShutDown();
    started = false;
    Start();
    ExpectFont(FontOf(Penrik.hwndEdit), -13, "Courier New", NULL, "after a restart");
}

TEST_F(WrapFontColor, WordWrapTwiceAndTheReload)
{
    std::string path = TempDir() + "wrap.txt";
    WriteFileBytes(path, "\tfirst line\r\nsecond\r\n");
    Start(path);
    ASSERT_EQ("\tfirst line\r\nsecond\r\n", EditText());
    HWND first = Penrik.hwndEdit;
    int startTab = TabAdvance();
    SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM) "\tfirst line\r\nsecond\r\n");

    WordWrapOnly();
    EXPECT_FALSE(IsWindow(first));
    ASSERT_TRUE(IsWindow(Penrik.hwndEdit));
    EXPECT_EQ("", EditText());  // empty until the posted load
    EXPECT_EQ((DWORD)EDIT_STYLE_WRAP, StyleOf(Penrik.hwndEdit));
    EXPECT_TRUE(Checked(IDM_WORDWRAP));
    EXPECT_EQ(1, Penrik.settings.wordWrap);
    EXPECT_EQ(IDC_EDIT, GetDlgCtrlID(Penrik.hwndEdit));
    EXPECT_GT((DWORD)SendMessageA(Penrik.hwndEdit, EM_GETLIMITTEXT, 0, 0), 0x10000u);
    RECT client, edit;
    GetClientRect(Penrik.hwndMain, &client);
    GetWindowRect(Penrik.hwndEdit, &edit);
    MapWindowPoints(NULL, Penrik.hwndMain, (POINT*)&edit, 2);
    EXPECT_EQ(0, edit.left);
    EXPECT_EQ(44, edit.top);
    EXPECT_EQ(client.right, edit.right);
    EXPECT_EQ(client.bottom, edit.bottom);
    Pump();
    EXPECT_EQ("\tfirst line\r\nsecond\r\n", EditText());
    EXPECT_EQ(0, Modified());
    // The new control keeps the platform's wider tab stops.
    EXPECT_GT(TabAdvance(), startTab);

    WordWrapOnly();
    EXPECT_EQ("", EditText());
    EXPECT_EQ((DWORD)EDIT_STYLE_PLAIN, StyleOf(Penrik.hwndEdit));
    EXPECT_FALSE(Checked(IDM_WORDWRAP));
    EXPECT_EQ(0, Penrik.settings.wordWrap);
    Pump();
    EXPECT_EQ("\tfirst line\r\nsecond\r\n", EditText());
}

TEST_F(WrapFontColor, WordWrapAsksToSaveFirst)
{
    std::string path = TempDir() + "keep.txt";
    WriteFileBytes(path, "stored\r\n");
    Start(path);
    HWND first = Penrik.hwndEdit;
    Type("new ");
    ASSERT_EQ(1, Modified());

    // Cancel: nothing changes.
    script.boxAnswers = {IDCANCEL};
    Command(IDM_WORDWRAP);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("Save current changes: " + path, script.boxes[0].text);
    EXPECT_EQ(first, Penrik.hwndEdit);
    EXPECT_EQ("new stored\r\n", EditText());
    EXPECT_EQ((DWORD)EDIT_STYLE_PLAIN, StyleOf(Penrik.hwndEdit));
    EXPECT_FALSE(Checked(IDM_WORDWRAP));
    EXPECT_EQ(1, Modified());

    // No: the changes are lost and the stored file comes back.
    script.boxAnswers = {IDNO};
    Command(IDM_WORDWRAP);
    EXPECT_EQ(2u, script.boxes.size());
    EXPECT_EQ("stored\r\n", EditText());
    EXPECT_EQ("stored\r\n", ReadFileBytes(path));
    EXPECT_EQ(0, Modified());
    EXPECT_TRUE(Checked(IDM_WORDWRAP));

    // Yes: saved first, then shown again.
    Type("more ");
    script.boxAnswers = {IDYES};
    Command(IDM_WORDWRAP);
    EXPECT_EQ("more stored\r\n", ReadFileBytes(path));
    EXPECT_EQ("more stored\r\n", EditText());
    EXPECT_FALSE(Checked(IDM_WORDWRAP));
}

TEST_F(WrapFontColor, FailedRecreationKeepsTheControlAndSaysSo)
{
    Start();
    SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM) "unsaved text");
    SetModified(1);
    HWND first = Penrik.hwndEdit;
    HFONT font = (HFONT)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0);
    script.boxAnswers = {IDNO, IDOK};
    refuseHook = SetWindowsHookExA(WH_CBT, RefuseEdits, NULL, GetCurrentThreadId());
    ASSERT_NE((HHOOK)NULL, refuseHook);
    Command(IDM_WORDWRAP);
    UnhookWindowsHookEx(refuseHook);

    ASSERT_EQ(2u, script.boxes.size());
    EXPECT_EQ("(none)", script.boxes[1].caption);
    EXPECT_EQ((UINT)MB_ICONHAND, script.boxes[1].type);
    EXPECT_NE(std::string::npos, script.boxes[1].text.find("could not"));
    EXPECT_EQ(first, Penrik.hwndEdit);
    EXPECT_TRUE(IsWindow(Penrik.hwndEdit));
    EXPECT_EQ("unsaved text", EditText());
    EXPECT_EQ((DWORD)EDIT_STYLE_PLAIN, StyleOf(Penrik.hwndEdit));
    EXPECT_EQ(0, Penrik.settings.wordWrap);
    EXPECT_FALSE(Checked(IDM_WORDWRAP));
    EXPECT_EQ(font, (HFONT)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0));
    EXPECT_EQ(OBJ_FONT, (int)GetObjectType(font));

    // Still a working editor afterwards.
    Command(IDM_SELECTALL);
    Command(IDM_CLEAR);
    EXPECT_EQ("", EditText());
}

TEST_F(WrapFontColor, ColourDialogRecordAndCustomColours)
{
    WriteSettings("[Penrik]\r\nBackColor=12632256\r\n");
    Start();
    colorAnswers.push_back({true, RGB(0, 0, 128), 3, RGB(10, 20, 30)});
    colorAnswers.push_back({true, RGB(255, 255, 0), 15, RGB(1, 1, 1)});
    Command(IDM_SETCOLOR);
    EXPECT_EQ(RGB(0, 0, 128), Penrik.settings.backColor);
    Command(IDM_SETCOLOR);
    EXPECT_EQ(RGB(255, 255, 0), Penrik.settings.backColor);

    ASSERT_EQ(2u, colorCalls.size());
    const CHOOSECOLORA& first = colorCalls[0].record;
    EXPECT_EQ((DWORD)sizeof(CHOOSECOLORA), first.lStructSize);
    EXPECT_EQ(Penrik.hwndMain, first.hwndOwner);
    EXPECT_EQ(0xC0C0C0u, first.rgbResult);
    EXPECT_EQ((DWORD)(CC_RGBINIT | CC_FULLOPEN), first.Flags);
    EXPECT_EQ((HWND)NULL, first.hInstance);
    EXPECT_EQ(0, (long)first.lCustData);
    EXPECT_EQ((LPCCHOOKPROC)NULL, first.lpfnHook);
    EXPECT_EQ((LPCSTR)NULL, first.lpTemplateName);
    ASSERT_NE((COLORREF*)NULL, first.lpCustColors);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(0u, colorCalls[0].custom[i]) << i;

    const CHOOSECOLORA& second = colorCalls[1].record;
    EXPECT_EQ(RGB(0, 0, 128), second.rgbResult);
    EXPECT_EQ((DWORD)(CC_RGBINIT | CC_FULLOPEN), second.Flags);
    EXPECT_EQ(first.lpCustColors, second.lpCustColors);
    EXPECT_EQ(RGB(10, 20, 30), colorCalls[1].custom[3]);
    for (int i = 0; i < 16; ++i)
        if (i != 3) {
            EXPECT_EQ(0u, colorCalls[1].custom[i]) << i;
        }

    // A cancelled visit keeps what was edited in the table too, as the
    // dialog left it.
    colorAnswers.push_back({false, 0, 5, RGB(9, 9, 9)});
    colorAnswers.push_back({false, 0, -1, 0});
    Command(IDM_SETCOLOR);
    Command(IDM_SETCOLOR);
    EXPECT_EQ(RGB(9, 9, 9), colorCalls[3].custom[5]);
    EXPECT_EQ(RGB(1, 1, 1), colorCalls[3].custom[15]);
    EXPECT_EQ(RGB(255, 255, 0), Penrik.settings.backColor);
}

TEST_F(WrapFontColor, EditControlColours)
{
    WriteSettings("[Penrik]\r\nTextColor=128\r\nBackColor=8421376\r\n");
    Start();
    HDC dc = CreateCompatibleDC(NULL);
    ASSERT_NE((HDC)NULL, dc);
    auto ask = [&](HWND control) {
        SetTextColor(dc, RGB(1, 1, 1));
        SetBkColor(dc, RGB(2, 2, 2));
        return (HBRUSH)SendMessageA(Penrik.hwndMain, WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)control);
    };
    auto brushColour = [](HBRUSH brush) {
        LOGBRUSH info;
        ZeroMemory(&info, sizeof info);
        EXPECT_EQ((int)sizeof info, GetObjectA(brush, sizeof info, &info));
        return info.lbColor;
    };

    HBRUSH brush = ask(Penrik.hwndEdit);
    EXPECT_EQ(EditBrush(), brush);
    EXPECT_EQ(128u, GetTextColor(dc));
    EXPECT_EQ(8421376u, GetBkColor(dc));
    EXPECT_EQ(8421376u, brushColour(brush));

    // What the window shows after start-up: the background colour in the
    // empty part of the control too, not the system's window colour.
    UpdateWindow(Penrik.hwndEdit);
    RECT client;
    GetClientRect(Penrik.hwndEdit, &client);
    HDC screen = GetDC(Penrik.hwndEdit);
    EXPECT_EQ(8421376u, GetPixel(screen, client.right / 2, client.bottom - 20));
    ReleaseDC(Penrik.hwndEdit, screen);

    // Any other control gets nothing, and its colours are not touched.
    EXPECT_EQ((HBRUSH)NULL, ask(GetDlgItem(Penrik.hwndMain, IDM_EXIT)));
    EXPECT_EQ(RGB(1, 1, 1), GetTextColor(dc));
    EXPECT_EQ(RGB(2, 2, 2), GetBkColor(dc));

    colorAnswers.push_back({true, RGB(200, 100, 50), -1, 0});
    Command(IDM_SETCOLOR);
    fontAnswers.push_back({true, Chosen(-12, "Courier New"), RGB(0, 0, 255)});
    Command(IDM_SETFONT);
    brush = ask(Penrik.hwndEdit);
    EXPECT_EQ(EditBrush(), brush);
    EXPECT_EQ(RGB(200, 100, 50), brushColour(brush));
    EXPECT_EQ(RGB(0, 0, 255), GetTextColor(dc));
    EXPECT_EQ(RGB(200, 100, 50), GetBkColor(dc));

    // The re-made control is answered the same way.
    Command(IDM_WORDWRAP);
    EXPECT_EQ(EditBrush(), ask(Penrik.hwndEdit));
    EXPECT_EQ(RGB(0, 0, 255), GetTextColor(dc));
    DeleteDC(dc);
}

TEST_F(WrapFontColor, ReplacedFontsAndBrushesAreReleased)
{
    Start();
    auto round = [&](int i, std::vector<HGDIOBJ>* replaced) {
        HGDIOBJ font = (HGDIOBJ)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0);
        fontAnswers.push_back({true, Chosen(-10 - i % 5, i % 2 ? "Courier New" : "Arial"), RGB(i, 0, 0)});
        Command(IDM_SETFONT);
        HGDIOBJ brush = EditBrush();
        colorAnswers.push_back({true, RGB(0, i, 0), -1, 0});
        Command(IDM_SETCOLOR);
        HGDIOBJ fontBeforeWrap = (HGDIOBJ)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0);
        Command(IDM_WORDWRAP);
        if (replaced != NULL) {
            replaced->push_back(font);
            replaced->push_back(brush);
            replaced->push_back(fontBeforeWrap);
        }
    };
    round(0, NULL);
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    std::vector<HGDIOBJ> replaced;
    for (int i = 1; i <= 200; ++i)
        round(i, &replaced);
    DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    // Wine does not count GDI objects (it answers 0); where the count is
    // kept it must not grow.
    if (before != 0) {
        EXPECT_LE(after, before + 2) << "before " << before;
    }

    std::set<HGDIOBJ> live = {(HGDIOBJ)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0), (HGDIOBJ)EditBrush(),
                              (HGDIOBJ)Penrik.hToolbarFont};
    int stillThere = 0;
    for (HGDIOBJ object : replaced)
        if (live.count(object) == 0 && GetObjectType(object) != 0)
            ++stillThere;
    EXPECT_EQ(0, stillThere) << "of " << replaced.size() << " replaced objects";
    EXPECT_EQ(OBJ_FONT, (int)GetObjectType(Penrik.hToolbarFont));
    EXPECT_EQ(OBJ_BRUSH, (int)GetObjectType(EditBrush()));
    EXPECT_EQ(OBJ_FONT, (int)GetObjectType((HGDIOBJ)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0)));
}

}  // namespace
