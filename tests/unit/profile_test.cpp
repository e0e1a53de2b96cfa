#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fake/fake_files.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace {

using platform::Profile;

// The same file with other line breaks: every reading rule must hold for LF, CR LF and CR files.
std::string WithLineBreaks(const std::string& text, const std::string& line_break) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? line_break : std::string(1, c);
    }
    return out;
}

struct ReadCase {
    const char* label;
    std::string text;  // "\n" stands for each kind of line break
    std::string section;
    std::string key;
    std::string expected;
};

const std::string kQuotes =
    "[q]\nsq='single quoted'\ndq=\"double quoted\"\nlq=\"left only\nrq=right only\"\n"
    "mixq='x\"\ninner=\"a\" b \"c\"\nspq=\"  x  \"\none=\"\ntwo=\"\"\n";

const std::vector<ReadCase> kReadCases = {
    {"blanks around key and value", "[Main]\n  key1  =  value one  \n", "Main", "key1",
     "value one"},
    {"letter case of names", "[Main]\nKey1=v\n", "MAIN", "kEY1", "v"},
    {"Cyrillic letter case", "[Раздел]\nКлюч=значение\n", "РАЗДЕЛ", "ключ", "значение"},
    {"blanks around the query", "[Main]\nk=v\n", "  Main ", " k\t", "v"},
    {"first entry wins", "[s]\ndup=first\ndup=second\n", "s", "dup", "first"},
    {"only the first section", "[Main]\na=1\n[main]\nextra=2\n", "main", "extra", ""},
    {"single quotes", kQuotes, "q", "sq", "single quoted"},
    {"double quotes", kQuotes, "q", "dq", "double quoted"},
    {"left quote only", kQuotes, "q", "lq", "\"left only"},
    {"right quote only", kQuotes, "q", "rq", "right only\""},
    {"unmatched quotes", kQuotes, "q", "mixq", "'x\""},
    {"only the outer pair", kQuotes, "q", "inner", "a\" b \"c"},
    {"quotes keep blanks", kQuotes, "q", "spq", "  x  "},
    {"a lone quote stays", kQuotes, "q", "one", "\""},
    {"empty quotes", kQuotes, "q", "two", ""},
    {"empty value", "[s]\nempty=\nx=1\n", "s", "empty", ""},
    {"no equals sign", "[s]\nnokey\n", "s", "nokey", ""},
    {"line without equals hides a later entry", "[s]\ndup\ndup=1\n", "s", "dup", ""},
    {"comment line", "[s]\n; c=x\n", "s", "; c", ""},
    {"no comments after a value", "[s]\ntc=val ; trailing\n", "s", "tc", "val ; trailing"},
    {"lines before the first section", "o=1\n[s]\nk=2\n", "", "o", "1"},
    {"section \"\" ends at the first header", "o=1\n[s]\nk=2\n", "", "k", ""},
    {"text after the header", "[Two]  junk\nb=2\n", "two", "b", "2"},
    {"header name runs to the last bracket", "[a]b]\nk=1\n", "a]b", "k", "1"},
    {"blanks inside the brackets", "  [ Main ]  \nk=1\n", "main", "k", "1"},
    {"no closing bracket is no header", "[s]\n[x\nc=3\n", "s", "c", "3"},
    {"first equals sign splits", "[s]\na=b=c\n", "s", "a", "b=c"},
    {"tab, VT, FF and ^Z are blanks", "[s]\n\ta\v=\f x\x1A\n", "s", "a", "x"},
    {"no-break space is no blank", "[s]\na=\xC2\xA0x\n", "s", "a", "\xC2\xA0x"},
    {"entry without a name", "[s]\n=v\n", "s", "", ""},
    {"absent section", "[s]\nk=v\n", "t", "k", ""},
    {"value cut at the limit", "[s]\nlong=" + std::string(3000, 'x') + "\n", "s", "long",
     std::string(2047, 'x')},
    {"limit counts characters, not bytes", "[s]\nlong=" + std::string(2046, 'x') + "жж\n", "s",
     "long", std::string(2046, 'x') + "ж"},
    {"Cyrillic value cut at the limit",
     [] {
         std::string text = "[s]\nlong=";
         for (int i = 0; i < 2100; ++i) {
             text += "ж";
         }
         return text + "\n";
     }(),
     "s", "long",
     [] {
         std::string value;
         for (int i = 0; i < 2047; ++i) {
             value += "ж";
         }
         return value;
     }()},
    {"quotes go before the cut", "[s]\nq=\"" + std::string(2047, 'x') + "\"\n", "s", "q",
     std::string(2047, 'x')},
};

