// The distribution checker on a distribution made in memory: clean, then broken one way at a
// time; each break must give its one finding. The libraries are small PE images made here.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "code_pages.h"
#include "dist_check.h"
#include "language/text_keys.h"
#include "pe_image.h"
#include "platform/fake/fake_files.h"
#include "zkdist.h"

namespace {

using platform::FakeFileSystem;

// A PE32 image with one section holding the export names, string resources and bitmaps given.
class PeBuilder {
  public:
    PeBuilder& Export(std::string name) {
        exports_.push_back(std::move(name));
        return *this;
    }
    PeBuilder& String(std::uint32_t number, std::u16string text) {
        strings_[number] = std::move(text);
        return *this;
    }
    PeBuilder& Bitmap(std::u16string name, std::int32_t width, std::int32_t height) {
        bitmaps_.emplace_back(std::move(name), width, height);
        return *this;
    }

    std::string Build() const {
        std::string data;  // the section, at address kBase
        const std::uint32_t exports = Exports(data);
        const std::uint32_t resources = Resources(data);
        std::string image(kRaw, '\0');
        image.replace(0, 2, "MZ");
        Put(image, 0x3C, 64, 4);
        image.replace(64, 4, std::string("PE\0\0", 4));
        Put(image, 68, 0x14C, 2);    // machine
        Put(image, 70, 1, 2);        // sections
        Put(image, 84, 224, 2);      // optional header size
        Put(image, 88, 0x10B, 2);    // PE32
        Put(image, 88 + 92, 16, 4);  // directories
        Put(image, 88 + 96, kBase + exports, 4);
        Put(image, 88 + 100, exports_.empty() ? 0 : 40, 4);
        Put(image, 88 + 112, kBase + resources, 4);
        Put(image, 88 + 116, static_cast<std::uint32_t>(data.size() - resources), 4);
        const std::size_t section = 88 + 224;
        image.replace(section, 5, ".data");
        Put(image, section + 8, static_cast<std::uint32_t>(data.size()), 4);
        Put(image, section + 12, kBase, 4);
        Put(image, section + 16, static_cast<std::uint32_t>(data.size()), 4);
        Put(image, section + 20, kRaw, 4);
        return image + data;
    }

  private:
    static constexpr std::uint32_t kBase = 0x1000;
    static constexpr std::uint32_t kRaw = 0x200;

