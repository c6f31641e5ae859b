#include "roots/VelString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(VelString, NarrowAndWideConstructionAgree)
{
    const VelString a("Stütze 3");  // UTF-8 source text
    const VelString b(L"Stütze 3");
    EXPECT_FALSE(a != b);
    EXPECT_EQ(a.length(), 8);
    EXPECT_EQ(a[2], L'ü');
    EXPECT_STREQ(b.getStringA(), "Stütze 3");
    EXPECT_EQ(std::wstring(a.getStringW()), L"Stütze 3");
}

TEST(VelString, NullAndOutOfRangeAreHarmless)
{
    const VelString a(static_cast<const char*>(nullptr));
    const VelString b(static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(a.length(), 0);
    EXPECT_STREQ(b.getStringA(), "");
    EXPECT_EQ(VelString("ab")[-1], 0);
    EXPECT_EQ(VelString("ab")[2], 0);
    VelString c("x");
    c = static_cast<const char*>(nullptr);
    EXPECT_TRUE(c.isEmpty());
}

TEST(VelString, FormatReplacesContentAndHandlesLongOutput)
{
    VelString s("old");
    s.format("%d-%s-%.2f", 7, "abc", 1.5);
    EXPECT_STREQ(s.getStringA(), "7-abc-1.50");
    const std::string longText(1000, 'q');
    s.format("<%s>", longText.c_str());
    EXPECT_EQ(s.length(), 1002);
    EXPECT_EQ(s[1001], L'>');
}

TEST(VelString, ConcatenationIncludingSelf)
{
    VelString s("ab");
    const VelString t = s + VelString(L"cd");
    EXPECT_STREQ(t.getStringA(), "abcd");
    EXPECT_STREQ(s.getStringA(), "ab");
    s += s;
    EXPECT_STREQ(s.getStringA(), "abab");
    // The narrow form is rebuilt after a change.
    const char* before = s.getStringA();
    EXPECT_STREQ(before, "abab");
    s += VelString("!");
    EXPECT_STREQ(s.getStringA(), "abab!");
}

TEST(VelString, Utf8RoundTripAndInvalidBytes)
{
    // Two-, three- and four-byte sequences survive narrow -> wide -> narrow.
    const char* text = "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\xA9";
    const VelString s(text);
    EXPECT_EQ(s.length(), 5);
    EXPECT_STREQ(s.getStringA(), text);
    // A stray continuation byte, an overlong form and a truncated sequence
    // each become U+FFFD; the surrounding text is kept.
    const VelString bad("a\x80" "b\xC0\xAF" "c\xE2\x82");
    EXPECT_EQ(bad[0], L'a');
    EXPECT_EQ(bad[1], static_cast<wchar_t>(0xFFFD));
    EXPECT_EQ(bad[2], L'b');
    EXPECT_EQ(bad[3], static_cast<wchar_t>(0xFFFD));
    EXPECT_EQ(bad[bad.length() - 1], static_cast<wchar_t>(0xFFFD));
    EXPECT_NE(std::wstring(bad.getStringW()).find(L'c'), std::wstring::npos);
}
