// Lines of any content as compiler messages and as "go to" fields: the
// file lies inside the line and ends where its position begins, the
// numbers are the digits written there (saturated), and blanks before the
// line or text after the message change nothing but where the file lies.
#include <stdint.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "tools/compiler_messages.h"

static bool Digit(char16_t c) { return c >= '0' && c <= '9'; }
static bool Blank(char16_t c) { return c == ' ' || c == '\t'; }

// The digits at `at`, read plainly: more than ten significant digits are
// past the limit whatever they are.
static unsigned long long Number(const std::u16string& text, size_t at)
{
    while (at < text.size() && text[at] == '0')
        ++at;
    unsigned long long value = 0;
    for (size_t n = 0; at < text.size() && Digit(text[at]); ++at, ++n)
        value = n >= 10 ? MESSAGE_NUMBER_LIMIT : value * 10 + (text[at] - '0');
    return value < MESSAGE_NUMBER_LIMIT ? value : MESSAGE_NUMBER_LIMIT;
}

static bool Parse(const std::u16string& line, CompilerMessage* message)
{
    // An exact-size copy, so that a read past the line is caught.
    std::vector<char16_t> copy(line.begin(), line.end());
    return ParseCompilerMessage(copy.data(), copy.size(), message);
}

static bool Same(const CompilerMessage& a, const CompilerMessage& b, size_t shift)
{
    return a.fileStart + shift == b.fileStart && a.fileLength == b.fileLength && a.line == b.line &&
           a.column == b.column;
}

static void CheckMessage(const std::u16string& line)
{
    CompilerMessage message;
    if (!Parse(line, &message))
        return;
    size_t end = message.fileStart + message.fileLength;
    if (message.fileLength == 0 || end >= line.size() || (line[end] != ':' && line[end] != '('))
        abort();
    bool named = false;
    for (size_t i = message.fileStart; i < end; ++i)
        named = named || !(Digit(line[i]) || Blank(line[i]) || line[i] == ':');
    if (!named)
        abort();
    if (message.line != Number(line, end + 1))
        abort();
    size_t after = end + 1;
    while (after < line.size() && Digit(line[after]))
        ++after;
    bool column = after + 1 < line.size() &&
                  (line[end] == '(' ? line[after] == ',' : line[after] == ':' && Digit(line[after + 1]));
    if (message.column != (column ? Number(line, after + 1) : 0))
        abort();

    CompilerMessage moved;
    if (!Parse(u" \t" + line, &moved) || !Same(message, moved, 2))
        abort();
    CompilerMessage longer;
    if (!Parse(line + u" x:1: y(2): z", &longer) || !Same(message, longer, 0))
        abort();
}

static void CheckField(const std::u16string& field)
{
    std::vector<char16_t> copy(field.begin(), field.end());
    unsigned long line = 7, column = 7;
    if (!ParseLineAndColumn(copy.data(), copy.size(), &line, &column)) {
        if (line != 7 || column != 7)
            abort();
        return;
    }
    // Digits, blanks and at most one comma, and the numbers as written.
    const size_t none = std::u16string::npos;
    size_t comma = field.find(u',');
    if (field.find_first_not_of(u"0123456789 \t,") != none || comma != field.rfind(u',') ||
        line != Number(field, field.find_first_not_of(u" \t")) ||
        column != (comma == none ? 0 : Number(field, field.find_first_not_of(u" \t", comma + 1))))
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Bytes from 0x80 stand for characters beyond ASCII whose low byte is
    // ASCII (U+013A and the like), so that a narrowed compare shows.
    std::u16string line;
    for (size_t i = 0; i < size; ++i)
        line += data[i] < 0x80 ? (char16_t)data[i] : (char16_t)(0x100 | (data[i] & 0x7F));
    CheckMessage(line);
    CheckField(line);
    return 0;
}
