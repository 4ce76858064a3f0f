// Which encoding a file's bytes are, and their UTF-16 text each way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/encoding.h"

namespace {

TextEncoding Classify(const std::string& bytes)
{
    return ClassifyEncoding((const unsigned char*)bytes.data(), bytes.size());
}

std::u16string Decoded(TextEncoding encoding, const std::string& file)
{
    size_t mark = MarkLength(encoding);
    std::u16string text(file.size() - mark, u'\0');
    text.resize(Decode(encoding, (const unsigned char*)file.data() + mark, file.size() - mark, &text[0]));
    return text;
}

std::string Encoded(TextEncoding encoding, const std::u16string& text)
{
    std::string bytes(MaxEncodedLength(text.size()), '\0');
    bytes.resize(Encode(encoding, text.data(), text.size(), (unsigned char*)&bytes[0]));
    return bytes;
}

TEST(Encoding, MarksThenValidUtf8ThenTheCodePage)
{
    EXPECT_EQ(ENCODING_UTF8_MARK, Classify("\xEF\xBB\xBFplain"));
    EXPECT_EQ(ENCODING_UTF8_MARK, Classify("\xEF\xBB\xBF"));
    EXPECT_EQ(ENCODING_UTF16LE, Classify(std::string("\xFF\xFE" "a\0", 4)));
    EXPECT_EQ(ENCODING_UTF16BE, Classify(std::string("\xFE\xFF\0a", 4)));
    EXPECT_EQ(ENCODING_UTF8, Classify("Gr\xC3\xBC\xC3\x9F" "e"));         // Grüße
    EXPECT_EQ(ENCODING_UTF8, Classify("\xF0\x9F\x98\x80"));               // a character beyond the BMP
    EXPECT_EQ(ENCODING_ANSI, Classify("only ASCII"));                    // no multi-byte sequence
    EXPECT_EQ(ENCODING_ANSI, Classify(""));
    EXPECT_EQ(ENCODING_ANSI, Classify("Gr\xFC\xDF" "e"));                 // Latin-1
    EXPECT_EQ(ENCODING_ANSI, Classify("\xFF\xFE" "a"));                   // a UTF-16 mark with an odd body
    EXPECT_EQ(ENCODING_ANSI, Classify("\xEF\xBB\xBF" "a\xEF\xBB"));         // a UTF-8 mark before no UTF-8
    EXPECT_EQ(ENCODING_ANSI, Classify("\xC0\xAF"));                       // overlong
    EXPECT_EQ(ENCODING_ANSI, Classify("\xE0\x80\xAF"));                   // overlong
    EXPECT_EQ(ENCODING_ANSI, Classify("\xED\xA0\x80"));                   // a surrogate
    EXPECT_EQ(ENCODING_ANSI, Classify("\xF4\x90\x80\x80"));               // beyond U+10FFFF
    EXPECT_EQ(ENCODING_ANSI, Classify("\xC3"));                           // cut short
    EXPECT_EQ(ENCODING_ANSI, Classify("\xC3\xBC\x80"));                   // a stray continuation
}

// The UTF-16 bytes of the text, unit by unit, after the mark.
std::string Utf16(const std::u16string& text, bool big)
{
    std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char high = (char)(c >> 8), low = (char)(c & 0xFF);
        bytes += big ? high : low;
        bytes += big ? low : high;
    }
    return bytes;
}

TEST(Encoding, EachEncodingDecodesAndEncodesItsBytesBack)
{
    const std::u16string text = u"\u0141\u00F3d\u017A \u03B1\u03B2 \u65E5\u672C \U0001F600\r\n";
    const struct {
        TextEncoding encoding;
        std::string bytes;
    } rows[] = {
        {ENCODING_UTF8, "\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xB1\xCE\xB2 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\r\n"},
        {ENCODING_UTF8_MARK,
         "\xEF\xBB\xBF\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xB1\xCE\xB2 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80\r\n"},
        {ENCODING_UTF16LE, Utf16(text, false)},
        {ENCODING_UTF16BE, Utf16(text, true)},
    };
    // The pair of the character beyond the BMP, in both orders.
    EXPECT_NE(std::string::npos, rows[2].bytes.find("\x3D\xD8\x00\xDE"));
    EXPECT_NE(std::string::npos, rows[3].bytes.find("\xD8\x3D\xDE\x00"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.encoding);
        EXPECT_EQ(row.encoding, Classify(row.bytes));
        EXPECT_EQ(text, Decoded(row.encoding, row.bytes));
        EXPECT_EQ(row.bytes, Encoded(row.encoding, text));
    }
}

TEST(Encoding, ALoneSurrogateKeepsItsUnitInUtf16AndBecomesAReplacementInUtf8)
{
    const std::string file("\xFF\xFE\x00\xD8" "a\0", 6);  // a high surrogate with nothing after it
    std::u16string text = Decoded(ENCODING_UTF16LE, file);
    EXPECT_EQ(std::u16string(u"\xD800" u"a"), text);
    EXPECT_EQ(file, Encoded(ENCODING_UTF16LE, text));
    EXPECT_EQ("\xEF\xBF\xBD" "a", Encoded(ENCODING_UTF8, text));
}

}  // namespace
