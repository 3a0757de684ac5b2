// String lists: sorted insert, duplicates, case sensitivity, Text and
// CommaText round trips, name=value pairs, update events, files and streams.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/files.h"
#include "classlib/core/streams.h"
#include "classlib/core/strings.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(TStrings* list) {
    Lines lines;
    for (int i = 0; i < list->Count(); ++i) lines.push_back(list->Strings(i));
    return lines;
}

TOwned<TStringList> ListOf(const Lines& lines) {
    TOwned<TStringList> list = MakeOwned<TStringList>();
    for (const std::string& line : lines) list->Add(line);
    return list;
}

std::string MessageOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const EStringListError& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

TEST(StringList, SortedInsertKeepsOrder) {
    TOwned<TStringList> list = MakeOwned<TStringList>();
    list->SetSorted(true);
    EXPECT_EQ(list->Add("pear"), 0);
    EXPECT_EQ(list->Add("Apple"), 0);
    EXPECT_EQ(list->Add("fig"), 1);
    EXPECT_EQ(list->Add("zucchini"), 3);
    EXPECT_EQ(LinesOf(list.get()), (Lines{"Apple", "fig", "pear", "zucchini"}));
    int index = -1;
    EXPECT_TRUE(list->Find("PEAR", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list->Find("grape", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list->IndexOf("FIG"), 1);
    EXPECT_EQ(list->IndexOf("kiwi"), -1);
}

TEST(StringList, SortingAnUnsortedListSortsIt) {
    TOwned<TStringList> list = ListOf({"c", "A", "b"});
    list->AddObject("a0", list.get());
    list->SetSorted(true);
    EXPECT_EQ(LinesOf(list.get()), (Lines{"A", "a0", "b", "c"}));
    EXPECT_EQ(list->Objects(1), list.get());
}

TEST(StringList, SortedListRefusesPositionalChanges) {
    TOwned<TStringList> list = ListOf({"b", "a", "c"});
    list->SetSorted(true);
    const char* const refused = "Operation not allowed on sorted list";
    EXPECT_EQ(MessageOf([&] { list->Insert(0, "z"); }), refused);
    EXPECT_EQ(MessageOf([&] { list->SetStrings(0, "z"); }), refused);
    // Moving is refused before the line leaves its place, so nothing is lost.
    EXPECT_EQ(MessageOf([&] { list->Move(0, 2); }), refused);
    EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "b", "c"}));
}

TEST(StringList, DuplicatesModes) {
    const struct {
        TDuplicates Mode;
        int Count;
        bool Raises;
    } cases[] = {{dupIgnore, 2, false}, {dupAccept, 3, false}, {dupError, 2, true}};
    for (const auto& c : cases) {
        TOwned<TStringList> list = MakeOwned<TStringList>();
        list->SetSorted(true);
        list->SetDuplicates(c.Mode);
        list->Add("one");
        list->Add("two");
        if (c.Raises) {
            EXPECT_EQ(MessageOf([&] { list->Add("TWO"); }), "String list does not allow duplicates");
        } else {
            EXPECT_EQ(list->Add("TWO"), 1);
        }
        EXPECT_EQ(list->Count(), c.Count) << c.Mode;
    }
}

TEST(StringList, CaseSensitiveDuplicatesAreDistinct) {
    TOwned<TStringList> list = MakeOwned<TStringList>();
    list->SetSorted(true);
    list->SetCaseSensitive(true);
    list->Add("Disk");
    list->Add("disk");
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Strings(list->IndexOf("Disk")), "Disk");
    EXPECT_EQ(list->Strings(list->IndexOf("disk")), "disk");
    EXPECT_EQ(list->IndexOf("DISK"), -1);
}

TEST(StringList, ChangingCaseSensitivityResorts) {
    TOwned<TStringList> list = ListOf({"b", "B", "a", "A", "c"});
    list->SetSorted(true);
    list->SetCaseSensitive(true);
    for (int i = 1; i < list->Count(); ++i)
        EXPECT_LE(AnsiCompareStr(list->Strings(i - 1), list->Strings(i)), 0) << list->Strings(i);
    for (const char* line : {"a", "A", "b", "B", "c"}) EXPECT_EQ(list->Strings(list->IndexOf(line)), line);
}

