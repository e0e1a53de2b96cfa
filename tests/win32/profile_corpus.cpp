#include "profile_corpus.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace profile_corpus {
namespace {

std::string Repeat(std::string_view piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += piece;
    }
    return out;
}

std::string WithLineBreaks(const std::string& text, std::string_view line_break) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? std::string(line_break) : std::string(1, c);
    }
    return out;
}

// prefix followed by i in decimal, zero-padded to width digits.
std::string Numbered(std::string_view prefix, int i, int width) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*d", width, i);
    return std::string(prefix) + digits;
}

// The file of the platform's observed behaviour, with every reading rule in it.
const std::string kRulesFile =
    "orphan=before any section\n"
    "[Main]\n"
    "  key1  =  value one  \n"
    "dup=first\n"
    "dup=second\n"
    "sq='single quoted'\n"
    "dq=\"double quoted\"\n"
    "lq=\"left only\n"
    "rq=right only\"\n"
    "mixq='x\"\n"
    "inner=\"a\" b \"c\"\n"
    "spq=\"  x  \"\n"
    "empty=\n"
    "nokey\n"
    "; comment=x\n"
    "tc=val ; trailing comment\n"
    "KeyCase=Mixed\n"
    "\n"
    "[main]\n"
    "extra=second section\n"
    "[Other]\n"
    "k=v\n";

const std::vector<std::string> kRulesSections = {"",       "Main",  "MAIN",   "main",
                                                 " Main ", "Other", "Missing"};
const std::vector<std::string> kRulesKeys = {
    "orphan", "key1", "KEY1",  " key1 ", "dup", "sq",      "dq",    "lq", "rq",     "mixq",
    "inner",  "spq",  "empty", "nokey",  "tc",  "keycase", "extra", "k",  "missing"};

// A section of 1638 names of 9 characters (prefix and digits; 10 places each in the key-list
// buffer) and a last name that fits the remaining 4 places, the closing zero included, or not.
std::string FullKeyList(const std::string& prefix, int digits, const std::string& last) {
    std::string text = "[s]\n";
    for (int i = 0; i < 1638; ++i) {
        text += Numbered(prefix, i, digits) + "=1\n";
    }
    return text + last + "=1\n";
}

std::vector<Case> ReadingCases() {
    std::vector<Case> cases;
    for (const auto& [name, line_break] :
         {std::pair{"LF", "\n"}, std::pair{"CR LF", "\r\n"}, std::pair{"CR", "\r"}}) {
        cases.push_back({.label = std::string("reading rules, ") + name,
                         .text = WithLineBreaks(kRulesFile, line_break),
                         .sections = kRulesSections,
                         .keys = kRulesKeys});
    }
    cases.push_back(
        {.label = "header forms",
         .text = "[Two]  junk\nb=2\n[a]b]\nk=1\n  [ Spaced ]  \ns=1\n[x\nc=3\n[]\ne=4\n",
         .sections = {"", "Two", "a]b", "a", "Spaced", "[ Spaced ]", "x"},
         .keys = {"b", "k", "s", "c", "e", "[x"}});
    cases.push_back({.label = "blanks",
                     .text = "[s]\n\ta\v=\f x\x1A\nb=\x1A\n c = \" y \" \n\x1A",
                     .sections = {"s"},
                     .keys = {"a", "b", "c"}});
    cases.push_back({.label = "lines before the first section",
                     .text = "o=1\n p = 2 \n[]\nq=3\n[s]\nk=1\n",
                     .sections = {"", " ", "s", "Missing"},
                     .keys = {"o", "p", "q", "k"}});
    std::string long_values = "[s]\n";
    for (int length : {2046, 2047, 2048, 3000, 5000}) {
        long_values += "v" + std::to_string(length) + "=" + Repeat("x", length) + "\n";
    }
    long_values += "q2045=\"" + Repeat("y", 2045) + "\"\nq2046=\"" + Repeat("y", 2046) +
                   "\"\nq3000='" + Repeat("y", 3000) + "'\nafter=still read\n";
    cases.push_back({.label = "long values",
                     .text = long_values,
                     .sections = {"s"},
                     .keys = {"v2046", "v2047", "v2048", "v3000", "v5000", "q2045", "q2046",
                              "q3000", "after"}});
    cases.push_back({.label = "key list: the last name just fits",
                     .text = FullKeyList("k", 8, "zz"),
                     .sections = {"s"},
                     .keys = {"zz"}});
    cases.push_back({.label = "key list: the last name is one character too long",
                     .text = FullKeyList("k", 8, "zzz"),
                     .sections = {"s"},
                     .keys = {"zzz", "zz"}});
    for (const char* last : {"y", "yy"}) {
        // The first name one character longer leaves 3 places for the last name.
        std::string text = FullKeyList("k", 8, last);
        text.replace(text.find("k00000000="), 9, "k000000000");
        cases.push_back({.label = std::string("key list: 3 places left for ") + last,
                         .text = text,
                         .sections = {"s"},
                         .keys = {last}});
    }
    std::string many = "[s]\n";
    for (int i = 0; i < 2500; ++i) {
        many += Numbered("key", i, 5) + "=v\n";
        if (i % 7 == 0) {
            many += "dup=" + std::to_string(i) + "\n";
        }
        if (i % 11 == 0) {
            many += Numbered("e", i, 5) + "=\n";
        }
        if (i % 13 == 0) {
            many += Numbered("nk", i, 4) + "\n";
        }
    }
    cases.push_back({.label = "key list: duplicates, empty values and lines without equals sign",
                     .text = many,
                     .sections = {"s"},
                     .keys = {"key00000", "dup", "e00011", "key01999"}});
    return cases;
}