TEST(ProfileRead, FollowsThePlatformRules) {
    for (const std::string line_break : {"\n", "\r\n", "\r"}) {
        for (const ReadCase& c : kReadCases) {
            SCOPED_TRACE(std::string(c.label) + " / line break " +
                         (line_break == "\n"   ? "LF"
                          : line_break == "\r" ? "CR"
                                               : "CR LF"));
            const Profile profile = Profile::Parse(WithLineBreaks(c.text, line_break));
            EXPECT_EQ(profile.Read(c.section, c.key), c.expected);
        }
    }
}

struct KeysCase {
    const char* label;
    std::string text;
    std::string section;
    std::vector<std::string> expected;
};

const std::vector<KeysCase> kKeysCases = {
    {"distinct keys with values, in order of first occurrence",
     "[s]\nb=1\na=2\nB=3\nempty=\nnokey\n; c=1\nq=''\n  blank =  \nlast=x\n",
     "s",
     {"b", "a", "last"}},
    {"the first entry's value decides", "[s]\nk=\nk=1\nn\nn=1\nv=1\nv=\n", "s", {"v"}},
    {"the first spelling is listed", "[s]\nKey=1\nKEY=2\n", "S", {"Key"}},
    {"quoted blanks are a value", "[s]\nsp=\" \"\n", "s", {"sp"}},
    {"entries without a name are left out", "[s]\n=v\na=1\n", "s", {"a"}},
    {"only the first section", "[s]\na=1\n[S]\nb=1\n", "s", {"a"}},
    {"a section without values", "[s]\na=\nb\n[t]\nc=1\n", "s", {}},
    {"an absent section", "[s]\na=1\n", "t", {}},
    {"lines before the first section", "o=1\n[s]\na=1\n", "", {"o"}},
};

TEST(ProfileKeys, ListScriptSections) {
    for (const KeysCase& c : kKeysCases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Profile::Parse(c.text).Keys(c.section), c.expected);
    }
}

// The key list buffer holds 16384 characters: names of 9 characters take 10 each, so 1638 of
// them leave 4, room for one more name of 2 characters and the closing zero.
struct BudgetCase {
    const char* label;
    std::function<std::string(int)> line;  // line number i of the 1638 before the last key
    std::string last;
    std::size_t expected_count;
    bool last_listed;
};

std::string Numbered(const char* prefix, int i, const char* suffix) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*d", 9 - static_cast<int>(std::strlen(prefix)), i);
    return std::string(prefix) + digits + suffix;
}

const std::vector<BudgetCase> kBudgetCases = {
    {"last name just fits", [](int i) { return Numbered("k", i, "=1"); }, "zz", 1639, true},
    {"one character more", [](int i) { return Numbered("k", i, "=1"); }, "zzz", 1638, false},
    {"three places left fit one character",
     [](int i) { return i == 0 ? "k000000000=1" : Numbered("k", i, "=1"); }, "y", 1639, true},
    {"three places left, two characters",
     [](int i) { return i == 0 ? "k000000000=1" : Numbered("k", i, "=1"); }, "yy", 1638, false},
    {"duplicates take room", [](int) { return std::string("dup000000=1"); }, "zz", 2, true},
    {"duplicates take room, last too long", [](int) { return std::string("dup000000=1"); }, "zzz",
     1, false},
    {"empty values take room", [](int i) { return Numbered("k", i, "="); }, "zz", 1, true},
    {"empty values take room, last too long", [](int i) { return Numbered("k", i, "="); }, "zzz", 0,
     false},
    {"lines without equals sign take none",
     [](int i) { return Numbered("k", i, "=1\nnokey") + std::to_string(i); }, "zz", 1639, true},
    {"Cyrillic names count characters",
     [](int i) { return "ключ" + Numbered("k", i, "=1").substr(4); }, "яя", 1639, true},
    {"Cyrillic names count characters, last too long",
     [](int i) { return "ключ" + Numbered("k", i, "=1").substr(4); }, "яяя", 1638, false},
};

TEST(ProfileKeys, NamesBeyondTheBufferAreNotSeen) {
    for (const BudgetCase& c : kBudgetCases) {
        SCOPED_TRACE(c.label);
        std::string text = "[s]\n";
        for (int i = 0; i < 1638; ++i) {
            text += c.line(i) + "\n";
        }
        text += c.last + "=1\n";
        const std::vector<std::string> keys = Profile::Parse(text).Keys("s");
        EXPECT_EQ(keys.size(), c.expected_count);
        EXPECT_EQ(!keys.empty() && keys.back() == c.last, c.last_listed);
    }
}

