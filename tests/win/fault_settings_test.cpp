// Settings files edited by hand: whatever they hold, the editor starts,
// shows itself where it can be seen, and works.
#include "harness.h"

namespace {

using BadSettings = PenrikTest;

bool OnScreen(HWND hwnd)
{
    RECT r = WindowRectOf(hwnd), screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
         common;
    return IntersectRect(&common, &r, &screen) != FALSE;
}

TEST_F(BadSettings, NonNumericAndMissingValuesReadAsThePlatformReaderGives)
{
    WriteSettings("[Penrik]\r\nPenrikX=abc\r\nPenrikY=12abc\r\nTextColor=\r\nFontSize=big\r\nWordWrap=yes\r\n");
    Start();
    RECT r = WindowRectOf(Penrik.hwndMain);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(12, r.top);
    EXPECT_EQ(0u, Penrik.settings.textColor);
    EXPECT_EQ(0, Penrik.settings.font.lfHeight);
    EXPECT_EQ(0, Penrik.settings.wordWrap);
    Type("still works");
    EXPECT_EQ("still works", EditText());
}

TEST_F(BadSettings, GeometryThatHidesTheWindowGivesWayToTheDefault)
{
    const char* files[] = {
        "[Penrik]\r\nPenrikX=99999999\r\nPenrikY=99999999\r\n",
        "[Penrik]\r\nPenrikX=-5000\r\nPenrikY=-5000\r\n",
        "[Penrik]\r\nPenrikW=-50\r\nPenrikH=-70\r\n",
        "[Penrik]\r\nPenrikW=0\r\nPenrikH=300\r\n",
        "[Penrik]\r\nPenrikX=2147483000\r\nPenrikW=2147483000\r\n",
    };
    for (const char* file : files) {
        WriteSettings(file);
        Start();
        EXPECT_TRUE(OnScreen(Penrik.hwndMain)) << file;
        RECT r = WindowRectOf(Penrik.hwndMain);
        EXPECT_EQ(640, r.right - r.left) << file;
        EXPECT_EQ(424, r.bottom - r.top) << file;
        ShutDown();
        started = false;
    }
    // A window partly off the screen is where the user put it.
    WriteSettings("[Penrik]\r\nPenrikX=-100\r\nPenrikY=10\r\n");
    Start();
    EXPECT_EQ(-100, WindowRectOf(Penrik.hwndMain).left);
}

TEST_F(BadSettings, OverlongStringsAreCutToTheirRoom)
{
    std::string longText(400, 'q');
    WriteSettings("[Penrik]\r\nFontName=" + longText + "\r\nHelp11File=" + longText + "\r\nHelp11Name=" + longText +
                  "\r\nBuild4Name=" + longText + "\r\nFileName=" + longText + "\r\n");
    script.boxAnswers = {IDOK};
    Start();
    EXPECT_EQ(std::string(31, 'q'), Penrik.settings.font.lfFaceName);
    EXPECT_EQ(std::string(127, 'q'), Utf8(Penrik.settings.helpFile[0]));
    EXPECT_EQ(std::string(8, 'q') + "\tF1", Penrik.settings.helpName[0]);
    EXPECT_EQ(std::string(8, 'q'), Penrik.settings.buildName[3]);
    // A cut file name would name another file: it is refused, and said so.
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("The file name is longer than 255 characters; an empty document was opened instead.",
              script.boxes[0].text);
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ("", EditText());
}

TEST_F(BadSettings, MissingSectionGivesDefaultsAndAReadOnlyFileBringsNoMessage)
{
    WriteSettings("[Other]\r\nPenrikX=300\r\nFontName=Courier New\r\n");
    Start();
    EXPECT_EQ(0, WindowRectOf(Penrik.hwndMain).left);
    EXPECT_STREQ("MS Sans Serif", Penrik.settings.font.lfFaceName);
    ShutDown();
    started = false;

    std::string before = "[Penrik]\r\nPenrikX=5\r\n";
    WriteSettings(before);
    SetFileAttributesA(SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY);
    Start();
    // Whether the platform lets the write through (Wine running as root
    // does) or not, Save Settings says nothing and the editor goes on.
    Command(IDM_SAVESETTINGS);
    EXPECT_TRUE(script.boxes.empty());
    WritePrivateProfileStringA(NULL, NULL, NULL, SETTINGS_FILE);
    EXPECT_EQ(0u, ReadFileBytes(SettingsPath()).find(before.substr(0, 10)));
    SetFileAttributesA(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(IsWindow(Penrik.hwndMain));
}

}  // namespace