std::vector<Case> WritingCases() {
    std::vector<Case> cases;
    cases.push_back({.label = "replacing in place",
                     .text = "; c\n\n[s]\n  a = 1  \nb=2\n\n[t]\nx = y\n",
                     .sections = {"s", "t"},
                     .keys = {"a", "b", "x"},
                     .changes = {{"s", "a", "3"}, {"S", "B", "4"}, {"t", "x", "z"}}});
    cases.push_back({.label = "duplicate keys and sections",
                     .text = "[s]\nd=1\nd=2\n[S]\nd=3\ne=4\nf=5\n",
                     .sections = {"s"},
                     .keys = {"d", "e", "f"},
                     .changes = {{"s", "d", "9"},
                                 {"s", "e", "5"},
                                 {"s", "d", std::nullopt},
                                 {"s", "f", std::nullopt}}});
    cases.push_back({.label = "new keys and sections",
                     .text = "[s]\na=1\n; about t\n\n[t]\n",
                     .sections = {"", "s", "t", "u"},
                     .keys = {"a", "n", "k", "k2", "o"},
                     .changes = {{"s", "n", "v"},
                                 {"t", "k", "1"},
                                 {"u", "k", "2"},
                                 {"U", "k2", "3"},
                                 {"", "o", "top"}}});
    cases.push_back({.label = "no line break at the end",
                     .text = "[s]\na=1",
                     .sections = {"s", "t"},
                     .keys = {"a", "b", "c"},
                     .changes = {{"s", "b", "2"}, {"t", "c", "3"}}});
    cases.push_back({.label = "lone CR line breaks",
                     .text = "[s]\ra=1\r[t]\rb=2",
                     .sections = {"s", "t"},
                     .keys = {"a", "b", "c"},
                     .changes = {{"s", "c", "3"}, {"t", "b", "4"}}});
    cases.push_back({.label = "a missing file",
                     .missing_file = true,
                     .sections = {"History", "User", "Send", "Report"},
                     .keys = {"Title", "ProductName", "Version", "Language", "SendPath", "Records"},
                     .changes = {{"History", "Title", "Zinkolar"},
                                 {"History", "ProductName", "Zinkolar"},
                                 {"History", "Version", "5.0"},
                                 {"User", "Language", "English"},
                                 {"Send", "SendPath", "C:\\Program Files\\Zinkolar\\OUT\\"},
                                 {"Report", "Records", "1000"}}});
    cases.push_back(
        {.label = "an installation log written again",
         .text = "[main]\r\nstart=10:00:00 01.02.2003\r\nversion=Zinkolar Server "
                 "5.0\r\n[file]\r\nC:\\Z\\a.lnk=1\r\nC:\\Z\\b.dll=0\r\n",
         .sections = {"main", "file", "cregkey"},
         .keys = {"start", "version", "C:\\Z\\a.lnk", "C:\\Z\\b.dll", "C:\\Z\\c.txt", "x"},
         .changes = {{"main", "start", "11:00:00 02.02.2003"},
                     {"main", "version", "Zinkolar "},
                     {"file", "c:\\z\\B.DLL", "1"},
                     {"file", "C:\\Z\\c.txt", "1"},
                     {"file", "C:\\Z\\a.lnk", std::nullopt},
                     {"cregkey", "x", std::nullopt}}});
    cases.push_back({.label = "values as written",
                     .sections = {"s"},
                     .keys = {"a", "b", "c", "d", "e", "f"},
                     .changes = {{"s", "a", "  spaced  "},
                                 {"s", "b", "\"  quoted  \""},
                                 {"s", "c", "'x'"},
                                 {"s", "d", ""},
                                 {"s", "e", "val ; c"},
                                 {"s", "f", Repeat("z", 3000)}}});
    cases.push_back({.label = "the same value again",
                     .text = "[s]\n a = 1 \n",
                     .sections = {"s"},
                     .keys = {"a"},
                     .changes = {{"s", "a", "1"}}});
    cases.push_back(
        {.label = "a line without equals sign",
         .text = "[s]\nnk\nx=1\nother\n",
         .sections = {"s"},
         .keys = {"nk", "x", "other"},
         .changes = {{"s", "nk", "v"}, {"s", "x", std::nullopt}, {"s", "other", std::nullopt}}});
    cases.push_back({.label = "removing a key of a later section of the same name",
                     .text = "[s]\na=1\n[S]\nb=2\n",
                     .sections = {"s"},
                     .keys = {"a", "b"},
                     .changes = {{"s", "b", std::nullopt}}});
    return cases;
}

