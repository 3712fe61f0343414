#include <gtest/gtest.h>

#include "string_list_ex.h"

namespace {

TStringListEx List(std::initializer_list<const char*> lines) {
  TStringListEx l;
  for (const char* s : lines) l.Add(QString::fromUtf8(s));
  return l;
}

QStringList Items(const TStringListEx& l) {
  QStringList out;
  for (int i = 0; i < l.Count(); ++i) out << l.Get(i);
  return out;
}

}  // namespace

TEST(CommaText, WritesItemsWithTheQuotingRules) {
  struct Case {
    TStringListEx list;
    const char* text;
  } cases[] = {
      {List({}), ""},
      {List({""}), "\"\""},
      {List({"$(EMPTY);"}), "\"\""},
      {List({"a", "b", "$(EMPTY);"}), "a,b,"},
      {List({"a", "", "b"}), "a,,b"},
      {List({"two words", "x,y", "say \"hi\"", "tab\there"}), "\"two words\",\"x,y\",\"say \"\"hi\"\"\",\"tab\there\""},
      {List({"ListView,a"}), "\"ListView,a\""},
      {List({"ünï", "日本"}), "ünï,日本"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.list.CommaText(), QString::fromUtf8(c.text)) << c.text;
}

TEST(CommaText, ReadsItemsWithTheSplittingRules) {
  struct Case {
    const char* text;
    QStringList items;
    int count;  // lines, markers included
  } cases[] = {
      {"", {}, 0},
      {"\"\"", {""}, 1},
      {"a,b,", {"a", "b", ""}, 3},
      {"a,,b", {"a", "", "b"}, 3},
      {",a", {"", "a"}, 2},
      {"two words", {"two", "words"}, 2},
      {"  a ,  b", {"a", "b"}, 2},
      {"\"x,y\",\"say \"\"hi\"\"\"", {"x,y", "say \"hi\""}, 2},
      {"\"unterminated", {"unterminated"}, 1},
      {"\"ab\"cd,e", {"ab", "cd", "e"}, 3},
  };
  for (const auto& c : cases) {
    TStringListEx l;
    l.SetCommaText(QString::fromUtf8(c.text));
    EXPECT_EQ(Items(l), c.items) << c.text;
    EXPECT_EQ(l.Count(), c.count) << c.text;
  }
}

TEST(CommaText, EndsAtANul) {
  TStringListEx l;
  l.SetCommaText(QString::fromLatin1("a,b\0,c", 6));
  EXPECT_EQ(Items(l), (QStringList{"a", "b"}));
}

TEST(CommaText, RoundTripsEveryItemShape) {
  const QStringList shapes{"", "plain", "with space", "comma,inside", "\"quoted\"", "mixed \"a\",b c", "trail "};
  for (const QString& a : shapes)
    for (const QString& b : shapes) {
      TStringListEx l{QStringList{a, b, QStringLiteral("end")}};
      TStringListEx back;
      back.SetCommaText(l.CommaText());
      EXPECT_EQ(Items(back), (QStringList{a, b, QStringLiteral("end")})) << l.CommaText().toStdString();
    }
  // A trailing empty item survives through the marker.
  TStringListEx l;
  l.SetCommaText(QStringLiteral("a,b,"));
  EXPECT_EQ(l.Raw(2), TStringListEx::EmptyMarker);
  EXPECT_EQ(l.CommaText(), QStringLiteral("a,b,"));
}

TEST(NameValue, FindsAndStoresLinesByName) {
  TStringListEx l = List({"Left", "Left=5", "Top=7", "Name=a=b"});
  EXPECT_EQ(l.IndexOfName(QStringLiteral("LEFT")), 1);
  EXPECT_EQ(l.IndexOfName(QStringLiteral("Lef")), -1);
  EXPECT_EQ(l.Values(QStringLiteral("left")), QStringLiteral("5"));
  EXPECT_EQ(l.Values(QStringLiteral("Name")), QStringLiteral("a=b"));
  EXPECT_EQ(l.Values(QStringLiteral("Missing")), QString());
  EXPECT_EQ(l.Names(0), QString());
  EXPECT_EQ(l.Names(3), QStringLiteral("Name"));

  l.SetValue(QStringLiteral("TOP"), QStringLiteral("9"));
  EXPECT_EQ(l.Raw(2), QStringLiteral("TOP=9"));
  l.SetValue(QStringLiteral("Empty"), QString());
  EXPECT_EQ(l.Raw(4), QStringLiteral("Empty=$(EMPTY);"));
  EXPECT_EQ(l.Values(QStringLiteral("EMPTY")), QString());
  EXPECT_EQ(l.Count(), 5);
  // The marker is gone on every read path.
  EXPECT_EQ(l.Get(4), QStringLiteral("Empty="));
  EXPECT_EQ(l.Text(), QStringLiteral("Left\r\nLeft=5\r\nTOP=9\r\nName=a=b\r\nEmpty=\r\n"));
}

TEST(Text, SplitsAtEveryLineEnd) {
  struct Case {
    const char* text;
    QStringList lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\n\nb\r\n\r\n", {"a", "", "b", ""}},
  };
  for (const auto& c : cases) {
    TStringListEx l;
    l.SetText(QString::fromUtf8(c.text));
    EXPECT_EQ(l.Lines(), c.lines) << c.text;
  }
}

TEST(Words, OnlyTheExactWordsCount) {
  EXPECT_TRUE(IsTrueWord(QStringLiteral("TRUE")));
  EXPECT_TRUE(IsTrueWord(QStringLiteral("true")));
  for (const char* no : {"1", "on", "yes", " true", "", "True "}) EXPECT_FALSE(IsTrueWord(QLatin1String(no))) << no;
  EXPECT_TRUE(IsYesWord(QStringLiteral("YES")));
  EXPECT_FALSE(IsYesWord(QStringLiteral("Yes ")));
  EXPECT_EQ(TrueFalseWord(true), QStringLiteral("True"));
  EXPECT_EQ(YesNoWord(false), QStringLiteral("No"));
}

TEST(Numbers, ReadDecimalAndHexadecimal) {
  struct Case {
    const char* text;
    bool ok;
    qint32 value;
  } cases[] = {
      {"0", true, 0},          {"-12", true, -12},          {"$8000000F", true, qint32(0x8000000F)},
      {"$00ffffff", true, 0xFFFFFF}, {"0x10", true, 16},     {"2147483647", true, 2147483647},
      {"2147483648", false, 0}, {"-2147483648", true, qint32(0x80000000)}, {"", false, 0},
      {"12a", false, 0},       {"$", false, 0},             {"$123456789", false, 0},
  };
  for (const auto& c : cases) {
    qint32 v = 0;
    EXPECT_EQ(TryStrToInt(QLatin1String(c.text), v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
}