    static void Put(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
        if (bytes.size() < at + size)
            bytes.resize(at + size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    static std::uint32_t Append(std::string& bytes, std::string_view more) {
        bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
        const auto at = static_cast<std::uint32_t>(bytes.size());
        bytes += more;
        return at;
    }
    static std::string Utf16(const std::u16string& text, bool counted) {
        std::string bytes;
        if (counted)
            Put(bytes, 0, static_cast<std::uint32_t>(text.size()), 2);
        for (const char16_t c : text)
            Put(bytes, bytes.size(), c, 2);
        return bytes;
    }

    std::uint32_t Exports(std::string& data) const {
        if (exports_.empty())
            return 0;
        const std::uint32_t directory = Append(data, std::string(40, '\0'));
        const std::uint32_t table = Append(data, std::string(4 * exports_.size(), '\0'));
        Put(data, directory + 24, static_cast<std::uint32_t>(exports_.size()), 4);
        Put(data, directory + 32, kBase + table, 4);
        for (std::size_t i = 0; i < exports_.size(); ++i)
            Put(data, table + 4 * i, kBase + Append(data, exports_[i] + '\0'), 4);
        return directory;
    }

    // One directory with entries (number or name offset, target), targets relative to base.
    static std::uint32_t Directory(
        std::string& data, std::uint32_t base,
        const std::vector<std::pair<std::uint32_t, std::uint32_t>>& named,
        const std::vector<std::pair<std::uint32_t, std::uint32_t>>& ids) {
        const std::uint32_t at =
            Append(data, std::string(16 + 8 * (named.size() + ids.size()), '\0'));
        Put(data, at + 12, static_cast<std::uint32_t>(named.size()), 2);
        Put(data, at + 14, static_cast<std::uint32_t>(ids.size()), 2);
        std::size_t i = 0;
        for (const auto& [name, target] : named) {
            Put(data, at + 16 + 8 * i, 0x80000000U | name, 4);
            Put(data, at + 20 + 8 * i++, target, 4);
        }
        for (const auto& [id, target] : ids) {
            Put(data, at + 16 + 8 * i, id, 4);
            Put(data, at + 20 + 8 * i++, target, 4);
        }
        return at - base;
    }
    // A language directory leading to the bytes.
    static std::uint32_t Leaf(std::string& data, std::uint32_t base, std::string_view bytes) {
        const std::uint32_t content = Append(data, bytes);
        const std::uint32_t entry = Append(data, std::string(16, '\0'));
        Put(data, entry, kBase + content, 4);
        Put(data, entry + 4, static_cast<std::uint32_t>(bytes.size()), 4);
        return 0x80000000U | Directory(data, base, {}, {{0x419, entry - base}});
    }

    std::uint32_t Resources(std::string& data) const {
        const std::uint32_t base = Append(data, std::string(16 + 16, '\0'));  // root, two types
        std::map<std::uint32_t, std::string> blocks;
        for (const auto& [number, text] : strings_) {
            std::string& block = blocks[number / 16 + 1];
            if (block.empty()) {
                for (int i = 0; i < 16; ++i)
                    block += Utf16(i == static_cast<int>(number % 16) ? text : u"", true);
                continue;
            }
            std::string rebuilt;  // a second string in one block: made again with both
            for (std::uint32_t i = 0; i < 16; ++i) {
                const std::uint32_t n = (number / 16) * 16 + i;
                rebuilt += Utf16(strings_.contains(n) ? strings_.at(n) : u"", true);
            }
            block = rebuilt;
        }
        std::vector<std::pair<std::uint32_t, std::uint32_t>> block_entries;
        for (const auto& [id, bytes] : blocks)
            block_entries.emplace_back(id, Leaf(data, base, bytes));
        std::vector<std::pair<std::uint32_t, std::uint32_t>> bitmap_entries;
        for (const auto& [name, width, height] : bitmaps_) {
            std::string header;
            Put(header, 0, 40, 4);
            Put(header, 4, static_cast<std::uint32_t>(width), 4);
            Put(header, 8, static_cast<std::uint32_t>(height), 4);
            Put(header, 14, 24, 2);
            const std::uint32_t text = Append(data, Utf16(name, true)) - base;
            bitmap_entries.emplace_back(text, Leaf(data, base, header));
        }
        const std::uint32_t strings = Directory(data, base, {}, block_entries);
        const std::uint32_t bitmaps = Directory(data, base, bitmap_entries, {});
        Put(data, base + 14, 2, 2);
        Put(data, base + 16, 2, 4);
        Put(data, base + 20, 0x80000000U | bitmaps, 4);
        Put(data, base + 24, 6, 4);
        Put(data, base + 28, 0x80000000U | strings, 4);
        return base;
    }

    std::vector<std::string> exports_;
    std::map<std::uint32_t, std::u16string> strings_;
    std::vector<std::tuple<std::u16string, std::int32_t, std::int32_t>> bitmaps_;
};

constexpr char kDist[] = "D:\\dist";

std::string Path(const std::string& name) {
    return std::string(kDist) + "\\" + name;
}

// A language file with every key, each text with as many "%s" as the built-in one.
std::string EnglishFile() {
    std::map<std::string, std::string> sections;
    const char* names[] = {"COMMON", "ZINKOLAR", "MANAGER",   "LOGBOOK", "",
                           "",       "SETUP",    "Uninstall", "SERVER"};
    for (const language::TextKey& key : language::keys::kAll) {
        std::string text = "Text";
        for (std::size_t at = key.russian.find("%s"); at != std::string_view::npos;
             at = key.russian.find("%s", at + 2))
            text += " %s";
        sections[names[static_cast<int>(key.section)]] +=
            std::string(key.key) + "=" + text + "\r\n";
    }
    std::string file;
    for (const auto& [section, lines] : sections)
        file += "[" + section + "]\r\n" + lines;
    return file;
}

const std::string kSetupIni =
    "[main]\r\nProductName=Zinkolar\r\nVersionNumber=5.0\r\nNeedDiskSpace=100000\r\n"
    "InstallPath=Zinkolar\\Zinkolar 5\r\nLanguage=Russian\r\n"
    "[Russian]\r\nlicense=license.txt\r\n"
    "[English]\r\nlicense=license_en.txt\r\n"
    "[directory list]\r\ndoc=Doc\r\n"
    "[file list]\r\nzinkolar.exe=zinkolar.exe\r\nfiles\\whatsnew.txt=Doc\\whatsnew.txt\r\n"
    "znklrf32.dll=$\\znklrf32.dll\r\nfiles\\zkfax.ppd=%\\zkfax.ppd\r\n"
    "[Win2K]\r\nread_2k.txt=read_2k.txt\r\n"
    "[common shortcut list]\r\nDoc\\whatsnew.txt=What is new\r\n";

void MakeDistribution(FakeFileSystem& files) {
    files.AddFile(Path("setup.exe"), "MZ");
    files.AddFile(Path("setup.ini"), kSetupIni);
    files.AddFile(Path("English.lng"), EnglishFile());
    for (const char* text : {"license.txt", "license_en.txt", "read_9x.txt", "read_nt.txt"})
        files.AddFile(Path(text), "x");
    files.AddFile(Path("read_2k.txt"), std::string(10, 'x'));
    files.AddFile(Path("zinkolar.exe"), std::string(40, 'x'));
    files.AddFile(Path("files\\whatsnew.txt"), std::string(20, 'x'));
    files.AddFile(Path("files\\zkfax.ppd"), std::string(10, 'x'));
    files.AddFile(Path("res.dll"), PeBuilder()
                                       .String(101, u"Zinkolar")
                                       .String(103, u"single")
                                       .String(110, u"$602C10")
                                       .Bitmap(u"LEFTUP", 300, 64)
                                       .Bitmap(u"DOWNRIGHT", 151, 247)
                                       .Bitmap(u"WIZARD", 164, 314)
                                       .Build());
    files.AddFile(
        Path("znklrf32.dll"),
        PeBuilder().Export("GetVer").Export("TestProcessExec").Export("RemoveService").Build());
    files.AddFile(Path("zkprtstp.dll"),
                  PeBuilder().Export("PrinterDelete").Export("PrinterInstall").Build());
}

std::vector<std::string> Findings(const FakeFileSystem& files) {
    const platform::Cp1251Codec codec;
    std::vector<std::string> lines;
    for (const zkdist::Finding& finding : zkdist::CheckDistribution(files, codec, kDist))
        lines.push_back(zkdist::FormatFinding(finding));
    return lines;
}

void Replace(FakeFileSystem& files, const std::string& name, std::string_view from,
             std::string_view to) {
    std::string bytes = *files.Bytes(Path(name));
    const std::size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    files.AddFile(Path(name), bytes.replace(at, from.size(), to));
}

TEST(DistributionCheck, FindsNothingInAWholeDistribution) {
    FakeFileSystem files;
    MakeDistribution(files);
    EXPECT_EQ(Findings(files), std::vector<std::string>());
}

struct Break {
    const char* what;
    std::function<void(FakeFileSystem&)> apply;
    const char* finding;  // the one finding's start
};

const Break kBreaks[] = {
    {"no setup.ini", [](auto& f) { f.Remove(Path("setup.ini")); }, "setup.ini: missing"},
    {"no product name", [](auto& f) { Replace(f, "setup.ini", "ProductName=Zinkolar\r\n", ""); },
     "setup.ini:1: no [main] \"ProductName\""},
    {"disk space not a number", [](auto& f) { Replace(f, "setup.ini", "=100000", "=lots"); },
     "setup.ini:4: \"NeedDiskSpace\" is no number"},
    {"too little disk space", [](auto& f) { Replace(f, "setup.ini", "=100000", "=79"); },
     "setup.ini:4: \"NeedDiskSpace\" is 79 bytes, but setup.ini copies "},
    {"path too long", [](auto& f) { Replace(f, "setup.ini", "Zinkolar 5", std::string(230, 'z')); },
     "setup.ini:5: with the proposed folder, the longest file of setup.ini has 279 characters"},
    {"language without its file",
     [](auto& f) {
         Replace(f, "setup.ini", "Language=Russian", "Language=German");
         Replace(f, "setup.ini", "[Russian]\r\nlicense=license.txt\r\n", "");
     },
     "setup.ini:6: \"Language\" is German, but there is no German.lng"},
    {"licence missing", [](auto& f) { f.Remove(Path("license_en.txt")); },
     "setup.ini:10: English \"license\": license_en.txt is not in the distribution"},
    {"section of no language", [](auto& f) { Replace(f, "setup.ini", "[English]", "[Deutsch]"); },
     "setup.ini:9: [Deutsch] is read by nothing"},
    {"source missing", [](auto& f) { f.Remove(Path("zinkolar.exe")); },
     "setup.ini:14: source \"zinkolar.exe\" is not in the distribution"},
    {"destination outside",
     [](auto& f) { Replace(f, "setup.ini", "=zinkolar.exe", "=..\\zinkolar.exe"); },
     "setup.ini:14: \"..\\zinkolar.exe\" leaves the installation folder"},
    {"folder not made", [](auto& f) { Replace(f, "setup.ini", "doc=Doc\r\n", ""); },
     "setup.ini:14: folder \"Doc\" is not made by [directory list]"},
    {"system line with a path",
     [](auto& f) { Replace(f, "setup.ini", "$\\znklrf32.dll", "$\\..\\znklrf32.dll"); },
     "setup.ini:16: \"$\\..\\znklrf32.dll\" leaves the system folder"},
    {"marker in a name", [](auto& f) { Replace(f, "setup.ini", "%\\zkfax.ppd", "zk%fax.ppd"); },
     "setup.ini:17: the line holds \"%\", so it copies to the printer-driver folder"},
    {"a key twice",
     [](auto& f) {
         Replace(f, "setup.ini", "[Win2K]\r\n", "[Win2K]\r\nread_2k.txt=other.txt\r\n");
     },
     "setup.ini:20: \"read_2k.txt\" again: the program reads only line 19"},
    {"shortcut to nothing",
     [](auto& f) { Replace(f, "setup.ini", "Doc\\whatsnew.txt=What", "Doc\\new.txt=What"); },
     "setup.ini:21: \"Doc\\new.txt\" is not installed by the script"},
    {"client script in a single distribution", [](auto& f) { f.AddFile(Path("client.ini"), ""); },
     "client.ini: never read"},
    {"unknown language key",
     [](auto& f) { Replace(f, "English.lng", "[SETUP]\r\n", "[SETUP]\r\ncNxt=Next\r\n"); },
     "unknown key \"cNxt\""},
    {"missing language key", [](auto& f) { Replace(f, "English.lng", "cNext=Text\r\n", ""); },
     "no \"cNext\" in [SETUP]: it shows as \"?cNext\""},
    {"key in another section",
     [](auto& f) { Replace(f, "English.lng", "[SETUP]\r\n", "[SETUP]\r\ncYes=Yes\r\n"); },
     "\"cYes\" belongs in [COMMON]"},
    {"placeholders differ",
     [](auto& f) { Replace(f, "English.lng", "msgLoadError=Text %s", "msgLoadError=Text"); },
     "\"msgLoadError\" has 0 \"%s\"; the program fills 1"},
    {"UTF-8 text outside the code page",
     [](auto& f) {
         Replace(f, "English.lng", "cNext=Text", "cNext=Weiter \xC3\xBC");
         f.AddFile(Path("English.lng"), "\xEF\xBB\xBF" + *f.Bytes(Path("English.lng")));
     },
     "holds characters the code page cannot"},
    {"UTF-8 without its mark",
     [](auto& f) {
         Replace(f, "English.lng", "cNext=Text", "cNext=\xD0\x94\xD0\xB0\xD0\xBB\xD0\xB5\xD0\xB5");
     },
     "English.lng: written in UTF-8 without a byte-order mark"},
    {"no res.dll", [](auto& f) { f.Remove(Path("res.dll")); }, "res.dll: missing"},
    {"no colour",
     [](auto& f) {
         f.AddFile(Path("res.dll"), PeBuilder()
                                        .String(101, u"Z")
                                        .Bitmap(u"LEFTUP", 1, 1)
                                        .Bitmap(u"DOWNRIGHT", 1, 1)
                                        .Bitmap(u"WIZARD", 1, 1)
                                        .Build());
     },
     "res.dll: no string 110"},
    {"no picture",
     [](auto& f) {
         f.AddFile(Path("res.dll"), PeBuilder()
                                        .String(101, u"Z")
                                        .String(110, u"1")
                                        .Bitmap(u"LEFTUP", 1, 1)
                                        .Bitmap(u"WIZARD", 1, 1)
                                        .Build());
     },
     "res.dll: no bitmap DOWNRIGHT"},
    {"library without a function",
     [](auto& f) { f.AddFile(Path("zkprtstp.dll"), PeBuilder().Export("PrinterDelete").Build()); },
     "zkprtstp.dll: does not export PrinterInstall"},
    {"library no image", [](auto& f) { f.AddFile(Path("znklrf32.dll"), "text"); },
     "znklrf32.dll: not a Windows program or library"},
};

class DistributionBreak : public testing::TestWithParam<Break> {};

TEST_P(DistributionBreak, GivesItsOneFinding) {
    FakeFileSystem files;
    MakeDistribution(files);
    GetParam().apply(files);
    const std::vector<std::string> findings = Findings(files);
    ASSERT_EQ(findings.size(), 1U) << testing::PrintToString(findings);
    EXPECT_NE(findings[0].find(GetParam().finding), std::string::npos) << findings[0];
}

INSTANTIATE_TEST_SUITE_P(Table, DistributionBreak, testing::ValuesIn(kBreaks),
                         [](const auto& info) {
                             std::string name;
                             for (const char* c = info.param.what; *c != '\0'; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

TEST(DistributionCheck, ClientServerNeedsBothScripts) {
    FakeFileSystem files;
    MakeDistribution(files);
    files.AddFile(Path("res.dll"), PeBuilder()
                                       .String(101, u"Z")
                                       .String(103, u"ClientServer")
                                       .String(110, u"1")
                                       .Bitmap(u"LEFTUP", 1, 1)
                                       .Bitmap(u"DOWNRIGHT", 1, 1)
                                       .Bitmap(u"WIZARD", 1, 1)
                                       .Build());
    files.AddFile(Path("server.ini"), *files.Bytes(Path("setup.ini")));
    const std::vector<std::string> findings = Findings(files);
    EXPECT_NE(std::ranges::find(findings,
                                "client.ini: missing: this installation type installs "
                                "nothing"),
              findings.end())
        << testing::PrintToString(findings);
    // The script sections of setup.ini are not read in such a distribution.
    EXPECT_NE(std::ranges::find_if(findings,
                                   [](const std::string& f) {
                                       return f.starts_with(
                                           "setup.ini:11: [directory list] is "
                                           "never read");
                                   }),
              findings.end());
}

TEST(PeImage, DamagedImagesNeverReadOutside) {
    const std::string whole =
        PeBuilder().Export("GetVer").String(101, u"Zinkolar").Bitmap(u"WIZARD", 164, 314).Build();
    const std::optional<zkdist::PeFacts> facts = zkdist::ReadPeFacts(whole);
    ASSERT_TRUE(facts);
    EXPECT_TRUE(facts->exports.contains("GetVer"));
    EXPECT_EQ(facts->strings.at(101), "Zinkolar");
    EXPECT_EQ(facts->bitmaps.at("WIZARD").width, 164);
    // Every cut and every flipped byte: an answer, never a read past the bytes (ASan watches).
    for (std::size_t size = 0; size < whole.size(); ++size)
        (void)zkdist::ReadPeFacts(std::string_view(whole).substr(0, size));
    for (std::size_t at = 0; at < whole.size(); ++at) {
        std::string damaged = whole;
        damaged[at] = static_cast<char>(~damaged[at]);
        (void)zkdist::ReadPeFacts(damaged);
    }
}

TEST(Zkdist, ExitStatusAndUsage) {
    FakeFileSystem files;
    MakeDistribution(files);
    struct Case {
        std::vector<std::string> arguments;
        int status;
    };
    const Case cases[] = {
        {{"check", kDist}, 0},
        {{"check", "--codepage", "1252", kDist}, 0},
        {{"check", "--codepage", "866", kDist}, 2},
        {{"check"}, 2},
        {{"verify", kDist}, 2},
        {{"check", "D:\\nowhere"}, 2},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(zkdist::Run(c.arguments, files, out), c.status)
            << testing::PrintToString(c.arguments);
    }
    files.Remove(Path("zinkolar.exe"));
    std::ostringstream out;
    EXPECT_EQ(zkdist::Run({"check", kDist}, files, out), 1);
    EXPECT_EQ(out.str(),
              "setup.ini:14: source \"zinkolar.exe\" is not in the distribution: the "
              "copy fails\n");
}

TEST(CodePages, HoldsWhatTheCodePageHas) {
    const zkdist::Cp1252Codec western;
    const platform::Cp1251Codec cyrillic;
    EXPECT_TRUE(zkdist::Holds(western, "Zinkolar \xC3\xBC \xE2\x82\xAC"));  // ü €
    EXPECT_FALSE(zkdist::Holds(western, "\xD0\x94"));                       // Д
    EXPECT_TRUE(zkdist::Holds(cyrillic, "\xD0\x94"));
    EXPECT_FALSE(zkdist::Holds(cyrillic, "\xC3\xBC"));
}

}  // namespace
