#include <gtest/gtest.h>

#include <string.h>

#include "app/cmdline.h"
#include "app/settings_keys.h"

namespace {

struct Outcome {
    CommandLine line;
    std::string name;
};

Outcome Interpret(const char* text, const char* setting = "")
{
    char name[256];
    strcpy(name, setting);
    Outcome out;
    out.line = InterpretCommandLine(text, name, sizeof name);
    out.name = name;
    return out;
}

TEST(CommandLine, EmptyTextKeepsTheNameFromTheSettings)
{
    Outcome out = Interpret("", "C:\\src\\main.c");
    EXPECT_EQ("C:\\src\\main.c", out.name);
    EXPECT_EQ(0, out.line.printMode);
    EXPECT_EQ(0, out.line.nameTooLong);
}

TEST(CommandLine, TextIsTakenWholeLessOnePairOfQuotesAroundIt)
{
    EXPECT_EQ("\"C:\\my files\\a b.txt\"  x", Interpret("\"C:\\my files\\a b.txt\"  x", "old").name);
    // As the shell hands a file over, also in print mode.
    EXPECT_EQ("C:\\My Files\\a.c", Interpret("\"C:\\My Files\\a.c\"").name);
    Outcome printed = Interpret("/p \"C:\\My Files\\a.c\"");
    EXPECT_EQ(1, printed.line.printMode);
    EXPECT_EQ("C:\\My Files\\a.c", printed.name);
    EXPECT_EQ("\"a.c\"", Interpret("\"\"a.c\"\"").name);  // one pair only
    EXPECT_EQ("\"", Interpret("\"").name);     // one quote alone is no pair
    EXPECT_EQ("", Interpret("\"\"", "setting.txt").name);
    EXPECT_EQ("buildres.ult", Interpret("\"buildres.ult\"").name);
    // A quoted name counts without its quotes against the room.
    std::string fits(255, 'a');
    EXPECT_EQ(fits, Interpret(("\"" + fits + "\"").c_str()).name);
    // An upper-case P is an ordinary file name, slash included.
    Outcome upper = Interpret("/P report.txt");
    EXPECT_EQ("/P report.txt", upper.name);
    EXPECT_EQ(0, upper.line.printMode);
}

TEST(CommandLine, PrintModeDropsThreeCharactersUnseen)
{
    Outcome spaced = Interpret("/p report.txt", "setting.txt");
    EXPECT_EQ(1, spaced.line.printMode);
    EXPECT_EQ("report.txt", spaced.name);
    EXPECT_EQ("eport.txt", Interpret("/preport.txt").name);
    EXPECT_EQ("x", Interpret("/p x").name);
    for (const char* shortText : {"/p", "/p ", "/px"}) {
        Outcome out = Interpret(shortText, "setting.txt");
        EXPECT_EQ(1, out.line.printMode) << shortText;
        EXPECT_EQ("", out.name) << shortText;
    }
}

TEST(CommandLine, GoPutsTheCaretAtALineAndColumnOfTheNameThatFollows)
{
    const struct {
        const char* text;
        const char* name;
        unsigned long line, column;
    } rows[] = {
        {"/g 12 C:\\src\\a.c", "C:\\src\\a.c", 12, 0},
        {"-g 7,3 \"C:\\my src\\b.c\"", "C:\\my src\\b.c", 7, 3},
        {"/g   5,1   x.c", "x.c", 5, 1},
        {"/g 99999999999999999999,0 x.c", "x.c", 0xFFFFFFFFul, 0},
        {"/g 4", "", 4, 0},
        // Not a place: the text is a name, as any other.
        {"/g x.c", "/g x.c", 0, 0},
        {"/g 4, x.c", "/g 4, x.c", 0, 0},
        {"/g 4x x.c", "/g 4x x.c", 0, 0},
        {"/G 4 x.c", "/G 4 x.c", 0, 0},
    };
    for (const auto& row : rows) {
        Outcome out = Interpret(row.text, "setting.txt");
        EXPECT_EQ(row.name, out.name) << row.text;
        EXPECT_EQ(row.line, out.line.goLine) << row.text;
        EXPECT_EQ(row.column, out.line.goColumn) << row.text;
        EXPECT_FALSE(out.line.printMode) << row.text;
    }
}

TEST(CommandLine, NameAtTheLimitFitsAndALongerOneIsRefusedWhole)
{
    std::string fits(255, 'a');
    Outcome ok = Interpret(fits.c_str(), "setting.txt");
    EXPECT_EQ(fits, ok.name);
    EXPECT_EQ(0, ok.line.nameTooLong);

    for (size_t length : {256u, 300u, 5000u}) {
        std::string tooLong(length, 'b');
        Outcome out = Interpret(tooLong.c_str(), "setting.txt");
        EXPECT_EQ("", out.name) << length;
        EXPECT_EQ(1, out.line.nameTooLong) << length;
    }
    // In print mode only the name after the prefix counts.
    Outcome print = Interpret(("/p " + fits).c_str());
    EXPECT_EQ(fits, print.name);
    Outcome printLong = Interpret(("/p " + fits + "c").c_str());
    EXPECT_EQ("", printLong.name);
    EXPECT_EQ(1, printLong.line.printMode);
    EXPECT_EQ(1, printLong.line.nameTooLong);
}

TEST(CommandLine, BuildResultsNameMatchesWholeInAnyCase)
{
    EXPECT_TRUE(IsBuildResultsName("buildres.ult"));
    EXPECT_TRUE(IsBuildResultsName("BuildRes.ULT"));
    EXPECT_FALSE(IsBuildResultsName("C:\\x\\buildres.ult"));
    EXPECT_FALSE(IsBuildResultsName("buildres.ult "));
    EXPECT_FALSE(IsBuildResultsName("buildres.ul"));
    EXPECT_FALSE(IsBuildResultsName(""));
}

TEST(SettingsKeys, TableHasTheStoredOrderDefaultsAndLimits)
{
    const char* keys[SETTING_COUNT] = {
        "PenrikX", "PenrikY", "PenrikW", "PenrikH", "TextColor", "BackColor", "FontSize", "FontName",
        "WordWrap", "FileName", "Help11File", "Help2File", "Help3File", "Help4File", "Help11Name",
        "Help2Name", "Help3Name", "Help4Name", "Build1Name", "Build2Name", "Build3Name", "Build4Name"};
    for (int i = 0; i < SETTING_COUNT; ++i)
        EXPECT_STREQ(keys[i], SettingKeys[i].key) << i;
    EXPECT_EQ(28, SettingKeys[SET_Y].intDefault);
    EXPECT_EQ(16777215, SettingKeys[SET_BACKCOLOR].intDefault);
    EXPECT_STREQ("win16wh", SettingKeys[SET_HELPFILE3].textDefault);
    EXPECT_EQ(9, SettingKeys[SET_BUILDNAME3].readLimit);
    EXPECT_EQ(256, SettingKeys[SET_FILENAME].readLimit);

    const char* saved[SAVED_SETTING_COUNT] = {"PenrikX",   "PenrikY",  "PenrikH",   "PenrikW",  "FontSize",
                                              "TextColor", "WordWrap", "BackColor", "FontName", "FileName"};
    for (int i = 0; i < SAVED_SETTING_COUNT; ++i)
        EXPECT_STREQ(saved[i], SettingKeys[SavedSettings[i].id].key) << i;
}

}  // namespace