// One change: a value to write, or nullopt to remove the key.
struct Change {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

struct WriteCase {
    const char* label;
    std::string before;
    std::vector<Change> changes;
    std::string after;
};

const std::vector<WriteCase> kWriteCases = {
    {"replacing keeps every other line byte for byte",
     "; c\n\n[s]\n  a = 1  \nb=2\n\n[t]\nx = y\n",
     {{"s", "a", "3"}},
     "; c\n\n[s]\na=3\r\nb=2\n\n[t]\nx = y\n"},
    {"the file's spelling of the key stays",
     "[Sec]\nKey=1\n",
     {{"SEC", "KEY", "2"}},
     "[Sec]\nKey=2\r\n"},
    {"the first of duplicate entries", "[s]\nd=1\nd=2\n", {{"s", "d", "3"}}, "[s]\nd=3\r\nd=2\n"},
    {"the first of duplicate sections",
     "[s]\na=1\n[S]\nb=2\n",
     {{"s", "b", "3"}},
     "[s]\na=1\nb=3\r\n[S]\nb=2\n"},
    {"a line without equals sign gets the value",
     "[s]\nnk\na=1\n",
     {{"s", "nk", "v"}},
     "[s]\nnk=v\r\na=1\n"},
    {"a new key follows the last entry",
     "[s]\na=1\n; about t\n\n[t]\n",
     {{"s", "n", "v"}},
     "[s]\na=1\nn=v\r\n; about t\n\n[t]\n"},
    {"a new key in a section without entries",
     "[s]\n\n[t]\nx=1\n",
     {{"s", "k", "v"}},
     "[s]\nk=v\r\n\n[t]\nx=1\n"},
    {"a new key after a last line without line break",
     "[s]\na=1",
     {{"s", "b", "2"}},
     "[s]\na=1\r\nb=2\r\n"},
    {"a new section after a last line without line break",
     "[s]\na=1",
     {{"t", "b", "2"}},
     "[s]\na=1\r\n[t]\r\nb=2\r\n"},
    {"a last line ending in CR", "[s]\ra=1\r", {{"s", "b", "2"}}, "[s]\ra=1\rb=2\r\n"},
    {"section \"\" gets keys at the top", "[s]\n", {{"", "o", "v"}}, "o=v\r\n[s]\n"},
    {"section \"\" ends at the first header", "x=1\n[s]\n", {{"", "o", "v"}}, "x=1\no=v\r\n[s]\n"},
    {"a new file: sections and keys in the order first written",
     "",
     {{"History", "Title", "Zinkolar"},
      {"History", "ProductName", "Zinkolar"},
      {"User", "Language", "English"},
      {"history", "version", "5.0"},
      {"Send", "SendPath", "C:\\Zinkolar\\OUT\\"}},
     "[History]\r\nTitle=Zinkolar\r\nProductName=Zinkolar\r\nversion=5.0\r\n[User]\r\n"
     "Language=English\r\n[Send]\r\nSendPath=C:\\Zinkolar\\OUT\\\r\n"},
    {"writing the same value changes nothing",
     "[s]\n a = 1 \n",
     {{"s", "a", " 1\t"}},
     "[s]\n a = 1 \n"},
    {"blanks around the value are dropped, quotes kept",
     "",
     {{" s ", "k", "  \"  x  \"  "}},
     "[s]\r\nk=\"  x  \"\r\n"},
    {"line breaks cannot add lines",
     "",
     {{"s\r\n", "k", "x\r\n[evil]\r\ny=1"}},
     "[s]\r\nk=x  [evil]  y=1\r\n"},
    {"a key without a name is not written", "[s]\n", {{"s", " ", "v"}}, "[s]\n"},
    {"removing takes the first entry's line",
     "[s]\nd=1\nd=2\n",
     {{"s", "d", std::nullopt}},
     "[s]\nd=2\n"},
    {"removing a line without equals sign",
     "[s]\nnk\na=1\n",
     {{"s", "nk", std::nullopt}},
     "[s]\na=1\n"},
    {"removing ignores letter case",
     "[Файлы]\nC:\\Папка\\a.lnk=1\nb=1\n",
     {{"файлы", "c:\\папка\\A.LNK", std::nullopt}},
     "[Файлы]\nb=1\n"},
    {"removing a missing key or section changes nothing",
     "[s]\na=1\n[t]\nb=1",
     {{"s", "b", std::nullopt}, {"u", "a", std::nullopt}},
     "[s]\na=1\n[t]\nb=1"},
    {"removing the last line, then writing",
     "[s]\na=1\nb=2",
     {{"s", "b", std::nullopt}, {"s", "c", "3"}},
     "[s]\na=1\nc=3\r\n"},
};

TEST(ProfileWrite, ChangesOnlyTheLinesItMust) {
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.label);
        Profile profile = Profile::Parse(c.before);
        for (const Change& change : c.changes) {
            if (change.value) {
                profile.Write(change.section, change.key, *change.value);
            } else {
                profile.Remove(change.section, change.key);
            }
        }
        EXPECT_EQ(profile.Text(), c.after);
        // What was written is what a fresh reader of the text sees.
        const Profile reread = Profile::Parse(profile.Text());
        for (const Change& change : c.changes) {
            EXPECT_EQ(reread.Read(change.section, change.key),
                      profile.Read(change.section, change.key));
        }
    }
}

