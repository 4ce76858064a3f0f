#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "search/scan.h"

namespace {

// The platform's mapping for a code page whose accented capitals
// 0xC0-0xDE (but the sign 0xD7) lower to 0x20 higher; or plain ASCII.
struct LowerTable {
    unsigned char map[256];
    explicit LowerTable(bool accents)
    {
        for (int c = 0; c < 256; ++c) {
            bool upper = (c >= 'A' && c <= 'Z') || (accents && c >= 0xC0 && c <= 0xDE && c != 0xD7);
            map[c] = (unsigned char)(upper ? c + 0x20 : c);
        }
    }
};
const LowerTable Accented(true), Ascii(false);

TEST(Scan, CandidateOrderCaseAndTheLoweredFindText)
{
    const struct {
        const char* text; size_t start; const char* find; int direction, caseSensitive;
        long found;             // -1: "Done"
        const char* findAfter;  // lowered only once a position was compared
        const LowerTable* table = &Accented;
    } cases[] = {
        {"abcabc", 0, "abc", +1, 0, 3, "abc"},  // not the match at 0
        {"abcabc", 3, "abc", +1, 0, -1, "abc"},
        {"aaaa", 0, "aa", +1, 0, 1, "aa"},
        {"aaaa", 1, "aa", +1, 0, 2, "aa"},
        {"aaaa", 2, "aa", +1, 0, -1, "aa"},
        {"abcabc", 3, "abc", -1, 0, 0, "abc"},
        {"abcabc", 0, "abc", -1, 0, -1, "abc"},
        {"abcabc", 1, "abc", -1, 0, 0, "abc"},  // a backward match may run past the start
        {"xABC", 4, "ABC", +1, 0, -1, "ABC"},   // at the end: Done before anything else
        {"xABC", 4, "ABC", -1, 0, -1, "ABC"},
        {"", 0, "A", +1, 0, -1, "A"},
        {"zabc", 0, "ABCD", +1, 0, -1, "ABCD"}, // three left, four wanted: no candidate
        {"zabc", 3, "ABCD", -1, 0, -1, "abcd"}, // candidates that run out of text
        {"zabc", 3, "abc", -1, 0, 1, "abc"},
        {"xABC", 0, "abc", +1, 0, 1, "abc"},
        {"xabc", 0, "ABC", +1, 0, 1, "abc"},
        {"xabc", 0, "QQ", +1, 0, -1, "qq"},
        {"xabc", 0, "ABC", +1, 1, -1, "ABC"},
        {"xABC", 0, "ABC", +1, 1, 1, "ABC"},
        {"xABC", 3, "abc", -1, 1, -1, "abc"},
        {"x\xC4y\xD7", 0, "\xC4Y", +1, 0, 1, "\xE4y"},
        {"x\xC4y\xD7", 0, "\xE4", +1, 0, -1, "\xE4", &Ascii},
        {"x\xC4y\xD7", 0, "\xF7", +1, 0, -1, "\xF7"},
        {"x\xC4y\xD7", 0, "\xE4", +1, 1, -1, "\xE4"},
    };
    for (const auto& c : cases) {
        // Exactly the text's bytes, no terminator: a read past them is
        // caught by the sanitizer.
        std::vector<char> text(c.text, c.text + strlen(c.text));
        std::string find = c.find;
        SearchScan<char> scan = {text.data(), text.size(), &find[0], find.size(), c.caseSensitive,
                           c.table->map};
        size_t found = 999;
        int matched = ScanText(&scan, c.start, c.direction, &found);
        EXPECT_EQ(c.found, matched ? (long)found : -1) << c.text << " " << c.start << " " << c.find;
        EXPECT_EQ(c.findAfter, find) << c.text << " " << c.start << " " << c.find;
    }
}

}  // namespace
