#include "mail/header_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/strings.h"

namespace {

struct TCase {
    const char* Name;
    std::string Input;
    std::string Expected;
};

TEST(HeaderLines, TrimmingAndPadding) {
    EXPECT_EQ(TrimSpace(" \t a b  "), "a b");
    EXPECT_EQ(TrimSpace("a\t"), "a\t");  // only blanks go at the end
    EXPECT_EQ(TrimLeftSpace("\t a "), "a ");
    EXPECT_EQ(PadLeft("A", 2, "0"), "0A");
    EXPECT_EQ(PadLeft(" F", 2, "0"), "0F");
    EXPECT_EQ(PadLeft("ABC", 2, "0"), "BC");
    EXPECT_EQ(PadLeft("", 3, "ab"), "abab");
}

TEST(HeaderLines, ValueRunsFromColonToSemicolonOutsideQuotes) {
    const TCase cases[] = {
        {"plain", "Subject: hello", "hello"},
        {"parameters cut off", "Content-Type: text/plain; charset=x", "text/plain"},
        {"quoted semicolon and quotes removed", "X: \"a;b\" ; c", "a;b"},
        {"single quote kept", "X: \"abc", "\"abc"},
        {"no colon", "no header here", ""},
        {"empty value", "X:", ""},
    };
    for (const TCase& c : cases) EXPECT_EQ(GetHeaderLineValue(c.Input), c.Expected) << c.Name;
    EXPECT_EQ(GetHeaderLineText("To: \"A\" <a@x>; b@y "), "\"A\" <a@x>; b@y");
}

TEST(HeaderLines, SetValueKeepsTheParameters) {
    EXPECT_EQ(SetHeaderLineValue("Subject: ", "x"), "Subject: x");
    EXPECT_EQ(SetHeaderLineValue("Content-Disposition: ; filename=a", "attachment"),
              "Content-Disposition: attachment; filename=a");
    EXPECT_EQ(SetHeaderLineValue("Subject: old", "  new  "), "Subject: new");
    EXPECT_EQ(SetHeaderLineValue("X: \"a;b\"; p=1", "v"), "X: v; p=1");
    EXPECT_EQ(SetHeaderLineValue("no colon", "v"), "no colon");
}

TEST(HeaderLines, ParameterLookup) {
    const std::string line = "Content-Type: multipart/mixed; BOUNDARY = \"b;1\" ;name=x; empty=";
    EXPECT_EQ(GetHeaderParamValue(line, "boundary"), "b;1");
    EXPECT_EQ(GetHeaderParamValue(line, " Name "), "x");
    EXPECT_EQ(GetHeaderParamValue(line, "empty"), "");
    EXPECT_EQ(GetHeaderParamValue(line, "missing"), "");
    EXPECT_EQ(GetHeaderParamValue("Content-Type: text/plain", "text/plain"), "");
}

TEST(HeaderLines, SetParameterReplacesOrAppends) {
    const TCase cases[] = {
        {"replaced", "Content-Type: text/plain; charset=\"a\"; x=1",
         "Content-Type: text/plain; charset=\"b\"; x=1"},
        {"appended", "Content-Type: text/plain", "Content-Type: text/plain; charset=\"b\""},
        {"one trailing semicolon dropped", "Content-Type: text/plain;",
         "Content-Type: text/plain; charset=\"b\""},
        {"empty value", "Content-Type: ", "Content-Type:; charset=\"b\""},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(SetHeaderParamValue(c.Input, "charset", "\"b\""), c.Expected) << c.Name;
}

TEST(HeaderLines, FindLabelLineCountsMatchesWithoutCase) {
    TOwned<TStringList> lines = MakeOwned<TStringList>();
    lines->SetText("From: a\r\nto: b\r\nTo: c\r\nTox: d\r\n");
    EXPECT_EQ(FindLabelLine(lines.get(), "To:", 0), 1);
    EXPECT_EQ(FindLabelLine(lines.get(), "To:", 1), 2);
    EXPECT_EQ(FindLabelLine(lines.get(), "To:", 2), -1);
    EXPECT_EQ(FindLabelLine(lines.get(), "Cc:", 0), -1);
}

TEST(HeaderLines, ReadLineKeepsTheLineEnd) {
    const std::string text = "ab\r\na\rb\nc\r\nend";
    std::string line;
    int pos = 0;
    ReadLine(text, line, pos);
    EXPECT_EQ(line, "ab\r\n");
    EXPECT_EQ(pos, 4);
    ReadLine(text, line, pos);
    EXPECT_EQ(line, "a\rb\nc\r\n");
    ReadLine(text, line, pos);
    EXPECT_EQ(line, "end");
    EXPECT_EQ(pos, -1);
    ReadLine(text, line, pos);
    EXPECT_EQ(line, "");
    EXPECT_EQ(pos, -1);
    pos = 0;
    ReadLine("x\r\n", line, pos);
    EXPECT_EQ(pos, -1);
}

TEST(HeaderFolding, ShortLinesStayWhole) {
    const std::string line72 = "Subject: " + std::string(30, 'a') + " " + std::string(32, 'b');
    ASSERT_EQ(line72.size(), 72u);
    EXPECT_EQ(FoldHeaderLines(line72), line72 + "\r\n");
    EXPECT_EQ(FoldHeaderLines("A: b\nC: d\r"), "A: b\r\nC: d\r\n");
    EXPECT_EQ(FoldHeaderLines("A: b\r\n\r\n\r\n"), "A: b\r\n");
    EXPECT_EQ(FoldHeaderLines(""), "");
}

TEST(HeaderFolding, LongLinesBreakAtTheLastBreakCharacterBeforeColumn73) {
    const std::string a60(60, 'a');
    const TCase cases[] = {
        {"space dropped", "Subject: " + a60 + " bbb", "Subject: " + a60 + "\r\n\tbbb\r\n"},
        {"comma kept", "To: " + std::string(66, 'a') + ",bb",
         "To: " + std::string(66, 'a') + ",\r\n\tbb\r\n"},
        {"semicolon kept", "To: " + std::string(66, 'a') + ";bb",
         "To: " + std::string(66, 'a') + ";\r\n\tbb\r\n"},
        {"last one below column 73", "Subject: a b " + std::string(58, 'c') + " " + std::string(9, 'd'),
         "Subject: a b " + std::string(58, 'c') + "\r\n\t" + std::string(9, 'd') + "\r\n"},
        {"none inside quotes", "Subject: \"" + a60 + " " + std::string(20, 'b') + "\"",
         "Subject: \"" + a60 + " " + std::string(20, 'b') + "\"\r\n"},
        {"none inside apostrophes", "Subject: '" + a60 + " " + std::string(20, 'b') + "'",
         "Subject: '" + a60 + " " + std::string(20, 'b') + "'\r\n"},
        {"none before the value", "Subject: " + std::string(80, 'a'),
         "Subject: " + std::string(80, 'a') + "\r\n"},
        {"value from column 2 without a label", "aaaaa " + std::string(80, 'b'),
         "aaaaa\r\n\t" + std::string(80, 'b') + "\r\n"},
        {"continuation lines keep 35 columns", "\t" + std::string(10, 'a') + " " + std::string(70, 'b'),
         "\t" + std::string(10, 'a') + " " + std::string(70, 'b') + "\r\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(FoldHeaderLines(c.Input), c.Expected) << c.Name;
}

TEST(HeaderFolding, RestIsFoldedAgain) {
    std::string line = "To: ";
    for (int i = 0; i < 6; ++i)
        line += (i ? ", " : "") + std::string("\"Person ") + char('A' + i) + "\" <person" + char('a' + i) +
                "@example.org>";
    const std::string folded = FoldHeaderLines(line);
    std::string unfolded = folded;
    for (size_t at; (at = unfolded.find("\r\n\t")) != std::string::npos;) unfolded.replace(at, 3, " ");
    EXPECT_EQ(unfolded, line + "\r\n");
    size_t start = 0;
    int lines = 0;
    for (size_t end; (end = folded.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines)
        EXPECT_LT(end - start, 74u) << folded;
    EXPECT_GT(lines, 2);
}

TEST(HeaderFolding, NeverMakesAnEmptyContinuationLine) {
    const TCase cases[] = {
        {"blanks at the end", "Subject: " + std::string(62, 'a') + "     ",
         "Subject: " + std::string(62, 'a') + "     \r\n"},
        {"comma and blank at the end", "To: " + std::string(67, 'a') + ", ",
         "To: " + std::string(67, 'a') + ", \r\n"},
        {"an earlier break instead", "To: " + std::string(60, 'a') + " " + std::string(6, 'b') + ", ",
         "To: " + std::string(60, 'a') + "\r\n\t" + std::string(6, 'b') + ", \r\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(FoldHeaderLines(c.Input), c.Expected) << c.Name;
}

}  // namespace