// The engine's deliberate differences, each shown on the smallest file.
std::vector<Case> KnownDifferenceCases() {
    std::vector<Case> cases;
    cases.push_back(
        {.label = "a comment line is no key",
         .text = "[s]\n;c=1\nk=2\n",
         .sections = {"s"},
         .keys = {";c", "k"},
         .known_difference = "comment lines are not keys (the platform finds \";c\" as a key)"});
    for (const char* text : {"[s]\n=v\na=1\n", "[s]\na=1\n=v\nb=2\n"}) {
        cases.push_back({.label = "an entry without a name",
                         .text = text,
                         .sections = {"s"},
                         .keys = {"a", "b"},
                         .known_difference =
                             "entries without a name are left out (the platform lists an empty "
                             "name, which ends the key list for a reader)"});
    }
    cases.push_back({.label = "a quoted value of 2047 characters",
                     .text = "[s]\nq=\"" + Repeat("x", 2047) + "\"\n",
                     .sections = {"s"},
                     .keys = {"q"},
                     .known_difference = "a quoted value of exactly 2047 characters keeps them "
                                         "all (the platform drops the last)"});
    cases.push_back({.label = "line breaks in a written value",
                     .sections = {"s", "evil"},
                     .keys = {"a", "y"},
                     .changes = {{"s", "a", "x\r\n[evil]\r\ny=1"}},
                     .known_difference = "line breaks in written names and values become blanks "
                                         "(the platform writes them and adds lines)"});
    return cases;
}

std::vector<Case> CyrillicCases() {
    const std::string kLetterCase =
        "Cyrillic letter case (Wine folds only ASCII letters in profile names; the engine ignores "
        "the case of Cyrillic letters as well)";
    std::vector<Case> cases;
    cases.push_back({.label = "Cyrillic names",
                     .text = "[Раздел]\nКлюч=Значение\nЁж=1\n[Другой]\nx=1\n",
                     .sections = {"Раздел", "Другой"},
                     .keys = {"Ключ", "Ёж", "x"}});
    cases.push_back({.label = "Cyrillic names in another letter case",
                     .text = "[Раздел]\nКлюч=Значение\nключ=второй\nЁж=1\n[РАЗДЕЛ]\nx=1\n",
                     .sections = {"Раздел", "раздел", "РАЗДЕЛ"},
                     .keys = {"Ключ", "КЛЮЧ", "ёж", "ЁЖ", "x"},
                     .known_difference = kLetterCase});
    cases.push_back({.label = "Cyrillic key list: the last name just fits",
                     .text = FullKeyList("ключ", 5, "яя"),
                     .sections = {"s"},
                     .keys = {"яя"}});
    cases.push_back({.label = "Cyrillic key list: the last name is one character too long",
                     .text = FullKeyList("ключ", 5, "яяя"),
                     .sections = {"s"},
                     .keys = {"яяя"}});
    cases.push_back({.label = "Cyrillic writes",
                     .text = "[Файлы]\nC:\\Папка\\a.lnk=1\n",
                     .sections = {"Файлы"},
                     .keys = {"C:\\Папка\\a.lnk", "C:\\Папка\\b.dll"},
                     .changes = {{"Файлы", "C:\\Папка\\a.lnk", "0"},
                                 {"Файлы", "C:\\Папка\\b.dll", "Ёлка"},
                                 {"Файлы", "C:\\Папка\\a.lnk", std::nullopt}}});
    cases.push_back({.label = "Cyrillic writes in another letter case",
                     .text = "[Файлы]\nC:\\Папка\\a.lnk=1\n",
                     .sections = {"Файлы"},
                     .keys = {"C:\\Папка\\a.lnk", "C:\\Папка\\b.dll"},
                     .changes = {{"файлы", "c:\\папка\\A.LNK", "0"},
                                 {"ФАЙЛЫ", "C:\\Папка\\b.dll", "Ёлка"},
                                 {"Файлы", "C:\\ПАПКА\\A.lnk", std::nullopt}},
                     .known_difference = kLetterCase});
    return cases;
}

