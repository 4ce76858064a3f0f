// Start-up, settings, the main window, its toolbar, menu and exit path.
#include "harness.h"

namespace {

std::string ButtonText(int id)
{
    char text[64] = "";
    GetWindowTextA(GetDlgItem(Penrik.hwndMain, id), text, sizeof text);
    return text;
}

std::string MenuText(int id)
{
    char text[64] = "";
    GetMenuStringA(GetMenu(Penrik.hwndMain), id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

using Shell = PenrikTest;

TEST_F(Shell, DefaultsWithoutASettingsFile)
{
    Start();
    ExpectWindowAt(Penrik.hwndMain, 0, 28, 640, 424);
    EXPECT_EQ(0u, Penrik.settings.textColor);
    EXPECT_EQ(0xFFFFFFu, Penrik.settings.backColor);
    EXPECT_EQ(8, Penrik.settings.font.lfHeight);
    EXPECT_STREQ("MS Sans Serif", Penrik.settings.font.lfFaceName);
    EXPECT_EQ(0, Penrik.settings.wordWrap);
    EXPECT_STREQ(L"penrik.hlp", Penrik.settings.helpFile[0]);
    EXPECT_STREQ(L"api32wh.hlp", Penrik.settings.helpFile[1]);
    EXPECT_STREQ(L"win16wh", Penrik.settings.helpFile[2]);
    EXPECT_STREQ(L"msc.hlp", Penrik.settings.helpFile[3]);
    EXPECT_EQ("PENRIK", Caption());
    EXPECT_EQ("", EditText());
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ((LONG)EDIT_STYLE_PLAIN, GetWindowLongA(Penrik.hwndEdit, GWL_STYLE) & 0xFFFFFFFF);
    EXPECT_FALSE(GetMenuState(GetMenu(Penrik.hwndMain), IDM_WORDWRAP, MF_BYCOMMAND) & MF_CHECKED);

    // Labels, from the table and from the settings.
    const std::pair<int, const char*> labels[] = {
        {IDM_EXIT, "Exit"},         {IDM_PRINT, "Print"},      {IDM_SAVEAS, "Save"},
        {IDM_OPEN2ND, "Open2"},     {IDM_OPEN, "Open"},        {IDM_COMPILE, "Compile"},
        {IDM_BUILD, "Build"},       {IDM_BUILDALL, "BuildAll"}, {IDM_CLEAN, "Clean"},
        {IDM_EXECUTE, "Run"},       {IDM_UNDO, "Undo"},        {IDM_CUT, "Cut"},
        {IDM_COPY, "Copy"},         {IDM_PASTE, "Paste"},      {IDM_FIND, "Find"},
        {IDM_FINDNEXT, "Next"},     {IDM_FINDPREV, "Previous"}, {IDM_REPLACE, "Replace"},
        {IDM_REPLACEALL, "All"},    {IDM_HELP1, "Penrik"},     {IDM_HELP2, "Win32"},
        {IDM_HELP3, "Win16"},       {IDM_HELP4, "C Help"},
    };
    for (const auto& label : labels)
        EXPECT_EQ(label.second, ButtonText(label.first)) << label.first;

    // Enabled states of buttons and menu items.
    for (int id : {IDM_FINDNEXT, IDM_FINDPREV, IDM_REPLACE, IDM_COMPILE, IDM_BUILD, IDM_BUILDALL}) {
        EXPECT_FALSE(ButtonEnabled(id)) << id;
        EXPECT_TRUE(MenuGrayed(id)) << id;
    }
    for (int id : {IDM_EXIT, IDM_OPEN2ND, IDM_CLEAN, IDM_EXECUTE, IDM_FIND, IDM_REPLACEALL, IDM_HELP4}) {
        EXPECT_TRUE(ButtonEnabled(id)) << id;
        EXPECT_FALSE(MenuGrayed(id)) << id;
    }
    EXPECT_FALSE(MenuGrayed(IDM_SENDMAIL));

    // Help menu: the names with their keys.
    EXPECT_EQ("Penrik\tF1", MenuText(IDM_HELP1));
    EXPECT_EQ("Win32\tF6", MenuText(IDM_HELP2));
    EXPECT_EQ("Win16\tF7", MenuText(IDM_HELP3));
    EXPECT_EQ("C Help\tF8", MenuText(IDM_HELP4));
    EXPECT_EQ("Find &Prev\tAlt +N or F4", MenuText(IDM_FINDPREV));
}

TEST_F(Shell, ToolbarButtonsSitAtTheirPositionsAndDoNotMove)
{
    Start();
    struct { int id, x, y, w, h; } rows[] = {
        {IDM_EXIT, 2, 2, 34, 18},        {IDM_PRINT, 37, 2, 37, 18},     {IDM_SAVEAS, 75, 2, 41, 18},
        {IDM_OPEN2ND, 117, 2, 50, 18},   {IDM_OPEN, 168, 2, 42, 18},     {IDM_COMPILE, 220, 2, 61, 18},
        {IDM_BUILD, 282, 2, 42, 18},     {IDM_BUILDALL, 325, 2, 58, 18}, {IDM_CLEAN, 384, 2, 45, 18},
        {IDM_EXECUTE, 430, 2, 33, 18},   {IDM_UNDO, 2, 22, 42, 18},      {IDM_CUT, 45, 22, 32, 18},
        {IDM_COPY, 78, 22, 42, 18},      {IDM_PASTE, 121, 22, 46, 18},   {IDM_FIND, 176, 22, 36, 18},
        {IDM_FINDNEXT, 213, 22, 38, 18}, {IDM_FINDPREV, 252, 22, 66, 18}, {IDM_REPLACE, 319, 22, 62, 18},
        {IDM_REPLACEALL, 382, 22, 28, 18}, {IDM_HELP1, 422, 22, 46, 18}, {IDM_HELP2, 469, 22, 51, 18},
        {IDM_HELP3, 521, 22, 48, 18},    {IDM_HELP4, 570, 22, 51, 18},
    };
    auto check = [&] {
        for (const auto& row : rows) {
            HWND button = GetDlgItem(Penrik.hwndMain, row.id);
            ASSERT_NE((HWND)NULL, button) << row.id;
            RECT r;
            GetWindowRect(button, &r);
            MapWindowPoints(NULL, Penrik.hwndMain, (POINT*)&r, 2);
            EXPECT_EQ(row.x, r.left) << row.id;
            EXPECT_EQ(row.y, r.top) << row.id;
            EXPECT_EQ(row.w, r.right - r.left) << row.id;
            EXPECT_EQ(row.h, r.bottom - r.top) << row.id;
            EXPECT_EQ(Penrik.hToolbarFont, (HFONT)SendMessageA(button, WM_GETFONT, 0, 0)) << row.id;
        }
    };
    check();
    SetWindowPos(Penrik.hwndMain, NULL, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    check();
}

TEST_F(Shell, EditControlTracksTheClientArea)
{
    Start();
    auto expectFits = [&](const char* when) {
        RECT client, edit;
        GetClientRect(Penrik.hwndMain, &client);
        GetWindowRect(Penrik.hwndEdit, &edit);
        MapWindowPoints(NULL, Penrik.hwndMain, (POINT*)&edit, 2);
        EXPECT_EQ(0, edit.left) << when;
        EXPECT_EQ(44, edit.top) << when;
        EXPECT_EQ(client.right, edit.right) << when;
        EXPECT_EQ(client.bottom > 44 ? client.bottom : 44, edit.bottom) << when;
    };
    expectFits("at start");
    SetWindowPos(Penrik.hwndMain, NULL, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    expectFits("after shrinking");
    SetWindowPos(Penrik.hwndMain, NULL, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    expectFits("after growing");

    // A minimized window reports a client height of 0: the control keeps
    // a height of 0, never a negative one.
    SendMessageA(Penrik.hwndMain, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    RECT edit;
    GetWindowRect(Penrik.hwndEdit, &edit);
    EXPECT_EQ(0, edit.bottom - edit.top);
    EXPECT_EQ(0, edit.right - edit.left);
}

TEST_F(Shell, StoredSettingsAreReadWithTheirLimits)
{
    WriteSettings("[Penrik]\r\nPenrikX=10\r\nPenrikY=20\r\nPenrikW=500\r\nPenrikH=300\r\n"
                  "TextColor=255\r\nBackColor=65280\r\nFontSize=-13\r\nFontName=Courier New\r\n"
                  "WordWrap=1\r\nHelp11Name=LongerThanEight\r\nBuild1Name=Kompilieren\r\n"
                  "Help2File=my help file.hlp\r\n");
    Start();
    RECT r = WindowRectOf(Penrik.hwndMain);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(20, r.top);
    EXPECT_EQ(500, r.right - r.left);
    EXPECT_EQ(300, r.bottom - r.top);
    EXPECT_EQ(255u, Penrik.settings.textColor);
    EXPECT_EQ(65280u, Penrik.settings.backColor);
    EXPECT_EQ(-13, Penrik.settings.font.lfHeight);
    EXPECT_STREQ("Courier New", Penrik.settings.font.lfFaceName);
    EXPECT_EQ((LONG)EDIT_STYLE_WRAP, GetWindowLongA(Penrik.hwndEdit, GWL_STYLE) & 0xFFFFFFFF);
    EXPECT_TRUE(GetMenuState(GetMenu(Penrik.hwndMain), IDM_WORDWRAP, MF_BYCOMMAND) & MF_CHECKED);
    // Names of more than eight characters show their first eight.
    EXPECT_EQ("LongerTh", ButtonText(IDM_HELP1));
    EXPECT_EQ("LongerTh\tF1", MenuText(IDM_HELP1));
    EXPECT_EQ("Kompilie", ButtonText(IDM_COMPILE));
    EXPECT_STREQ(L"my help file.hlp", Penrik.settings.helpFile[1]);
}

TEST_F(Shell, SaveSettingsWritesTenKeysAndARestartReadsThemBack)
{
    Start();
    // So narrow that the menu bar takes two rows: the frame is not the
    // usual one, and the window still comes back where it was.
    SetWindowPos(Penrik.hwndMain, NULL, 33, 44, 180, 366, SWP_NOZORDER);
    Penrik.settings.textColor = 0x00123456;
    Penrik.settings.backColor = 0x00ABCDEF;
    Penrik.settings.font.lfHeight = -17;
    lstrcpynA(Penrik.settings.font.lfFaceName, "Courier New", LF_FACESIZE);
    Penrik.settings.wordWrap = 1;
    SetDocumentName(L"C:\\some where\\file.txt");
    Pump();
    Command(IDM_SAVESETTINGS);

    RECT saved = WindowRectOf(Penrik.hwndMain);
    std::string expected = "[Penrik]\r\n"
                           "PenrikX=33\r\n"
                           "PenrikY=44\r\n"
                           "PenrikH=" + std::to_string(saved.bottom - saved.top) + "\r\n"
                           "PenrikW=" + std::to_string(saved.right - saved.left) + "\r\n"
                           "FontSize=-17\r\n"
                           "TextColor=1193046\r\n"
                           "WordWrap=1\r\n"
                           "BackColor=11259375\r\n"
                           "FontName=Courier New\r\n"
                           "FileName=C:\\some where\\file.txt\r\n";
    WritePrivateProfileStringA(NULL, NULL, NULL, SETTINGS_FILE);
    EXPECT_EQ(expected, ReadFileBytes(SettingsPath()));

    // Restart on what was saved (no file to load: the name is unusable).
    SetDocumentName(L"");
    ShutDown();
    started = false;
    WritePrivateProfileStringA(SETTINGS_SECTION, "FileName", "", SETTINGS_FILE);
    Start();
    RECT r = WindowRectOf(Penrik.hwndMain);
    EXPECT_EQ(saved.left, r.left);
    EXPECT_EQ(saved.top, r.top);
    EXPECT_EQ(saved.right, r.right);
    EXPECT_EQ(saved.bottom, r.bottom);
    EXPECT_EQ(0x00123456u, Penrik.settings.textColor);
    EXPECT_EQ(0x00ABCDEFu, Penrik.settings.backColor);
    EXPECT_EQ(-17, Penrik.settings.font.lfHeight);
    EXPECT_STREQ("Courier New", Penrik.settings.font.lfFaceName);
    EXPECT_EQ((LONG)EDIT_STYLE_WRAP, GetWindowLongA(Penrik.hwndEdit, GWL_STYLE) & 0xFFFFFFFF);
    LOGFONTA font;
    GetObjectA((HFONT)SendMessageA(Penrik.hwndEdit, WM_GETFONT, 0, 0), sizeof font, &font);
    EXPECT_EQ(-17, font.lfHeight);
    EXPECT_STREQ("Courier New", font.lfFaceName);
}

TEST_F(Shell, SaveSettingsWritesAnEmptyFileNameAndALongOneComesBackWhole)
{
    Start();
    Command(IDM_SAVESETTINGS);
    WritePrivateProfileStringA(NULL, NULL, NULL, SETTINGS_FILE);
    EXPECT_NE(std::string::npos, ReadFileBytes(SettingsPath()).find("FileName=\r\n"));

    std::string longName = TempDir() + std::string(200, 'n') + ".txt";
    WriteFileBytes(longName, "whole");
    SetDocumentName(Wide(longName).c_str());
    Command(IDM_SAVESETTINGS);
    ShutDown();
    started = false;
    Start();
    EXPECT_EQ(longName, Utf8(DocumentName()));
    EXPECT_EQ("whole", EditText());
}

// The settings files in the order they are read, and the way a save
// takes: an older release's VirtualStore copy gives way to the user's own
// file, which is then the settings file.
TEST_F(Shell, SettingsComeFromTheUsersFileTheVirtualStoreOrTheWindowsFolder)
{
    WriteSettings("[Penrik]\r\nFontSize=-20\r\n");
    PlaceSettingsFile(VirtualStorePath(), "[Penrik]\r\nFontSize=-11\r\n");
    Start();
    EXPECT_EQ(-11, Penrik.settings.font.lfHeight);
    Penrik.settings.font.lfHeight = -9;
    Command(IDM_SAVESETTINGS);
    ShutDown();
    started = false;
    Start();
    EXPECT_EQ(-9, Penrik.settings.font.lfHeight);
    EXPECT_EQ(-9, (int)GetPrivateProfileIntA(SETTINGS_SECTION, "FontSize", 0, UserSettingsPath().c_str()));
    EXPECT_EQ(-20, (int)GetPrivateProfileIntA(SETTINGS_SECTION, "FontSize", 0, SETTINGS_FILE));
}

// A standard user cannot write into the Windows folder (here a folder
// stands where its file would be): the settings go to the user's own
// file; where even that cannot be written, a box says so.
TEST_F(Shell, SaveSettingsWhereTheWindowsFolderIsRefused)
{
    ASSERT_TRUE(CreateDirectoryA(SettingsPath().c_str(), NULL));
    Start();
    Penrik.settings.font.lfHeight = -15;
    Command(IDM_SAVESETTINGS);
    EXPECT_TRUE(script.boxes.empty());
    ShutDown();
    started = false;
    Start();
    EXPECT_EQ(-15, Penrik.settings.font.lfHeight);

    // No folder for the user's file: a file has its name.
    PlaceSettingsFile(UserSettingsPath(), "");
    std::string folder = UserSettingsPath().substr(0, UserSettingsPath().rfind('\\'));
    ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
    WriteFileBytes(folder, "in the way");
    ShutDown();
    started = false;
    Start();
    script.boxAnswers = {IDOK};
    Command(IDM_SAVESETTINGS);
    DeleteFileA(folder.c_str());
    RemoveDirectoryA(SettingsPath().c_str());
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("The settings could not be saved in " + UserSettingsPath() + ".", script.boxes[0].text);
    EXPECT_EQ("Penrik", script.boxes[0].caption);
}

TEST_F(Shell, CommandLineNamesAndPrintMode)
{
    std::string file = TempDir() + "report.txt";
    WriteFileBytes(file, "line one\r\nline two");
    Start(file);
    EXPECT_EQ("line one\r\nline two", EditText());
    EXPECT_EQ("PENRIK - " + file, Caption());
    EXPECT_TRUE(IsWindowVisible(Penrik.hwndMain));
    EXPECT_FALSE(MenuGrayed(IDM_COMPILE));
    EXPECT_TRUE(ButtonEnabled(IDM_BUILDALL));
    ShutDown();

    // Print mode: hidden, the name from the fourth character on.
    started = false;
    ASSERT_EQ(1, StartUp(GetModuleHandleA(NULL), Wide("/p " + file).c_str(), SW_SHOW));
    started = true;
    EXPECT_EQ(file, Utf8(DocumentName()));
    EXPECT_FALSE(IsWindowVisible(Penrik.hwndMain));
    // The load alone waits: it starts the printing once it is done.
    MSG load, more;
    ASSERT_TRUE(PeekMessageA(&load, Penrik.hwndMain, 0, 0, PM_REMOVE));
    EXPECT_EQ((UINT)WM_COMMAND, load.message);
    EXPECT_EQ((WPARAM)IDM_LOADFILE, load.wParam);
    EXPECT_FALSE(PeekMessageA(&more, Penrik.hwndMain, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    ShutDown();

    // "/preport.txt" names eport.txt; "/P" is no print mode at all.
    started = false;
    char folder[MAX_PATH];
    GetCurrentDirectoryA(sizeof folder, folder);
    Start("/preport.txt");
    EXPECT_EQ(std::string(folder) + "\\eport.txt", Utf8(DocumentName()));
    EXPECT_EQ(0, exitCode) << "print mode, with nothing to print, ends";
    ShutDown();
    started = false;
    Start("/P report.txt");
    EXPECT_EQ(-1, exitCode);
    EXPECT_EQ(std::string(folder, 2) + "\\P report.txt", Utf8(DocumentName()));  // the drive's root
    EXPECT_TRUE(IsWindowVisible(Penrik.hwndMain));
}

TEST_F(Shell, PrintModeWithoutANameEnds)
{
    for (const char* text : {"/p", "/p ", "/px"}) {
        Start(text);
        EXPECT_EQ(0, exitCode) << text;
        EXPECT_FALSE(IsWindow(Penrik.hwndMain)) << text;
        ShutDown();
        started = false;
    }
}

TEST_F(Shell, OverlongCommandLineStartsUntitledAndSaysSo)
{
    script.boxAnswers = {IDOK};
    std::string name(300, 'x');
    Start(name);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_NE(std::string::npos, script.boxes[0].text.find("255"));
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ("PENRIK", Caption());
    EXPECT_EQ("", EditText());
}

TEST_F(Shell, BuildResultsLayout)
{
    WriteSettings("[Penrik]\r\nPenrikW=700\r\nPenrikH=500\r\n");
    Start("BuildRes.ULT");
    RECT r = WindowRectOf(Penrik.hwndMain);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(200, r.top);
    EXPECT_EQ(700, r.right - r.left);
    EXPECT_EQ(280, r.bottom - r.top);
    EXPECT_EQ(0x80u, Penrik.settings.textColor);
    ShutDown();

    started = false;
    Start("C:\\dir\\buildres.ult");
    r = WindowRectOf(Penrik.hwndMain);
    EXPECT_EQ(28, r.top);
    EXPECT_EQ(500, r.bottom - r.top);
    EXPECT_EQ(0u, Penrik.settings.textColor);
}

TEST_F(Shell, MailLibraryMissingGraysSendMail)
{
    script.mailLibraryPresent = false;
    Start();
    EXPECT_TRUE(MenuGrayed(IDM_SENDMAIL));
}

TEST_F(Shell, CtrlXExitsAndCtrlCIsSilentWhileCompileIsGrayed)
{
    Start();
    Type("abc");
    ASSERT_EQ("abc", EditText());
    // Ctrl+C is Compile, grayed until a file is loaded: nothing happens,
    // in particular no copy and no batch file.
    Key('C', true);
    EXPECT_TRUE(script.shell.empty());
    EXPECT_TRUE(IsWindow(Penrik.hwndMain));

    // Ctrl+X is Exit: the unsaved-changes question, Cancel keeps the window.
    script.boxAnswers = {IDCANCEL};
    Key('X', true);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("Save current changes: ", script.boxes[0].text);
    EXPECT_EQ("penrik", script.boxes[0].caption);
    EXPECT_EQ((UINT)(MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND), script.boxes[0].type);
    EXPECT_TRUE(IsWindow(Penrik.hwndMain));
    EXPECT_EQ("abc", EditText());

    // No: the window goes and the quit code is 0.
    script.boxAnswers = {IDNO};
    Key('X', true);
    EXPECT_FALSE(IsWindow(Penrik.hwndMain));
    EXPECT_EQ(0, exitCode);
}

TEST_F(Shell, CloseAndEndSessionAskThroughQuerySave)
{
    Start();
    Type("x");
    script.boxAnswers = {IDCANCEL};
    EXPECT_EQ(0, SendMessageA(Penrik.hwndMain, WM_QUERYENDSESSION, 0, 0));
    script.boxAnswers = {IDNO};
    EXPECT_EQ(TRUE, SendMessageA(Penrik.hwndMain, WM_QUERYENDSESSION, 0, 0));
    script.boxAnswers = {IDCANCEL};
    SendMessageA(Penrik.hwndMain, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(Penrik.hwndMain));
    SetModified(0);
    SendMessageA(Penrik.hwndMain, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(Penrik.hwndMain));
    EXPECT_EQ(0, exitCode);
}

}  // namespace
