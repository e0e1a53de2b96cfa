// The profile engine against the platform's own profile functions (GetPrivateProfileStringA and
// WritePrivateProfileStringA) on the files of profile_corpus. Both read each file; then both
// writers make the case's changes, each on its own copy, and the platform reads both results
// while the engine reads its own. Every disagreement fails unless the case names the engine's
// deliberate difference that explains it. One difference belongs to every changed file: the
// platform rewrites the whole file (blanks, blank lines, line breaks) while the engine changes
// only the lines it must; it is counted under its own name, and the readings must still agree.
//
// Key lists are compared as the script readers see them: the platform's list (walked up to the
// length it reports) reduced to distinct keys, in order of first occurrence, whose values read
// non-empty; the engine's Keys does that itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"
#include "platform/win32/win32_platform.h"
#include "profile_corpus.h"

namespace {

using profile_corpus::Case;

constexpr char kLayout[] =
    "file layout (the platform rewrites every line, the engine only the changed ones)";
constexpr char kPaddedKeyList[] =
    "a key list asked with blanks around the section name (the platform keeps them there, "
    "though not when it reads a value; the engine drops them in both)";

struct Tally {
    int files = 0;
    int compared = 0;
    int disagreements = 0;
    std::map<std::string, int>
        explained;  // disagreements by the named difference that explains them

    void Add(const Tally& other) {
        files += other.files;
        compared += other.compared;
        disagreements += other.disagreements;
        for (const auto& [name, count] : other.explained) {
            explained[name] += count;
        }
    }
    void Print(const char* title) const {
        int explained_count = 0;
        for (const auto& entry : explained) {
            explained_count += entry.second;
        }
        std::printf(
            "[ profile  ] %s: %d files, %d cases compared, %d disagreements, %d of them "
            "explained, %d unexplained\n",
            title, files, compared, disagreements, explained_count,
            disagreements - explained_count);
        for (const auto& [name, count] : explained) {
            std::printf("[ profile  ]   %4d  %s\n", count, name.c_str());
        }
    }
};

Tally total;

class TotalPrinter : public testing::Environment {
  public:
    void TearDown() override {
        if (total.files > 0) {
            total.Print("all profile differential tests");
        }
    }
};

[[maybe_unused]] testing::Environment* const kTotalPrinter =
    testing::AddGlobalTestEnvironment(new TotalPrinter);

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Show(const std::string& text) {
    if (text.size() <= 60) {
        return "\"" + text + "\"";
    }
    return "\"" + text.substr(0, 30) + "...\" (" + std::to_string(text.size()) + " bytes)";
}

std::string Show(const std::vector<std::string>& names) {
    std::string out = std::to_string(names.size()) + " names:";
    for (std::size_t i = 0; i < names.size() && i < 8; ++i) {
        out += " " + Show(names[i]);
    }
    return names.size() > 8 ? out + " ... " + Show(names.back()) : out;
}

std::string PlatformRead(const std::string& path, const std::string& section,
                         const std::string& key) {
    std::vector<char> buffer(platform::kProfileValueLimit + 1, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path.c_str());
    return std::string(buffer.data(), length);
}

// The platform's key list, walked up to the length it reports: it may hold empty names.
std::vector<std::string> PlatformKeyList(const std::string& path, const std::string& section) {
    std::vector<char> buffer(platform::kProfileKeyListBuffer, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path.c_str());
    std::vector<std::string> names;
    for (DWORD start = 0; start < length;) {
        DWORD end = start;
        while (end < length && buffer[end] != '\0') {
            ++end;
        }
        names.emplace_back(buffer.data() + start, end - start);
        start = end + 1;
    }
    return names;
}

std::wstring AnsiToWide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length));
    return wide;
}

// The platform's key list as a script reader takes it.
std::vector<std::string> PlatformScriptKeys(const std::string& path, const std::string& section) {
    std::vector<std::string> keys;
    std::vector<std::wstring> seen;
    for (const std::string& name : PlatformKeyList(path, section)) {
        const std::wstring wide = AnsiToWide(name);
        const bool repeated = std::any_of(seen.begin(), seen.end(), [&](const std::wstring& s) {
            return CompareStringOrdinal(s.data(), static_cast<int>(s.size()), wide.data(),
                                        static_cast<int>(wide.size()), TRUE) == CSTR_EQUAL;
        });
        if (repeated) {
            continue;
        }
        seen.push_back(wide);
        if (!PlatformRead(path, section, name).empty()) {
            keys.push_back(name);
        }
    }
    return keys;
}