TEST(StringList, IndexErrorsNameTheIndex) {
    TOwned<TStringList> list = ListOf({"a"});
    EXPECT_EQ(MessageOf([&] { list->Strings(5); }), "List index out of bounds (5)");
    EXPECT_EQ(MessageOf([&] { list->Delete(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(MessageOf([&] { list->Objects(1); }), "List index out of bounds (1)");
    EXPECT_EQ(MessageOf([&] { list->Insert(3, "x"); }), "List index out of bounds (3)");
    EXPECT_EQ(MessageOf([&] { list->Exchange(0, 1); }), "List index out of bounds (1)");
    list->Insert(1, "b");  // at the end is allowed
    EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "b"}));
}

TEST(StringList, ObjectsTravelWithTheirLines) {
    TOwned<TStringList> list = MakeOwned<TStringList>();
    TObject* first = list.get();
    TOwned<TStringList> other = MakeOwned<TStringList>();
    list->AddObject("one", first);
    list->AddObject("two", other.get());
    list->Add("three");
    list->Exchange(0, 1);
    EXPECT_EQ(list->Objects(0), other.get());
    list->Move(0, 2);
    EXPECT_EQ(LinesOf(list.get()), (Lines{"one", "three", "two"}));
    EXPECT_EQ(list->IndexOfObject(other.get()), 2);
    EXPECT_EQ(list->IndexOfObject(first), 0);
    list->InsertObject(1, "between", first);
    EXPECT_EQ(list->Objects(1), first);
}

TEST(StringList, TextEndsEveryLineWithCrLf) {
    EXPECT_EQ(ListOf({})->Text(), "");
    EXPECT_EQ(ListOf({"a", "b"})->Text(), "a\r\nb\r\n");
    EXPECT_EQ(ListOf({""})->Text(), "\r\n");
}

TEST(StringList, SetTextSplitsAtAnyLineEnd) {
    const struct {
        const char* Text;
        Lines Expected;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {" x \t", {" x \t"}},
    };
    for (const auto& c : cases) {
        TOwned<TStringList> list = MakeOwned<TStringList>();
        list->SetText(c.Text);
        EXPECT_EQ(LinesOf(list.get()), c.Expected) << c.Text;
    }
}

TEST(StringList, CommaTextQuotesWhatWouldSplitAndRoundTrips) {
    const struct {
        Lines Items;
        const char* Text;
    } cases[] = {
        {{}, ""},
        {{"a", "b", "c"}, "a,b,c"},
        {{"a b", "c"}, "\"a b\",c"},
        {{"x,y"}, "\"x,y\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"", "a"}, "\"\",a"},
        {{""}, "\"\""},
        {{"a", ""}, "a,\"\""},
        {{"tab\there", "nl\r\n"}, "\"tab\there\",\"nl\r\n\""},
        {{"it's"}, "it's"},
        {{" lead", "trail "}, "\" lead\",\"trail \""},
    };
    for (const auto& c : cases) {
        TOwned<TStringList> list = ListOf(c.Items);
        EXPECT_EQ(list->CommaText(), c.Text);
        TOwned<TStringList> back = MakeOwned<TStringList>();
        back->SetCommaText(list->CommaText());
        EXPECT_EQ(LinesOf(back.get()), c.Items) << c.Text;
    }
}

TEST(StringList, SetCommaTextSplitsAtBlanksAndCommasOutsideQuotes) {
    const struct {
        const char* Text;
        Lines Expected;
    } cases[] = {
        {"a b,c", {"a", "b", "c"}},
        {"  a , b  ", {"a", "b"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {",a", {"", "a"}},
        {"\"a\"\"b\" c", {"a\"b", "c"}},
        {"\"a, b\",c", {"a, b", "c"}},
        {"\"open", {"open"}},
        {"x\"y\"", {"x\"y\""}},
        {"   ", {}},
    };
    for (const auto& c : cases) {
        TOwned<TStringList> list = MakeOwned<TStringList>();
        list->SetCommaText(c.Text);
        EXPECT_EQ(LinesOf(list.get()), c.Expected) << c.Text;
        EXPECT_EQ(SplitDelimitedText(c.Text), c.Expected) << c.Text;
    }
}

TEST(StringList, DelimitedTextHonoursItsSettings) {
    TOwned<TStringList> list = MakeOwned<TStringList>();
    list->SetDelimiter(';');
    list->SetQuoteChar('\'');
    list->SetStrictDelimiter(true);
    list->SetDelimitedText("a b;'c;d'; e");
    EXPECT_EQ(LinesOf(list.get()), (Lines{"a b", "c;d", " e"}));
    EXPECT_EQ(list->DelimitedText(), "a b;'c;d'; e");
    list->SetStrictDelimiter(false);
    EXPECT_EQ(list->DelimitedText(), "'a b';'c;d';' e'");
    // CommaText keeps its own delimiter and quote.
    EXPECT_EQ(list->CommaText(), "\"a b\",c;d,\" e\"");
}

TEST(StringList, NamesAndValues) {
    TOwned<TStringList> list = ListOf({"Port=25", "novalue", "Host=mail=x", "empty="});
    EXPECT_EQ(list->Names(0), "Port");
    EXPECT_EQ(list->Names(1), "");
    EXPECT_EQ(list->Values("port"), "25");
    EXPECT_EQ(list->Values("Host"), "mail=x");
    EXPECT_EQ(list->Values("missing"), "");
    EXPECT_EQ(list->ValueFromIndex(2), "mail=x");
    EXPECT_EQ(list->IndexOfName("EMPTY"), 3);
    list->SetValues("PORT", "587");
    EXPECT_EQ(list->Strings(0), "PORT=587");
    list->SetValues("User", "me");
    EXPECT_EQ(list->Strings(4), "User=me");
    list->SetValues("Host", "");
    EXPECT_EQ(LinesOf(list.get()), (Lines{"PORT=587", "novalue", "empty=", "User=me"}));
    list->SetValues("absent", "");
    EXPECT_EQ(list->Count(), 4);
    list->SetValueFromIndex(1, "v");
    EXPECT_EQ(list->Strings(1), "=v");
    list->SetNameValueSeparator(':');
    list->Add("Key:Val");
    EXPECT_EQ(list->Values("key"), "Val");
}

int changing = 0;
int changed = 0;
void CountChanging(TObject*) {
    ++changing;
}
void CountChanged(TObject*) {
    ++changed;
}

TEST(StringList, UpdateFiresChangeEventsOnceAtTheEnd) {
    TOwned<TStringList> list = MakeOwned<TStringList>();
    list->OnChanging = CountChanging;
    list->OnChange = CountChanged;
    changing = changed = 0;
    list->Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    changing = changed = 0;
    list->BeginUpdate();
    list->BeginUpdate();
    list->Add("b");
    list->Delete(0);
    list->EndUpdate();
    EXPECT_EQ(changed, 0);
    list->EndUpdate();
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    changing = changed = 0;
    list->SetText("x\r\ny\r\nz");
    list->SetCommaText("p,q");
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
}

TEST(StringList, AssignAddStringsAndEquals) {
    TOwned<TStringList> source = ListOf({"a", "b"});
    source->SetDelimiter(';');
    TOwned<TStringList> copy = ListOf({"old"});
    copy->Assign(source.get());
    EXPECT_EQ(LinesOf(copy.get()), (Lines{"a", "b"}));
    EXPECT_EQ(copy->Delimiter(), ';');
    EXPECT_TRUE(copy->Equals(source.get()));
    copy->AddStrings(source.get());
    EXPECT_EQ(LinesOf(copy.get()), (Lines{"a", "b", "a", "b"}));
    EXPECT_FALSE(copy->Equals(source.get()));
    copy->Assign(copy.get());
    EXPECT_EQ(copy->Count(), 4);
}

int ByLength(TStringList* list, int index1, int index2) {
    return static_cast<int>(list->Strings(index1).size()) - static_cast<int>(list->Strings(index2).size());
}

TEST(StringList, CustomSortUsesTheComparer) {
    TOwned<TStringList> list = ListOf({"ccc", "a", "bb"});
    list->CustomSort(ByLength);
    EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "bb", "ccc"}));
    list->Sort();
    EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "bb", "ccc"}));
}

TEST(StringList, FileAndStreamRoundTrip) {
    std::string name = GetTempDir() + "vx_strings_" + IntToStr(GetCurrentProcessId()) + ".txt";
    TOwned<TStringList> list = ListOf({"first", "", "last"});
    list->SaveToFile(name);
    TOwned<TStringList> back = MakeOwned<TStringList>();
    back->LoadFromFile(name);
    EXPECT_EQ(LinesOf(back.get()), (Lines{"first", "", "last"}));
    DeleteFile(name);
    EXPECT_THROW(back->LoadFromFile(name), EFOpenError);

    TOwned<TStringStream> stream = MakeOwned<TStringStream>("skip|one\ntwo");
    stream->SetPosition(5);
    back->LoadFromStream(stream.get());
    EXPECT_EQ(LinesOf(back.get()), (Lines{"one", "two"}));
    TOwned<TStringStream> out = MakeOwned<TStringStream>();
    back->SaveToStream(out.get());
    EXPECT_EQ(out->DataString(), "one\r\ntwo\r\n");
}

}  // namespace