// A key is written only when the reader would find it again under the same name.
TEST(ProfileWrite, RefusesKeysThatWouldNotReadBack) {
    const std::string before = "[s]\nk=1\n";
    const struct {
        const char* key;
        bool taken;
    } cases[] = {
        {"", false},
        {" ", false},
        {" k", false},
        {"k\t", false},
        {"a=b", false},
        {"=", false},
        {"[t]", false},
        {"[t", false},
        {"; k", false},
        {";k", false},
        {"a\r\nb", false},
        {"a\nb", false},
        {"C:\\a=b\\x", false},
        {"a b", true},
        {"k", true},
        {"a]", true},
        {"a;b", true},
        {"a[b", true},
        {"C:\\Папка\\f", true},
        {"\"q\"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Profile profile = Profile::Parse(before);
        EXPECT_EQ(profile.Write("s", c.key, "v"), c.taken);
        if (c.taken) {
            EXPECT_EQ(Profile::Parse(profile.Text()).Read("s", c.key), "v");
            EXPECT_NE(profile.Text(), before);
        } else {
            EXPECT_EQ(profile.Text(), before);
        }
    }
}

TEST(ProfileText, UnchangedFilesComeBackByteForByte) {
    for (const std::string text :
         {"", "\n", "a", "x=1\r\n\r\n[s]\nk = v \r; c\r\n\r\n\n", "\r\r\n\n\r", "[s]\n=\n[]\n"}) {
        EXPECT_EQ(Profile::Parse(text).Text(), text);
    }
}

class ProfileFiles : public testing::Test {
  protected:
    platform::FakeFileSystem files_;
    platform::Cp1251Codec codec_;
};

TEST_F(ProfileFiles, AnsiFilesAreConvertedBothWays) {
    files_.AddFile("C:\\z\\zinkolar.ini",
                   "[User]\r\n\xDF\xE7\xFB\xEA=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n");
    Profile profile = platform::LoadProfile(files_, codec_, "C:\\z\\zinkolar.ini");
    EXPECT_EQ(profile.Read("user", "язык"), "Русский");
    profile.Write("User", "Язык", "Ёж");
    ASSERT_TRUE(platform::SaveProfile(files_, codec_, "C:\\z\\zinkolar.ini", profile));
    EXPECT_EQ(files_.Bytes("C:\\z\\zinkolar.ini"), "[User]\r\n\xDF\xE7\xFB\xEA=\xA8\xE6\r\n");
}

TEST_F(ProfileFiles, Utf8FilesStayUtf8WithTheirMark) {
    files_.AddFile("C:\\d\\english.lng", "\xEF\xBB\xBF[SETUP]\r\ncNext=\" Далее >>\"\r\n");
    Profile profile = platform::LoadProfile(files_, codec_, "C:\\d\\english.lng");
    EXPECT_EQ(profile.Read("SETUP", "cNext"), " Далее >>");
    profile.Write("SETUP", "cBack", "Назад");
    ASSERT_TRUE(platform::SaveProfile(files_, codec_, "C:\\d\\english.lng", profile));
    EXPECT_EQ(files_.Bytes("C:\\d\\english.lng"),
              "\xEF\xBB\xBF[SETUP]\r\ncNext=\" Далее >>\"\r\ncBack=Назад\r\n");
}

TEST_F(ProfileFiles, MissingOrUnreadableFilesAreEmpty) {
    files_.AddDirectory("C:\\z");
    Profile profile = platform::LoadProfile(files_, codec_, "C:\\z\\install.ini");
    EXPECT_EQ(profile.Text(), "");
    profile.Write("main", "start", "12:00:00 01.02.2003");
    ASSERT_TRUE(platform::SaveProfile(files_, codec_, "C:\\z\\install.ini", profile));
    EXPECT_EQ(files_.Bytes("C:\\z\\install.ini"), "[main]\r\nstart=12:00:00 01.02.2003\r\n");

    files_.fail_reads = true;
    EXPECT_EQ(platform::LoadProfile(files_, codec_, "C:\\z\\install.ini").Text(), "");
}

TEST_F(ProfileFiles, SaveReportsAFailedWrite) {
    files_.fail_writes = true;
    EXPECT_FALSE(platform::SaveProfile(files_, codec_, "C:\\z\\install.ini", Profile()));
}

}  // namespace
