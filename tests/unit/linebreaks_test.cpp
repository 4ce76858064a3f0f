#include <gtest/gtest.h>

#include <string>

#include "document/linebreaks.h"

namespace {

std::string ForControl(const std::string& file, LineBreaks kind)
{
    std::string out(ControlLength(file.data(), file.size(), kind), '\0');
    out.resize(ToControlBreaks(file.data(), file.size(), kind, &out[0]));
    return out;
}

std::string ForFile(std::string control, LineBreaks kind)
{
    control.resize(FromControlBreaks(&control[0], control.size(), kind));
    return control;
}

TEST(LineBreaks, KindOfAFile)
{
    EXPECT_EQ(BREAKS_LF, ClassifyLineBreaks("a\nb\n", 4));
    EXPECT_EQ(BREAKS_LF, ClassifyLineBreaks("a\rb\n", 4));  // a lone CR inside an LF file
    EXPECT_EQ(BREAKS_CR, ClassifyLineBreaks("a\rb\r", 4));
    EXPECT_EQ(BREAKS_AS_IS, ClassifyLineBreaks("a\r\nb\r\n", 6));
    EXPECT_EQ(BREAKS_AS_IS, ClassifyLineBreaks("a\nb\r\n", 5));  // mixed
    EXPECT_EQ(BREAKS_AS_IS, ClassifyLineBreaks("\r\n", 2));
    EXPECT_EQ(BREAKS_AS_IS, ClassifyLineBreaks("no break", 8));
    EXPECT_EQ(BREAKS_AS_IS, ClassifyLineBreaks("", 0));
}

TEST(LineBreaks, EachBreakBecomesCRLFAndComesBack)
{
    const std::string lf = "int main(void)\n{\r\treturn 0;\n}\n\n";
    EXPECT_EQ("int main(void)\r\n{\r\treturn 0;\r\n}\r\n\r\n", ForControl(lf, BREAKS_LF));
    EXPECT_EQ(lf, ForFile(ForControl(lf, BREAKS_LF), BREAKS_LF));

    const std::string cr = "\ra\r\rb";
    EXPECT_EQ("\r\na\r\n\r\nb", ForControl(cr, BREAKS_CR));
    EXPECT_EQ(cr, ForFile(ForControl(cr, BREAKS_CR), BREAKS_CR));

    // Lines typed in the control take the file's break; as-is text is untouched.
    EXPECT_EQ("a\nb\rc\n", ForFile("a\r\nb\rc\r\n", BREAKS_LF));
    EXPECT_EQ("a\rb\n", ForFile("a\r\nb\n", BREAKS_CR));
    EXPECT_EQ("a\nb\r\n", ForControl("a\nb\r\n", BREAKS_AS_IS));
    EXPECT_EQ("a\r\nb\n", ForFile("a\r\nb\n", BREAKS_AS_IS));
}

}  // namespace
