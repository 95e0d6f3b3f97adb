#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "TempDir.h"
#include "platform/Classes.h"

namespace {

std::vector<std::string> Items(const TStrings& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list[i]);
  return items;
}

using Lines = std::vector<std::string>;

TEST(StringListTest, SetTextSplitsOnEveryLineBreakKind) {
  struct Case {
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\r\n", {"a"}},
      {"\r\n", {""}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two breaks
      {"a\r\r\nb", {"a", "", "b"}},
  };
  TStringList list;
  for (const Case& c : cases) {
    list.SetText(c.text);
    EXPECT_EQ(Items(list), c.lines) << "text: " << c.text;
  }
}

TEST(StringListTest, TextEndsEveryLineWithCrLf) {
  TStringList list;
  list.SetText("x\ny\rz");
  EXPECT_EQ(list.Text(), "x\r\ny\r\nz\r\n");
  list.Clear();
  EXPECT_EQ(list.Text(), "");
}

TEST(StringListTest, CommaTextQuotesWhatNeedsIt) {
  TStringList list;
  for (const char* s : {"plain", "two words", "comma,inside", "say \"hi\"", "", "last"}) list.Add(s);
  EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"comma,inside\",\"say \"\"hi\"\"\",,last");
  TStringList back;
  back.SetCommaText(list.CommaText());
  EXPECT_EQ(Items(back), Items(list));

  TStringList single;
  single.Add("");
  EXPECT_EQ(single.CommaText(), "\"\"");
  back.SetCommaText(single.CommaText());
  EXPECT_EQ(Items(back), Lines{""});
}

TEST(StringListTest, SetCommaTextTreatsBlanksAsSeparators) {
  TStringList list;
  list.SetCommaText("  a b,c , \"d e\"x,");
  EXPECT_EQ(Items(list), (Lines{"a", "b", "c", "d e", "x", ""}));
}

TEST(StringListTest, StrictDelimitedTextKeepsBlanks) {
  TStringList list;
  list.SetDelimiter(';');
  list.SetStrictDelimiter(true);
  list.SetDelimitedText(" a b;'c';\"d;e\"");
  EXPECT_EQ(Items(list), (Lines{" a b", "'c'", "d;e"}));
  EXPECT_EQ(list.DelimitedText(), " a b;'c';\"d;e\"");
}

TEST(StringListTest, SortedListFindsAndIgnoresDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "apple", "banana"}) list.Add(s);
  EXPECT_EQ(Items(list), (Lines{"Apple", "banana", "fig", "pear"}));  // "apple" ignored (no case)
  int index = -1;
  EXPECT_TRUE(list.Find("FIG", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 2);  // where it would go
  EXPECT_EQ(list.Add("Pear"), 3);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.IndexOf("BANANA"), 1);
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);
  EXPECT_THROW(list.Move(0, 1), EStringListError);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_THROW(list.SetStrings(0, "x"), EListError);
}

TEST(StringListTest, DuplicatesAcceptAndError) {
  TStringList accept;
  accept.SetDuplicates(dupAccept);
  accept.SetSorted(true);
  accept.Add("b");
  accept.Add("a");
  accept.Add("b");
  EXPECT_EQ(Items(accept), (Lines{"a", "b", "b"}));

  TStringList strict;
  strict.SetSorted(true);
  strict.SetDuplicates(dupError);
  strict.Add("x");
  try {
    strict.Add("X");
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
}

TEST(StringListTest, CaseSensitiveSortingAndSearching) {
  TStringList list;
  list.SetCaseSensitive(true);
  list.Add("b");
  list.Add("B");
  list.Add("a");
  EXPECT_EQ(list.IndexOf("A"), -1);
  list.Sort();
  EXPECT_EQ(Items(list), (Lines{"B", "a", "b"}));
  list.SetSorted(true);
  list.SetCaseSensitive(false);  // a sorted list re-sorts under the new rule
  EXPECT_EQ(list.IndexOf("A"), 0);
}

TEST(StringListTest, NamesAndValues) {
  TStringList list;
  list.SetText("Title=Annual report\nauthor=Jane\nnoequals\nempty=");
  EXPECT_EQ(list.Values("title"), "Annual report");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.Names(1), "author");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.ValueFromIndex(0), "Annual report");
  EXPECT_EQ(list.IndexOfName("EMPTY"), 3);
  list.SetValues("Author", "John");
  EXPECT_EQ(list[1], "Author=John");
  list.SetValues("pages", "12");
  EXPECT_EQ(list[4], "pages=12");
  list.SetValues("title", "");
  EXPECT_EQ(list.IndexOfName("title"), -1);
  EXPECT_EQ(list.Count(), 4);
}