class ProfileDifferential : public testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder_ =
            std::string(temp) + "profile_differential_" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
    }

    void TearDown() override {
        for (const std::string& path : paths_) {
            DeleteFileA(path.c_str());
        }
        RemoveDirectoryA(folder_.c_str());
        tally_.Print(testing::UnitTest::GetInstance()->current_test_info()->name());
        total.Add(tally_);
    }

    void Compare(const Case& c) {
        ++tally_.files;
        case_disagreements_ = 0;
        const std::string platform_file = NewPath();
        if (!c.missing_file) {
            ASSERT_TRUE(files_.WriteFile(platform_file, FileBytes(c))) << platform_file;
        }
        platform::Profile engine = platform::LoadProfile(files_, codec_, platform_file);
        CompareReadings(c, "as found", platform_file, engine);
        if (!c.changes.empty()) {
            for (const profile_corpus::Change& change : c.changes) {
                WritePrivateProfileStringA(Ansi(change.section).c_str(), Ansi(change.key).c_str(),
                                           change.value ? Ansi(*change.value).c_str() : nullptr,
                                           platform_file.c_str());
                if (change.value) {
                    engine.Write(change.section, change.key, *change.value);
                } else {
                    engine.Remove(change.section, change.key);
                }
            }
            const std::string engine_file = NewPath();
            ASSERT_TRUE(platform::SaveProfile(files_, codec_, engine_file, engine));
            CompareReadings(c, "changed", platform_file, engine);
            CompareFiles(c, platform_file, engine_file);
        }
        tally_.disagreements += case_disagreements_;
        if (!c.known_difference.empty()) {
            EXPECT_GT(case_disagreements_, 0)
                << c.label << ": the named difference no longer shows: " << c.known_difference;
            tally_.explained[c.known_difference] += case_disagreements_;
        }
    }

  private:
    std::string NewPath() {
        paths_.push_back(folder_ + "\\case" + std::to_string(paths_.size()) + ".ini");
        return paths_.back();
    }

    std::string Ansi(const std::string& utf8) const { return codec_.Utf8ToAnsi(utf8); }

    std::string FileBytes(const Case& c) const {
        return c.utf8_bom ? "\xEF\xBB\xBF" + c.text : Ansi(c.text);
    }

    void Explained(const std::string& difference) {
        ++tally_.disagreements;
        ++tally_.explained[difference];
    }

    // A disagreement fails unless the comparison itself or the case names the difference.
    template <typename T>
    void Check(const Case& c, const std::string& what, const T& platform, const T& engine,
               const char* difference = nullptr) {
        ++tally_.compared;
        if (platform == engine) {
            return;
        }
        if (difference != nullptr) {
            Explained(difference);
            return;
        }
        ++case_disagreements_;
        if (c.known_difference.empty()) {
            ADD_FAILURE() << c.label << ": " << what << "\n  platform: " << Show(platform)
                          << "\n  engine:   " << Show(engine);
        }
    }

    // The engine's reading against the platform's reading of the platform's file.
    void CompareReadings(const Case& c, const std::string& when, const std::string& path,
                         const platform::Profile& engine) {
        for (const std::string& section : c.sections) {
            std::vector<std::string> engine_keys;
            for (const std::string& key : engine.Keys(section)) {
                engine_keys.push_back(Ansi(key));
            }
            const bool padded = section != std::string(Trim(section));
            Check(c, when + ", keys of [" + section + "]", PlatformScriptKeys(path, Ansi(section)),
                  engine_keys, padded ? kPaddedKeyList : nullptr);
            for (const std::string& key : c.keys) {
                Check(c, when + ", [" + section + "] " + key,
                      PlatformRead(path, Ansi(section), Ansi(key)),
                      Ansi(engine.Read(section, key)));
            }
        }
    }

    // The platform reads the file the engine wrote as it reads its own.
    void CompareFiles(const Case& c, const std::string& platform_path,
                      const std::string& engine_path) {
        for (const std::string& section : c.sections) {
            Check(c, "engine's file, key list of [" + section + "]",
                  PlatformKeyList(platform_path, Ansi(section)),
                  PlatformKeyList(engine_path, Ansi(section)));
            for (const std::string& key : c.keys) {
                Check(c, "engine's file, [" + section + "] " + key,
                      PlatformRead(platform_path, Ansi(section), Ansi(key)),
                      PlatformRead(engine_path, Ansi(section), Ansi(key)));
            }
        }
        Check(c, "file text", files_.ReadFile(platform_path).value_or(""),
              files_.ReadFile(engine_path).value_or(""), kLayout);
    }

    platform::AnsiCodec codec_;
    platform::Win32FileSystem files_;
    std::string folder_;
    std::vector<std::string> paths_;
    Tally tally_;
    int case_disagreements_ = 0;
};

TEST_F(ProfileDifferential, HandWrittenFiles) {
    const bool cyrillic = GetACP() == 1251;
    if (!cyrillic) {
        std::printf("[ profile  ] ANSI code page %u: the Cyrillic cases need 1251\n", GetACP());
    }
    for (const Case& c : profile_corpus::HandWrittenCases(cyrillic)) {
        Compare(c);
    }
}

TEST_F(ProfileDifferential, GeneratedFiles) {
    for (const Case& c : profile_corpus::GeneratedReadCases(300)) {
        Compare(c);
    }
}

TEST_F(ProfileDifferential, GeneratedChanges) {
    for (const Case& c : profile_corpus::GeneratedWriteCases(300)) {
        Compare(c);
    }
}

}  // namespace
