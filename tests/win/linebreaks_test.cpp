// Files whose lines end in LF alone or CR alone: the control holds CR LF
// lines (the only break Windows' classic control shows), and saving gives
// the file its own breaks back. Wine's control also breaks at a lone LF,
// so these look at the control's text and the bytes, not at line counts.
#include "harness.h"

class LineBreaksTest : public PenrikTest {};

TEST_F(LineBreaksTest, LfFileShowsCrLfLinesAndTypedLinesSaveAsLf)
{
    std::string path = TempDir() + "unix.c";
    WriteFileBytes(path, "void f(void)\n{\n\treturn;\n}\n");
    Start(path);
    EXPECT_EQ("void f(void)\r\n{\r\n\treturn;\r\n}\r\n", EditText());
    EXPECT_TRUE(script.boxes.empty()) << script.boxes[0].text;
    EXPECT_EQ(0, Modified());

    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_END);
    Key(VK_RETURN);  // indents from "\treturn;"
    Type("g();");
    Key('S', true);
    EXPECT_EQ("void f(void)\n{\n\treturn;\n\tg();\n}\n", ReadFileBytes(path));
    EXPECT_EQ(0, Modified());
}

TEST_F(LineBreaksTest, LoneCrInLfFileIsKeptBySaveAs)
{
    const std::string bytes = "a\rb\nc\n";
    std::string path = TempDir() + "lone cr.txt";
    WriteFileBytes(path, bytes);
    Start(path);
    EXPECT_EQ("a\rb\r\nc\r\n", EditText());
    std::string copy = TempDir() + "copy.txt";
    script.dialogAnswers = {{true, copy}};
    Command(IDM_SAVEAS);
    EXPECT_EQ(bytes, ReadFileBytes(copy));
    // The copy is the document now, and keeps the breaks.
    Type("x");
    Key('S', true);
    EXPECT_EQ("x" + bytes, ReadFileBytes(copy));
}

TEST_F(LineBreaksTest, CrFileShowsCrLfLinesAndSavesCr)
{
    std::string path = TempDir() + "mac.txt";
    WriteFileBytes(path, "one\rtwo\r");
    Start(path);
    EXPECT_EQ("one\r\ntwo\r\n", EditText());
    Key(VK_DOWN);
    Key(VK_END);
    Type("\nthree");
    Key('S', true);
    EXPECT_EQ("one\rtwo\rthree\r", ReadFileBytes(path));
}

TEST_F(LineBreaksTest, MixedBreaksAreShownAndSavedByteForByte)
{
    const std::string bytes = "a\nb\r\nc\rd";
    std::string path = TempDir() + "mixed.txt";
    WriteFileBytes(path, bytes);
    Start(path);
    EXPECT_EQ(bytes, EditText());
    Type("Z");
    Key('S', true);
    EXPECT_EQ("Z" + bytes, ReadFileBytes(path));
}

TEST_F(LineBreaksTest, LfFileKeepsLfAfterWordWrapReload)
{
    std::string path = TempDir() + "wrapped.txt";
    WriteFileBytes(path, "first\nsecond\n");
    Start(path);
    Command(IDM_WORDWRAP);
    Pump();
    ASSERT_EQ("first\r\nsecond\r\n", EditText());
    Type("0");
    Key('S', true);
    EXPECT_EQ("0first\nsecond\n", ReadFileBytes(path));
}
