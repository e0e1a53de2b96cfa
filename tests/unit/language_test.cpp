#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>

#include "language/language.h"
#include "platform/fake/fake_files.h"
#include "short_name_matches.h"

namespace {

using language::Language;
namespace keys = language::keys;

const std::string kSource = "D:\\dist";

struct Distribution {
    platform::FakeFileSystem files;
    platform::Cp1251Codec codec;
    Distribution() { files.AddDirectory(kSource); }
    // Language files are stored in the ANSI code page, as translators save them.
    void AddLanguage(const std::string& name, const std::string& utf8_text) {
        files.AddFile(kSource + "\\" + name, codec.Utf8ToAnsi(utf8_text));
    }
};

// Builds the list and selects the initial entry, as the wizard does at start.
void Start(Language& language, std::string_view configured) {
    language.BuildList(configured);
    language.Select(language.InitialIndex(configured));
}

// --- The language list and the initial choice -------------------------------------------------

struct ListCase {
    const char* name;
    std::string configured;
    std::vector<std::string> files;
    std::vector<std::string> list;
    int built_in;
    int initial;
    friend void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }
};

class LanguageList : public testing::TestWithParam<ListCase> {};

TEST_P(LanguageList, IsBuiltAndTheInitialEntryChosen) {
    Distribution dist;
    for (const std::string& file : GetParam().files) {
        dist.AddLanguage(file, "[COMMON]\ncYes=x\n");
    }
    Language language(dist.files, dist.codec, kSource);
    language.BuildList(GetParam().configured);
    EXPECT_EQ(language.List(), GetParam().list);
    EXPECT_EQ(language.BuiltInIndex(), GetParam().built_in);
    EXPECT_EQ(language.InitialIndex(GetParam().configured), GetParam().initial);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LanguageList,
    testing::Values(
        ListCase{"RussianInAnyCase", "RUSSIAN", {}, {"Russian"}, 0, 0},
        ListCase{"NoRussianUnlessConfigured",
                 "English",
                 {"english.lng", "german.lng"},
                 {"English", "German"},
                 -1,
                 0},
        ListCase{"SortedWithRussian", "Russian", {"english.lng"}, {"English", "Russian"}, 1, 1},
        ListCase{"SortedIgnoringCase",
                 "Russian",
                 {"zulu.lng", "Alpha.lng", "beta.lng"},
                 {"Alpha", "Beta", "Russian", "Zulu"},
                 2,
                 2},
        ListCase{"ConfiguredNameIgnoresCase",
                 "GERMAN",
                 {"English.lng", "german.lng"},
                 {"English", "German"},
                 -1,
                 1},
        ListCase{"UnknownConfiguredNameTakesFirst",
                 "French",
                 {"german.lng", "english.lng"},
                 {"English", "German"},
                 -1,
                 0},
        ListCase{"OnlyTheFinalExtensionIsRemoved",
                 "Russian",
                 {"my.lang.lng", "UPPER.LNG"},
                 {"My.lang", "Russian", "UPPER"},
                 1,
                 1},
        ListCase{"BareExtensionIgnored", "English", {".lng", "english.lng"}, {"English"}, -1, 0},
        ListCase{
            "RussianFileDoesNotDuplicateBuiltIn", "Russian", {"russian.lng"}, {"Russian"}, 0, 0},
        ListCase{"EmptyListWithoutFiles", "English", {}, {}, -1, -1}),
    [](const auto& info) { return info.param.name; });

TEST(LanguageListFiles, SkipsLongerExtensionsAndFolders) {
    Distribution dist;
    dist.AddLanguage("notes.lngx", "");
    dist.AddLanguage("german.lng", "");
    dist.files.AddDirectory(kSource + "\\old.lng");
    const ShortNameMatches files(dist.files);
    Language language(files, dist.codec, kSource);
    language.BuildList("Russian");
    EXPECT_EQ(language.List(), (std::vector<std::string>{"German", "Russian"}));
}

// --- Text lookup -------------------------------------------------------------------------------

struct LookupCase {
    const char* name;
    std::string key;
    int section;
    std::string expected;
    friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }
};

// Keys before the first section header belong to a section with an empty name, which an
// unnamed section number must not reach.
constexpr const char* kEnglish =
    "cOrphan=above every section\n"
    "[COMMON]\ncYes=Yes\ncEmpty=\n"
    "[SETUP]\ncNext=\" Next >>\"\ncBack=\"<< Back \"\n"
    "[ZINKOLAR]\ncError=Error\n"
    "[server]\ncServer=Сервер-х\n"
    "[UNINSTALL]\ncBye=Bye\n";

class LanguageLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(LanguageLookup, ReadsTheLanguageFileOrShowsTheKey) {
    Distribution dist;
    dist.AddLanguage("english.lng", kEnglish);
    Language language(dist.files, dist.codec, kSource);
    Start(language, "English");
    EXPECT_EQ(language.LookupText("default", GetParam().key, GetParam().section),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LanguageLookup,
    testing::Values(LookupCase{"Common", "cYes", 0, "Yes"},
                    LookupCase{"KeyIgnoresCase", "CYES", 0, "Yes"},
                    LookupCase{"QuotesKeepLeadingBlank", "cNext", 6, " Next >>"},
                    LookupCase{"QuotesKeepTrailingBlank", "cBack", 6, "<< Back "},
                    LookupCase{"Zinkolar", "cError", 1, "Error"},
                    LookupCase{"AnsiTextBecomesUtf8", "cServer", 8, "Сервер-х"},
                    LookupCase{"SectionNameIgnoresCase", "cBye", 7, "Bye"},
                    LookupCase{"WrongSection", "cYes", 6, "?cYes"},
                    LookupCase{"MissingKey", "cMissing", 0, "?cMissing"},
                    LookupCase{"EmptyValue", "cEmpty", 0, "?cEmpty"},
                    LookupCase{"UnnamedSection4", "cOrphan", 4, "?cOrphan"},
                    LookupCase{"UnnamedSection5", "cYes", 5, "?cYes"},
                    LookupCase{"SectionOutOfRange", "cYes", 9, "?cYes"},
                    LookupCase{"NegativeSection", "cYes", -1, "?cYes"}),
    [](const auto& info) { return info.param.name; });

TEST(LanguageLookupState, BuiltInLanguageUsesDefaultsEvenForUnknownKeys) {
    Distribution dist;
    dist.AddLanguage("english.lng", kEnglish);
    Language language(dist.files, dist.codec, kSource);
    EXPECT_EQ(language.Lookup(keys::cNext), " Далее >>") << "before the list is built";
    Start(language, "russian");
    EXPECT_EQ(language.Lookup(keys::cNext), " Далее >>");
    EXPECT_EQ(language.LookupText("as is", "cNoSuchKey", 4), "as is");
    EXPECT_EQ(language.LookupText("", "cWarning1", 0), "");
}

TEST(LanguageLookupState, MissingLanguageFileShowsEveryKey) {
    Distribution dist;
    dist.AddLanguage("english.lng", kEnglish);
    Language language(dist.files, dist.codec, kSource);
    language.BuildList("English");
    dist.files.Remove(kSource + "\\english.lng");
    language.Select(0);
    EXPECT_NE(language.File(), nullptr);
    EXPECT_EQ(language.Lookup(keys::cYes), "?cYes");
}

TEST(LanguageLookupState, NameWithTwoDotsOpensItsOwnFile) {
    Distribution dist;
    dist.AddLanguage("my.lang.lng", "[COMMON]\ncYes=Mine\n");
    Language language(dist.files, dist.codec, kSource);
    Start(language, "English");
    EXPECT_EQ(language.CurrentName(), "My.lang");
    EXPECT_EQ(language.Lookup(keys::cYes), "Mine");
}

TEST(LanguageLookupState, EmptyListUsesBuiltInTexts) {
    Distribution dist;
    Language language(dist.files, dist.codec, kSource);
    Start(language, "English");
    EXPECT_EQ(language.CurrentIndex(), -1);
    EXPECT_EQ(language.File(), nullptr);
    EXPECT_EQ(language.Lookup(keys::cBack), "<< Назад ");
    EXPECT_EQ(language.CurrentName(), "Russian");
}

// --- Changing the language ---------------------------------------------------------------------

TEST(LanguageSelect, FileIsOpenExactlyWhileAnotherLanguageIsCurrent) {
    Distribution dist;
    dist.AddLanguage("english.lng", "[COMMON]\ncYes=Yes\n");
    dist.AddLanguage("German.lng", "[COMMON]\ncYes=Ja\n");
    Language language(dist.files, dist.codec, kSource);
    Start(language, "Russian");
    ASSERT_EQ(language.List(), (std::vector<std::string>{"English", "German", "Russian"}));
    EXPECT_EQ(language.File(), nullptr);

    const std::pair<int, const char*> steps[] = {{0, "Yes"}, {1, "Ja"}, {2, "Да"},  {2, "Да"},
                                                 {1, "Ja"},  {1, "Ja"}, {0, "Yes"}, {2, "Да"}};
    for (const auto& [index, yes] : steps) {
        language.Select(index);
        SCOPED_TRACE(index);
        EXPECT_EQ(language.CurrentIndex(), index);
        EXPECT_EQ(language.File() != nullptr, index != language.BuiltInIndex());
        EXPECT_EQ(language.Lookup(keys::cYes), yes);
        EXPECT_EQ(language.CurrentName(), language.List()[index]);
    }
}

TEST(LanguageSelect, RejectsIndicesOutsideTheList) {
    Distribution dist;
    dist.AddLanguage("english.lng", "");
    Language language(dist.files, dist.codec, kSource);
    Start(language, "Russian");
    for (int index : {-1, 2, -2}) {
        EXPECT_THROW(language.Select(index), std::out_of_range) << index;
    }
    language.BuildList("English");
    EXPECT_EQ(language.File(), nullptr) << "a new list starts with the built-in texts";
    Language empty(dist.files, dist.codec, "D:\\nowhere");
    EXPECT_THROW(empty.Select(0), std::out_of_range);
}

// --- The built-in texts and the shipped English file -------------------------------------------

TEST(LanguageBuiltInTexts, TrickyDefaultsAreExact) {
    EXPECT_EQ(keys::cBack.russian, "<< \xD0\x9D\xD0\xB0\xD0\xB7\xD0\xB0\xD0\xB4 ");
    EXPECT_EQ(keys::cNext.russian, " \xD0\x94\xD0\xB0\xD0\xBB\xD0\xB5\xD0\xB5 >>");
    // Latin "H" and "p" where the Cyrillic look-alikes would be expected.
    EXPECT_EQ(keys::mesErReg.russian,
              "H\xD0\xB5\xD0\xB4\xD0\xBE\xD1\x81\xD1\x82\xD0\xB0\xD1\x82\xD0\xBE\xD1\x87\xD0\xBD"
              "\xD0\xBE \xD0\xBFp\xD0\xB0\xD0\xB2 \xD0\xB4\xD0\xBB\xD1\x8F \xD0\xB7\xD0\xB0\xD0\xBF"
              "\xD0\xB8\xD1\x81\xD0\xB8 \xD0\xB2 \xD1\x81\xD0\xB8\xD1\x81\xD1\x82\xD0\xB5\xD0\xBC"
              "\xD0\xBD\xD1\x8B\xD0\xB9 p\xD0\xB5\xD0\xB5\xD1\x81\xD1\x82p Windows");
    EXPECT_EQ(keys::cTypeInstall.russian,
              "При установке на рабочее место пользователя выберите вариант \"Клиент\". При "
              "установке на компьютер, оборудованный факс-модемом выберите вариант \"Сервер\"");
    EXPECT_EQ(keys::cReady.section, language::TextSection::Setup);
    EXPECT_EQ(keys::cReadyCommon.section, language::TextSection::Common);
    EXPECT_EQ(keys::cReadyCommon.key, "cReady");
}

TEST(LanguageBuiltInTexts, EveryKeyIsListedOnceWithANamedSection) {
    std::set<std::pair<std::string, std::string>> seen;
    for (const language::TextKey& key : keys::kAll) {
        const std::string_view section = language::SectionName(static_cast<int>(key.section));
        EXPECT_FALSE(section.empty()) << key.key;
        EXPECT_TRUE(seen.emplace(platform::ToLower(key.key), section).second) << key.key;
    }
    EXPECT_EQ(seen.size(), 119U);
}

std::size_t Placeholders(std::string_view text) {
    std::size_t count = 0;
    for (auto pos = text.find("%s"); pos != std::string_view::npos;
         pos = text.find("%s", pos + 2)) {
        ++count;
    }
    return count;
}

TEST(LanguageEnglishFile, TranslatesEveryKeyWithItsPlaceholders) {
    const auto path =
        std::filesystem::path(__FILE__).parent_path() / "../../product/distribution/English.lng";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80;
    })) << "plain ASCII";

    Distribution dist;
    dist.files.AddFile(kSource + "\\English.lng", bytes);
    Language language(dist.files, dist.codec, kSource);
    Start(language, "English");
    ASSERT_EQ(language.CurrentName(), "English");
    for (const language::TextKey& key : keys::kAll) {
        const std::string text = language.Lookup(key);
        EXPECT_NE(text, "?" + std::string(key.key));
        EXPECT_EQ(Placeholders(text), Placeholders(key.russian)) << key.key;
        EXPECT_EQ(std::count(text.begin(), text.end(), '%'),
                  std::count(key.russian.begin(), key.russian.end(), '%'))
            << key.key;
    }
    EXPECT_EQ(language.Lookup(keys::cBack), "<< Back ");
    EXPECT_EQ(language.Lookup(keys::cNext), " Next >>");
    EXPECT_EQ(language.File()->Read("COMMON", "ZinkolarHelp"), "zinkolar.hlp");
}

}  // namespace