TEST(StringListTest, IndexErrorsNameTheIndex) {
  TStringList list;
  list.Add("only");
  try {
    list.Delete(3);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }
  EXPECT_THROW(list.Get(-1), EListError);
  EXPECT_THROW(list.Insert(2, "x"), EListError);
  EXPECT_NO_THROW(list.Insert(1, "end"));
}

class TCounted : public TObject {
public:
  explicit TCounted(int& alive) : FAlive(alive) { ++FAlive; }
  ~TCounted() override { --FAlive; }

private:
  int& FAlive;
};

TEST(StringListTest, ObjectsAreOwnedOnlyWhenAsked) {
  int alive = 0;
  auto kept = std::make_unique<TCounted>(alive);
  {
    TStringList borrowing;
    borrowing.AddObject("k", kept.get());
    borrowing.Clear();
  }
  EXPECT_EQ(alive, 1);
  {
    TStringList owning(true);
    owning.AddObject("a", new TCounted(alive));
    owning.AddObject("b", new TCounted(alive));
    owning.AddObject("c", new TCounted(alive));
    EXPECT_EQ(alive, 4);
    owning.Delete(0);
    EXPECT_EQ(alive, 3);
    owning.Move(1, 0);  // moving keeps the object
    EXPECT_EQ(alive, 3);
    EXPECT_EQ(owning.IndexOfObject(owning.Objects(0)), 0);
  }
  EXPECT_EQ(alive, 1);
}

TEST(StringListTest, ExchangeMoveAndCustomSort) {
  TStringList list;
  list.SetCommaText("one,two,three,four");
  list.Exchange(0, 3);
  EXPECT_EQ(list.CommaText(), "four,two,three,one");
  list.Move(0, 2);
  EXPECT_EQ(list.CommaText(), "two,three,four,one");
  list.Move(3, 0);
  EXPECT_EQ(list.CommaText(), "one,two,three,four");
  list.Move(0, 3);
  EXPECT_EQ(list.CommaText(), "two,three,four,one");
  EXPECT_THROW(list.Move(0, 4), EListError);
  list.CustomSort([](TStringList* l, int a, int b) {
    return static_cast<int>(l->Strings(a).size()) - static_cast<int>(l->Strings(b).size());
  });
  EXPECT_EQ(list.CommaText(), "two,one,four,three");  // stable for equal lengths
}

TEST(StringListTest, OnChangeFiresOncePerUpdateBlock) {
  TStringList list;
  int changes = 0;
  int changing = 0;
  list.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changes;
  };
  list.OnChanging = [&](TObject*) { ++changing; };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(changing, 1);
  list.BeginUpdate();
  list.Add("b");
  list.Add("c");
  list.Delete(0);
  EXPECT_EQ(changes, 1);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
  list.SetText("x\ny");
  EXPECT_EQ(changes, 3);
}

TEST(StringListTest, AssignCopiesStringsObjectsAndRules) {
  TStringList source;
  source.SetSorted(true);
  source.SetDuplicates(dupAccept);
  TObject tag;
  source.AddObject("b", &tag);
  source.Add("a");
  source.Add("a");
  TStringList copy;
  copy.Assign(&source);
  EXPECT_EQ(Items(copy), (Lines{"a", "a", "b"}));
  EXPECT_TRUE(copy.Sorted());
  EXPECT_EQ(copy.Objects(2), &tag);
  TComponent notAList;
  EXPECT_THROW(copy.Assign(&notAList), EConvertError);
}

TEST(StringListTest, FilesHoldCrLfLinesAndUtf8BomIsConverted) {
  TTempDir dir;
  const std::string name = dir.File("lines.txt");
  TStringList list;
  list.Add("caf\xE9");  // Windows-1252 é
  list.Add("\x80 5");
  list.SaveToFile(name);
  std::ifstream in(name, std::ios::binary);
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(bytes, "caf\xE9\r\n\x80 5\r\n");

  TStringList back;
  back.LoadFromFile(name);
  EXPECT_EQ(Items(back), Items(list));

  {
    std::ofstream out(name, std::ios::binary);
    out << "\xEF\xBB\xBF"
        << "caf\xC3\xA9\n\xE2\x82\xAC 5";
  }
  back.LoadFromFile(name);
  EXPECT_EQ(Items(back), Items(list));
  EXPECT_THROW(back.LoadFromFile(dir.File("missing.txt")), EFOpenError);
}

TEST(StringListTest, StreamRoundTrip) {
  TStringList list;
  list.SetCommaText("a,b,c");
  TMemoryStream stream;
  list.SaveToStream(&stream);
  EXPECT_EQ(stream.Size(), 9);
  stream.SetPosition(0);
  TStringList back;
  back.LoadFromStream(&stream);
  EXPECT_TRUE(back.Equals(&list));
}

}  // namespace
