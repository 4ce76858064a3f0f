#include <gtest/gtest.h>

#include <string>

#include "tools/compiler_messages.h"

namespace {

std::string Narrow(const std::u16string& text)
{
    std::string narrow;
    for (char16_t c : text)
        narrow += c < 0x80 ? (char)c : '?';
    return narrow;
}

TEST(CompilerMessage, FindsTheFileLineAndColumnOfEachForm)
{
    struct Row {
        const char16_t* line;
        const char16_t* file;
        unsigned long number, column;
    } rows[] = {
        {u"hello.c:12:5: error: 'x' undeclared", u"hello.c", 12, 5},
        {u"hello.c:12: warning: no newline at end of file", u"hello.c", 12, 0},
        {u"src/main.c:3:10: fatal error: 'foo.h' file not found", u"src/main.c", 3, 10},
        {u"hello.c:7:", u"hello.c", 7, 0},
        {u"hello.c:7:2:\r", u"hello.c", 7, 2},
        {u"a.c:0: x", u"a.c", 0, 0},
        {u"x.cpp(12): error C2065: 'y': undeclared identifier", u"x.cpp", 12, 0},
        {u"x.cpp(12,5): error C2143", u"x.cpp", 12, 5},
        {u"x.cpp(3) \t: error C2065", u"x.cpp", 3, 0},
        {u"1>C:\\src\\x.cpp(12,5): error C2143", u"C:\\src\\x.cpp", 12, 5},
        {u"12>  x.cpp(3): warning C4244", u"x.cpp", 3, 0},
        {u"In file included from /usr/include/stdio.h:27,", u"/usr/include/stdio.h", 27, 0},
        {u"                 from hello.c:1:", u"hello.c", 1, 0},
        {u"In file included from x.h:2:3:", u"x.h", 2, 3},
        {u"C:\\src\\x.c:12:3: error: expected ';'", u"C:\\src\\x.c", 12, 3},
        {u"C:\\Program Files (x86)\\k.h(40): warning", u"C:\\Program Files (x86)\\k.h", 40, 0},
        {u"my file.c:3:1: error", u"my file.c", 3, 1},
        {u"  \t x.c:4: note: here", u"x.c", 4, 0},
        {u"x.c:12: note: see y.c:3:4: here", u"x.c", 12, 0},  // the first position counts
        {u"12.c:1: x", u"12.c", 1, 0},
        {u"\u0141\u00f3d\u017a \u65e5\u672c.c:9:1: error", u"\u0141\u00f3d\u017a \u65e5\u672c.c", 9, 1},
        {u"x.c:99999999999999999999999:4294967296: e", u"x.c", MESSAGE_NUMBER_LIMIT, MESSAGE_NUMBER_LIMIT},
    };
    for (const Row& row : rows) {
        std::u16string line = row.line;
        SCOPED_TRACE(Narrow(line));
        CompilerMessage message = {};
        ASSERT_TRUE(ParseCompilerMessage(line.data(), line.size(), &message));
        EXPECT_EQ(Narrow(row.file), Narrow(line.substr(message.fileStart, message.fileLength)));
        EXPECT_EQ(row.number, message.line);
        EXPECT_EQ(row.column, message.column);
    }
}

TEST(CompilerMessage, OtherLinesAreNoMessages)
{
    const char16_t* rows[] = {
        u"hello.c: In function 'main':",
        u"LINK : fatal error LNK1104: cannot open file 'x.exe'",
        u"",
        u"  \t  ",
        u"1>Build started 12/6/2026 2:05:00 PM.",
        u"Compiling...",
        u"12:3: x",
        u"1>12:3: x",
        u":12: error",
        u"  (12): error",
        u"x.c:12",
        u"x.c:12:3",
        u"x.c:12, error",
        u"x.c:12:error",
        u"x.c:: error",
        u"x.cpp(): error",
        u"x.cpp(12):error",
        u"x.cpp(12,): error",
        u"x.cpp( 12): error",
        u"x.c:(.text+0x9): undefined reference to `f'",
        u"In file included from",
        u"from x.c",
        u"x.c\uff1a12\uff1a error",  // wide colons
        u"x.c:\uff11\uff12: error",  // wide digits
        u"x.c\u013a12\u013a error",  // a colon's low byte is no colon
    };
    for (const char16_t* row : rows) {
        std::u16string line = row;
        SCOPED_TRACE(Narrow(line));
        CompilerMessage message = {7, 7, 7, 7};
        EXPECT_FALSE(ParseCompilerMessage(line.data(), line.size(), &message));
        EXPECT_EQ(7u, message.fileStart);  // left alone
    }
}

TEST(CompilerMessage, ReadsNoFurtherThanTheLengthGiven)
{
    const char16_t text[] = u"x.c:12: error";
    CompilerMessage message;
    EXPECT_FALSE(ParseCompilerMessage(text, 6, &message));  // "x.c:12"
    ASSERT_TRUE(ParseCompilerMessage(text, 7, &message));   // "x.c:12:" ends the line
    EXPECT_EQ(12u, message.line);
    EXPECT_FALSE(ParseCompilerMessage(u"x.c(1): e", 5, &message));
}

TEST(CompilerMessage, ALineOfAHundredThousandCharactersTakesOnePass)
{
    // Every colon and parenthesis of the name starts a position that fails
    // late, after its digits.
    std::u16string name;
    while (name.size() < 100000)
        name += u"a:123:4b(5,6)c";
    std::u16string line = name + u":7:8: error";
    CompilerMessage message;
    ASSERT_TRUE(ParseCompilerMessage(line.data(), line.size(), &message));
    EXPECT_EQ(0u, message.fileStart);
    EXPECT_EQ(name.size(), message.fileLength);
    EXPECT_EQ(7u, message.line);
    EXPECT_EQ(8u, message.column);

    std::u16string colons = u"x";
    while (colons.size() < 100000)
        colons += u":1";
    EXPECT_FALSE(ParseCompilerMessage(colons.data(), colons.size(), &message));
    std::u16string digits = u"x.c:" + std::u16string(100000, u'9') + u": e";
    ASSERT_TRUE(ParseCompilerMessage(digits.data(), digits.size(), &message));
    EXPECT_EQ(MESSAGE_NUMBER_LIMIT, message.line);
}

TEST(LineAndColumn, ReadsALineAndAnOptionalColumn)
{
    struct Row {
        const char16_t* field;
        bool good;
        unsigned long line, column;
    } rows[] = {
        {u"12", true, 12, 0},
        {u"12,5", true, 12, 5},
        {u" 12 , 5 ", true, 12, 5},
        {u"0", true, 0, 0},
        {u"007,0", true, 7, 0},
        {u"4294967295", true, 4294967295ul, 0},
        {u"4294967296,99999999999999999999", true, MESSAGE_NUMBER_LIMIT, MESSAGE_NUMBER_LIMIT},
        {u"", false, 0, 0},
        {u"1 2", false, 0, 0},
        {u"12,", false, 0, 0},
        {u",5", false, 0, 0},
        {u"12,5,1", false, 0, 0},
        {u"-1", false, 0, 0},
        {u"12a", false, 0, 0},
        {u"\uff11\uff12", false, 0, 0},
    };
    for (const Row& row : rows) {
        std::u16string field = row.field;
        SCOPED_TRACE(Narrow(field));
        unsigned long line = 77, column = 77;
        ASSERT_EQ(row.good, ParseLineAndColumn(field.data(), field.size(), &line, &column));
        EXPECT_EQ(row.good ? row.line : 77, line);
        EXPECT_EQ(row.good ? row.column : 77, column);
    }
}

}  // namespace
