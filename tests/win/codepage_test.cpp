// Files whose bytes the ANSI code page does not map one to one: on a
// double-byte code page (932 here, from LANG=ja_JP.UTF-8 under Wine).
#include "harness.h"

namespace {

class CodePage : public PenrikTest {
protected:
    void SetUp() override
    {
        PenrikTest::SetUp();
        if (GetACP() != 932)
            GTEST_SKIP() << "needs the 932 code page (run with LANG=ja_JP.UTF-8); this one is " << GetACP();
    }
};

TEST_F(CodePage, DoubleByteTextRoundTripsByteForByte)
{
    // "Nihongo" in Shift-JIS, a trail byte that is also a backslash, and
    // 0xFF, which the code page keeps as a character of its own; the
    // control counts such a text longer than it is.
    const std::string text = "\x93\xfa\x96\x7b\x8c\xea \x95\x5c\r\nabc \xff";
    std::string file = TempDir() + "sjis.txt";
    WriteFileBytes(file, text);
    Start(file);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_TRUE(text == EditText());
    EXPECT_EQ(0, Modified());

    LRESULT end = SendMessageA(Penrik.hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    SendMessageA(Penrik.hwndEdit, EM_SETSEL, end, end);
    SendMessageA(Penrik.hwndEdit, EM_REPLACESEL, TRUE, (LPARAM)"\x82\xa0");
    Key('S', true);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_TRUE(text + "\x82\xa0" == ReadFileBytes(file));
}

TEST_F(CodePage, BytesThatMakeNoCharacterKeepTheNameAndAreNamedInWords)
{
    const char* cases[] = {"ab\x82", "\x81" "\x7f" "end"};
    for (const char* bytes : cases) {
        SCOPED_TRACE(bytes);
        std::string file = TempDir() + "odd.txt";
        WriteFileBytes(file, bytes);
        script.boxAnswers = {IDOK};
        Start(file);
        std::string hex;
        for (unsigned char c : EditText()) {
            char two[4];
            snprintf(two, sizeof two, "%02x ", c);
            hex += two;
        }
        ASSERT_EQ(1u, script.boxes.size()) << "shown: " << hex;
        EXPECT_EQ(file + " contains bytes that this system's code page cannot show: they are shown as other "
                         "characters, and saving the file would change those bytes.",
                  script.boxes[0].text);
        EXPECT_EQ((UINT)MB_ICONEXCLAMATION, script.boxes[0].type);
        EXPECT_EQ(file, Utf8(DocumentName()));
        EXPECT_EQ("PENRIK - " + file, Caption());
        EXPECT_EQ(0, Modified());
        EXPECT_FALSE(MenuGrayed(IDM_COMPILE));
        // Unchanged, Save leaves the file as it is.
        Key('S', true);
        EXPECT_TRUE(std::string(bytes) == ReadFileBytes(file));
        ShutDown();
        started = false;
        script.boxes.clear();
    }
}

}  // namespace
