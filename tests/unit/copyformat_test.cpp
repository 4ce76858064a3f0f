#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "document/copyformat.h"

namespace {

std::string Header(const std::u16string& name, uint32_t length)
{
    char out[COPY_HEADER_SIZE];
    size_t made = FormatCopyHeader(name.c_str(), BREAKS_LF, ENCODING_UTF16BE, 1234567890123ull, length, out);
    return std::string(out, made);
}

TEST(CopyHeader, AnyNameComesBackAsItWas)
{
    // Plain, another script, a pair beyond the BMP, and lone surrogates,
    // which a file name may hold and UTF-8 may not.
    const std::u16string names[] = {u"C:\\src\\hello.c", u"D:\\\u0141\u00f3d\u017a\\\u65e5\u672c.txt",
                                    u"E:\\\U0001F600.c", std::u16string(u"x\xD800y\xDC00") , u""};
    for (const auto& name : names) {
        std::string header = Header(name, 6);
        ASSERT_FALSE(header.empty());
        CopyHeader read;
        ASSERT_TRUE(ParseCopyHeader(header.data(), header.size(), header.size() + 6, &read));
        EXPECT_EQ(name, std::u16string(read.name));
        EXPECT_EQ(BREAKS_LF, read.breaks);
        EXPECT_EQ(ENCODING_UTF16BE, read.encoding);
        EXPECT_FALSE(read.textInCodePage);
        EXPECT_EQ(1234567890123ull, read.time);
        EXPECT_EQ(header.size(), read.headerLength);
    }
    // A name of 260 units or more does not fit.
    EXPECT_TRUE(Header(std::u16string(300, u'a'), 0).empty());
}

TEST(CopyHeader, AnOlderEditorsCopyIsTakenAsCodePageText)
{
    std::string header = "Penrik recovery copy\r\nname=C:\\\xB3\xF3.txt\r\nbreaks=2\r\ntime=5\r\nlength=3\r\n\r\n";
    CopyHeader read;
    ASSERT_TRUE(ParseCopyHeader(header.data(), header.size(), header.size() + 3, &read));
    EXPECT_STREQ("C:\\\xB3\xF3.txt", read.codePageName);
    EXPECT_TRUE(read.textInCodePage);
    EXPECT_EQ(BREAKS_CR, read.breaks);
}

TEST(CopyHeader, APartOrAMisfitIsNoCopy)
{
    std::string whole = Header(u"a.c", 4);
    CopyHeader read;
    EXPECT_FALSE(ParseCopyHeader(whole.data(), whole.size(), whole.size() + 3, &read));   // text cut short
    EXPECT_FALSE(ParseCopyHeader(whole.data(), whole.size() - 3, whole.size() + 4, &read));  // header cut
    std::string noLength = "Penrik recovery copy\r\nutf8name=a\r\nbreaks=0\r\ntime=1\r\n\r\n";
    EXPECT_FALSE(ParseCopyHeader(noLength.data(), noLength.size(), noLength.size(), &read));
    std::string overlong = "Penrik recovery copy\r\nutf8name=\xC0\xAF\r\nbreaks=0\r\ntime=1\r\nlength=0\r\n\r\n";
    EXPECT_FALSE(ParseCopyHeader(overlong.data(), overlong.size(), overlong.size(), &read));
    std::string other = "Other recovery copy\r\nutf8name=a\r\nbreaks=0\r\ntime=1\r\nlength=0\r\n\r\n";
    EXPECT_FALSE(ParseCopyHeader(other.data(), other.size(), other.size(), &read));
}

}  // namespace
