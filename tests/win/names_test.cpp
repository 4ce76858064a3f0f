// Names as users and shells give them, and questions that cannot be put.
#include "harness.h"

namespace {

using Names = PenrikTest;

TEST_F(Names, ARelativeNameIsTheFileInTheFolderTheProgramStartedIn)
{
    std::string start = TempDir();
    CreateDirectoryA((start + "sub").c_str(), NULL);
    std::string file = start + "sub\\rel.txt";
    WriteFileBytes(file, "old");
    SetCurrentDirectoryA(start.c_str());
    Start("sub\\rel.txt");
    EXPECT_EQ(file, DocumentName());
    EXPECT_EQ("PENRIK - " + file, Caption());
    EXPECT_EQ("old", EditText());

    // A dialog that enters another folder and leaves the document, then
    // Save: the file written is still the one that was loaded.
    std::string other = start + "other\\";
    CreateDirectoryA(other.c_str(), NULL);
    CreateDirectoryA((other + "sub").c_str(), NULL);
    WriteFileBytes(other + "victim.txt", "v");
    script.dialogAnswers = {{true, other + "victim.txt"}};
    script.boxAnswers = {IDNO};
    Command(IDM_DELETEFILE);
    Type("new ");
    Key('S', true);
    EXPECT_EQ("new old", ReadFileBytes(file));
    EXPECT_FALSE(FileExists(other + "sub\\rel.txt"));
    EXPECT_EQ(0, Modified());

    // Compile hands the batch file the full path.
    Command(IDM_COMPILE);
    ASSERT_EQ(1u, script.shell.size());
    EXPECT_EQ(file, script.shell[0].parameters);
}

TEST_F(Names, TheBuildResultsLayoutGoesByTheNameAsGivenAndSurvivesABadStoredSize)
{
    WriteSettings("[Penrik]\r\nPenrikW=-50\r\nPenrikH=-70\r\n");
    SetCurrentDirectoryA(TempDir().c_str());
    Start("BuildRes.ult");
    EXPECT_EQ(TempDir() + "BuildRes.ult", DocumentName());
    RECT r = WindowRectOf(Penrik.hwndMain);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(200, r.top);
    EXPECT_EQ(640, r.right - r.left);
    EXPECT_EQ(280, r.bottom - r.top);
    EXPECT_EQ(0x00000080u, Penrik.Settings.textColor);
}

TEST_F(Names, AResolvedNameTooLongToHoldStartsUntitledAndSaysSo)
{
    std::string folder = TempDir();
    std::string deep = folder;
    while (deep.size() + 41 < 240) {  // a folder's path stays under 248
        deep += std::string(40, 'd') + "\\";
        CreateDirectoryA(deep.c_str(), NULL);
    }
    ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str())) << deep;
    script.boxAnswers = {IDOK};
    Start(std::string(60, 'n') + ".txt");  // fits as given, not with its folder
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("The file name is longer than 255 characters; an empty document was opened instead.",
              script.boxes[0].text);
    EXPECT_STREQ("", DocumentName());
}

TEST_F(Names, AQuestionThatCannotBeShownCountsAsCancel)
{
    std::string file = TempDir() + "kept.txt";
    WriteFileBytes(file, "kept");
    Start(file);
    Type("changed ");

    // MessageBoxA answers 0 when it cannot show its box.
    script.boxAnswers = {0};
    Command(IDM_EXIT);
    EXPECT_TRUE(IsWindow(Penrik.hwndMain));
    EXPECT_EQ(-1, exitCode);
    EXPECT_TRUE(script.dialogs.empty());
    EXPECT_EQ("kept", ReadFileBytes(file));
    EXPECT_EQ(1, Modified());

    script.boxAnswers = {0};
    script.dialogAnswers = {{true, file}};
    Command(IDM_DELETEFILE);
    EXPECT_TRUE(FileExists(file));
}

}  // namespace