// Letters outside ASCII in a UTF-8 file: the platform converts them to the ANSI code page (or
// "?"), and so does the comparison of the engine's results.
Case Utf8Case() {
    return {.label = "a UTF-8 file with its byte-order mark",
            .text = "[s]\r\nk=Привет\r\nascii=v\r\n",
            .utf8_bom = true,
            .sections = {"s"},
            .keys = {"k", "ascii", "n"},
            .changes = {{"s", "n", "новое"}, {"s", "ascii", "w"}}};
}

// A small generator with the same sequence on every platform.
class Random {
  public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    std::size_t Below(std::size_t count) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % count;
    }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[Below(items.size())];
    }

  private:
    std::uint32_t state_;
};

const std::vector<std::string> kSections = {"Main",  "main", "MAIN", " Main ",
                                            "Other", "x y",  "a]b"};
const std::vector<std::string> kKeys = {"key1", "KEY1", "Key1", "dup", "a", "b", "x y", "q"};
const std::vector<std::string> kBlanks = {"", "", " ", "\t", "  "};
const std::vector<std::string> kValues = {
    "v",    "value one",      "",           "'sq'",    "\"dq\"", "\"left", "right\"",
    "'x\"", "\"a\" b \"c\"",  "\"  sp  \"", "val ; c", "a=b",    "été",    "\"\"",
    "\"",   Repeat("x", 3000)};
const std::vector<std::string> kLineBreaks = {"\r\n", "\n", "\r"};

std::string RandomLine(Random& random) {
    const std::string& key = random.Pick(kKeys);
    switch (random.Below(10)) {
        case 0:
            return random.Pick(kBlanks) + "[" + random.Pick(kSections) + "]" +
                   (random.Below(3) == 0 ? " junk" : random.Pick(kBlanks));
        case 1:
            return random.Pick(kBlanks) + key;  // no equals sign
        case 2:
            return random.Below(2) == 0 ? "; " + key + "=c" : ";";
        case 3:
            return random.Pick(kBlanks);
        default:
            return random.Pick(kBlanks) + key + random.Pick(kBlanks) + "=" + random.Pick(kBlanks) +
                   random.Pick(kValues) + random.Pick(kBlanks);
    }
}

std::string RandomFile(Random& random) {
    std::string text;
    const std::size_t lines = random.Below(25);
    for (std::size_t i = 0; i < lines; ++i) {
        text += RandomLine(random);
        if (i + 1 < lines || random.Below(4) != 0) {
            text += random.Pick(kLineBreaks);
        }
    }
    return text;
}

std::vector<std::string> QueriedSections() {
    std::vector<std::string> sections = kSections;
    sections.push_back("");
    sections.push_back("Missing");
    return sections;
}

std::vector<std::string> QueriedKeys() {
    std::vector<std::string> keys = kKeys;
    keys.push_back("missing");
    return keys;
}

}  // namespace

std::vector<Case> HandWrittenCases(bool cyrillic) {
    std::vector<Case> cases = ReadingCases();
    for (std::vector<Case> more : {WritingCases(), KnownDifferenceCases(),
                                   cyrillic ? CyrillicCases() : std::vector<Case>{}}) {
        cases.insert(cases.end(), more.begin(), more.end());
    }
    cases.push_back(Utf8Case());
    return cases;
}

std::vector<Case> GeneratedReadCases(int count) {
    Random random(20240611);
    std::vector<Case> cases;
    for (int i = 0; i < count; ++i) {
        cases.push_back({.label = "generated file " + std::to_string(i),
                         .text = RandomFile(random),
                         .sections = QueriedSections(),
                         .keys = QueriedKeys()});
    }
    return cases;
}

std::vector<Case> GeneratedWriteCases(int count) {
    const std::vector<std::string> values = {"w1",  "new value",      "", "'q'", "\"dq\"",
                                             "été", Repeat("w", 2100)};
    std::vector<std::string> sections = kSections;
    sections.erase(sections.begin() +
                   3);  // " Main ": the platform keeps trailing blanks of new names
    sections.push_back("");
    Random random(7);
    std::vector<Case> cases;
    for (int i = 0; i < count; ++i) {
        Case c{.label = "generated changes " + std::to_string(i),
               .text = RandomFile(random),
               .sections = QueriedSections(),
               .keys = QueriedKeys()};
        const std::size_t changes = 1 + random.Below(5);
        for (std::size_t k = 0; k < changes; ++k) {
            const std::string& section = random.Pick(sections);
            const std::string& key = random.Pick(kKeys);
            if (random.Below(4) == 0) {
                c.changes.push_back({section, key, std::nullopt});
            } else {
                c.changes.push_back({section, key, random.Pick(values)});
            }
        }
        cases.push_back(std::move(c));
    }
    return cases;
}

}  // namespace profile_corpus
