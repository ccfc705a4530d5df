// String lists: text forms, name=value entries, sorting and duplicates.
#include <gtest/gtest.h>

#include "platform/core/StringList.h"
#include "support/TestSupport.h"

namespace zb {
namespace {

TEST(StringList, TextSplitsAtEveryLineBreakAndJoinsWithCrLf) {
    struct Case {
        std::string in;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"\r\n", {""}},
        {"中文\r\n第二行", {"中文", "第二行"}},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.SetText(c.in);
        EXPECT_EQ(l.ToVector(), c.lines) << c.in;
    }
    TStringList l;
    l.SetText("x\ny");
    EXPECT_EQ(l.Text(), "x\r\ny\r\n");
}

TEST(StringList, CommaTextQuotesWhatNeedsItAndReadsItBack) {
    struct Case {
        std::string text;
        std::vector<std::string> items;
        std::string written;
    };
    const Case cases[] = {
        {"a,b,c", {"a", "b", "c"}, "a,b,c"},
        {"\"a b\",c", {"a b", "c"}, "\"a b\",c"},
        {"a b", {"a", "b"}, "a,b"},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}, "\"say \"\"hi\"\"\",x"},
        {"a,", {"a", ""}, "a,"},
        {"\"\"", {""}, "\"\""},
        {"  a , b ", {"a", "b"}, "a,b"},
        {"\"unclosed", {"unclosed"}, "unclosed"},
        {"数据,日期", {"数据", "日期"}, "数据,日期"},
        {"\"x,y\"", {"x,y"}, "\"x,y\""},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.SetCommaText(c.text);
        EXPECT_EQ(l.ToVector(), c.items) << c.text;
        EXPECT_EQ(l.CommaText(), c.written) << c.text;
    }
    TStringList semi;
    semi.SetDelimiter(';');
    semi.SetDelimitedText("a;b c;d");
    EXPECT_EQ(semi.ToVector(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(semi.CommaText(), "a,b,c,d");
}

TEST(StringList, NamesAndValues) {
    TStringList l;
    l.SetText("Server=127.0.0.1\r\nPort=211\r\nnovalue\r\nEmpty=");
    EXPECT_EQ(l.Names(0), "Server");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.Values("port"), "211");
    EXPECT_EQ(l.Values("Missing"), "");
    EXPECT_EQ(l.ValueFromIndex(3), "");
    EXPECT_EQ(l.IndexOfName("EMPTY"), 3);
    l.SetValues("Port", "8080");
    EXPECT_EQ(l.Strings(1), "Port=8080");
    l.SetValues("New", "x");
    EXPECT_EQ(l.Strings(4), "New=x");
    l.SetValues("Server", "");
    EXPECT_EQ(l.IndexOfName("Server"), -1);
    EXPECT_EQ(l.Count(), 4);
}

TEST(StringList, SortedListsFindInsertAndHandleDuplicates) {
    TStringList l;
    l.SetCommaText("pear,Apple,fig");
    l.SetSorted(true);
    EXPECT_EQ(l.CommaText(), "Apple,fig,pear");
    EXPECT_EQ(l.Add("banana"), 1);
    EXPECT_EQ(l.IndexOf("PEAR"), 3);
    EXPECT_EQ(l.Add("APPLE"), 0);  // ignored: already there without regard to case
    EXPECT_EQ(l.Count(), 4);
    EXPECT_THROW(l.Insert(0, "x"), EStringListError);
    l.SetDuplicates(TDuplicates::dupError);
    EXPECT_THROW(l.Add("fig"), EStringListError);
    l.SetDuplicates(TDuplicates::dupAccept);
    l.Add("fig");
    EXPECT_EQ(l.CommaText(), "Apple,banana,fig,fig,pear");
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("apple"), -1);
}

TEST(StringList, ObjectsTravelWithTheirTexts) {
    TStringList l, other;
    TObject* marker = &other;
    l.AddObject("b", nullptr);
    l.AddObject("a", marker);
    l.SetSorted(true);
    EXPECT_EQ(l.Objects(0), marker);
    EXPECT_EQ(l.IndexOfObject(marker), 0);
    l.Delete(0);
    EXPECT_EQ(l.IndexOfObject(marker), -1);
    EXPECT_THROW(l.Strings(5), EStringListError);
    EXPECT_THROW(l.Objects(-1), EStringListError);
}

TEST(StringList, ChangeEventsAreHeldBackDuringUpdates) {
    TStringList l;
    int changes = 0;
    l.OnChange = [&](TObject*) { ++changes; };
    l.Add("a");
    EXPECT_EQ(changes, 1);
    l.BeginUpdate();
    l.Add("b");
    l.Add("c");
    EXPECT_EQ(changes, 1);
    l.EndUpdate();
    EXPECT_EQ(changes, 2);
    l.SetText("x\r\ny\r\nz");
    EXPECT_EQ(changes, 3);
}

TEST(StringList, AssignAddStringsAndFiles) {
    TStringList a, b;
    a.SetCommaText("1,2");
    a.AddStrings(a);
    EXPECT_EQ(a.CommaText(), "1,2,1,2");
    b.Assign(&a);
    EXPECT_TRUE(b.Equals(a));
    b.Move(0, 3);
    EXPECT_EQ(b.CommaText(), "2,1,2,1");
    b.Exchange(0, 1);
    EXPECT_EQ(b.CommaText(), "1,2,2,1");
    test::TempDir dir;
    auto file = dir.Path() / "list.txt";
    b.SaveToFile(file);
    TStringList c;
    c.LoadFromFile(file);
    EXPECT_TRUE(c.Equals(b));
    EXPECT_THROW(c.LoadFromFile(dir.Path() / "missing.txt"), EStringListError);
}

TEST(StringList, OwnedObjectsAreFreedAsTheyLeave) {
    struct TCounted : TObject {
        int* count;
        explicit TCounted(int* c) : count(c) {}
        ~TCounted() override { ++*count; }
    };
    int freed = 0;
    {
        TStringList l;
        l.SetOwnsObjects(true);
        l.AddObject("a", new TCounted(&freed));
        l.AddObject("b", new TCounted(&freed));
        l.AddObject("c", new TCounted(&freed));
        l.Delete(0);
        EXPECT_EQ(freed, 1);
        l.SetObjects(0, new TCounted(&freed));
        EXPECT_EQ(freed, 2);
    }
    EXPECT_EQ(freed, 4);
}

}  // namespace
}  // namespace zb
