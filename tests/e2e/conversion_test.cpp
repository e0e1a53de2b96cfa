// The data of a version-4 installation converted by a whole installation through the wizard:
// win.ini [Kelmo] names the old folder with its receive and send logs and its phone books, the
// new folder already holds an old schedule; the run asks its two questions in the toolkit's own
// dialog and converts what the answers allow, or reports a log it cannot convert and goes on.
// Checked from outside: the new files, record sizes and headers, the old files left as they
// were, nothing left over, and [Report] of zinkolar.ini.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/distribution.h"
#include "driver/remote_window.h"
#include "driver/setup_process.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "single_installation.h"

namespace {

using namespace e2e;
namespace fs = std::filesystem;

constexpr size_t kOldLog = 919, kLog = 812, kOldPhone = 698, kPhone = 1121;
constexpr size_t kOldSchedule = 44, kSchedule = 60;

// More records than the least count the product settings record (1000), so that the count
// written there shows the conversion's own.
constexpr int kReceived = 600, kSent = 401;

std::uint32_t Get32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

std::uint16_t Get16(const std::string& bytes, size_t at) {
    std::uint16_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

std::string TextAt(const std::string& bytes, size_t at) {
    return std::string(bytes.c_str() + at);
}

// A length byte and the text.
std::string ShortStringAt(const std::string& bytes, size_t at) {
    return bytes.substr(at + 1, static_cast<unsigned char>(bytes[at]));
}

// An old log entry `minutes` after midnight of 5 April 2003, with its item texts.
std::string OldLogRecord(int minutes, const std::string& item, const std::string& second = {}) {
    std::string record(kOldLog, '\0');
    const std::uint16_t when[] = {2003,
                                  4,
                                  5,
                                  static_cast<std::uint16_t>(minutes / 60),
                                  static_cast<std::uint16_t>(minutes % 60),
                                  0};
    std::memcpy(record.data(), when, sizeof when);
    record.replace(16, item.size(), item);
    record.replace(461, second.size(), second);
    return record;
}

std::string OldPhoneRecord(const std::string& name) {
    std::string record(kOldPhone, '\0');
    record[0] = static_cast<char>(name.size());
    record.replace(1, name.size(), name);
    return record;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(Wide(path)).parent_path());
    std::ofstream file(fs::path(Wide(path)), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

// A version-4 installation beside the destination, recorded in win.ini [Kelmo] as the startup
// code reads it; its folder name is Russian, as on the product users' machines. Its files are kept
// here to show afterwards that the run left them as they were.
class OldInstallation {
  public:
    // broken_log: the receive log ends with an entry dated in a thirteenth month, which the
    // merge cannot place.
    OldInstallation(const Destination& dest, bool broken_log) : path_(dest.Path() + " старая") {
        Remove();
        std::string received, sent;
        for (int i = 0; i < kReceived; ++i) {
            received += OldLogRecord(2 * i, "r" + std::to_string(i));
        }
        if (broken_log) {
            std::string entry = OldLogRecord(2 * kReceived, "bad");
            entry[2] = 13;
            received += entry;
        }
        // Every sent entry a minute after the received one of the same number; the first has a
        // second item and so becomes two entries of the log book.
        for (int i = 0; i < kSent; ++i) {
            sent += OldLogRecord(2 * i + 1, "s" + std::to_string(i), i == 0 ? "s0b" : "");
        }
        files_ = {
            {"service\\receive.zlg", received},
            {"service\\send.zlg", sent},
            {"spr\\clients.zkb", OldPhoneRecord("Ivanov") + OldPhoneRecord("Petrov")},
            {"spr\\empty.zkb", ""},
        };
        for (const auto& [name, bytes] : files_) {
            WriteFile(path_ + "\\" + name, bytes);
        }
        if (!WriteProfileStringW(L"Kelmo", L"Path", Wide(path_).c_str()) ||
            !WriteProfileStringW(L"Kelmo", L"Version", L"4.10")) {
            throw std::runtime_error("cannot write win.ini");
        }
        WriteProfileStringW(nullptr, nullptr, nullptr);  // to the file now, for setup.exe
    }
    ~OldInstallation() { Remove(); }
    OldInstallation(const OldInstallation&) = delete;
    OldInstallation& operator=(const OldInstallation&) = delete;

    void ExpectUnchanged() const {
        for (const auto& [name, bytes] : files_) {
            EXPECT_EQ(ReadBytes(Wide(path_ + "\\" + name)), bytes) << name;
        }
    }

  private:
    void Remove() const {
        std::error_code ignored;
        fs::remove_all(Wide(path_), ignored);
        WriteProfileStringW(L"Kelmo", nullptr, nullptr);
        WriteProfileStringW(nullptr, nullptr, nullptr);
    }

    std::string path_;
    std::map<std::string, std::string> files_;
};

// Two records of an old schedule, each byte numbered.
std::string OldSchedule() {
    std::string bytes;
    for (size_t i = 0; i < 2 * kOldSchedule; ++i) {
        bytes += static_cast<char>(i);
    }
    return bytes;
}

// The step texts of the progress window, which stays up behind the run's messages.
constexpr char kFileTypesStep[] = "Регистрация расширений файлов...";
constexpr char kPhoneBooksStep[] = "Конвертация справочников...";
constexpr char kLogBookStep[] = "Конвертация журнала...";

constexpr char kPhoneBookQuestion[] =
    "Обнаружен(ы) справочник(и) в старом формате. Конвертировать в новый формат для дальнейшего "
    "использования?";
constexpr char kLogBookQuestion[] =
    "Обнаружен журнал в старом формате. Конвертировать его в новый формат для дальнейшего "
    "использования?";
constexpr char kLogBookError[] = "Ошибка при конвертации журнала в новый формат.";

Strings ProgressTexts(const SetupProcess& setup) {
    const std::optional<RemoteWindow> progress = setup.FindTopLevel("TCopyFilesForm");
    if (!progress || !progress->Visible()) {
        return {};
    }
    Strings texts;
    for (const RemoteWindow& child : progress->Children()) {
        if (child.Visible() && !child.Text().empty()) {
            texts.push_back(child.Text());
        }
    }
    return texts;
}

// Waits for the run's next message, checks it and the step shown behind it, and answers it.
// The conversions use the toolkit's dialog as it is: English title and captions.
void Reply(WizardWalk& walk, const char* title, const char* text, const Strings& buttons,
           const char* step, const char* answer) {
    SCOPED_TRACE(text);
    const MessageDialog message = walk.Setup().WaitDialog(kRunTimeout);
    walk.Shoot("message");
    EXPECT_EQ(ProgressTexts(walk.Setup()), Strings{step});
    EXPECT_EQ(message.Title(), title);
    EXPECT_EQ(message.Text(), text);
    EXPECT_EQ(message.Buttons(), buttons);
    WizardWalk::Answer(message, answer);
}

// The names in a folder, sorted.
Strings Listing(const std::string& folder) {
    Strings names;
    for (const auto& entry : fs::directory_iterator(Wide(folder))) {
        names.push_back(Utf8(entry.path().filename().wstring()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct ConversionCase {
    bool accept;      // the answer to both questions
    bool broken_log;  // see OldInstallation
};

// Installs the single distribution with an old installation recorded and gives both questions
// the same answer; checks what the run leaves.
void InstallOverVersion4(const ConversionCase& row) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const OldInstallation old(dest, row.broken_log);
    WriteFile(dest / "service\\zinkol1.zks", OldSchedule());

    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToSummary(walk, dest.Path());
    walk.Control(WizardId(kNextButton)).Click();
    const Strings yes_no{"&Yes", "&No"};
    const char* answer = row.accept ? "&Yes" : "&No";
    Reply(walk, "Confirm", kPhoneBookQuestion, yes_no, kFileTypesStep, answer);
    Reply(walk, "Confirm", kLogBookQuestion, yes_no, row.accept ? kPhoneBooksStep : kFileTypesStep,
          answer);
    if (row.accept && row.broken_log) {
        Reply(walk, "Error", kLogBookError, {"OK"}, kLogBookStep, "OK");
    }
    walk.WaitPage(kRussian.finish, kRunTimeout);
    EXPECT_EQ(LeaveFinishPage(walk), 0u);

    old.ExpectUnchanged();
    const bool log_converted = row.accept && !row.broken_log;
    Strings service{"zinkol3.zks", "zkdrv32.ini"};
    if (log_converted) {
        service.insert(service.begin(), "logbook.zlg");
    }
    EXPECT_EQ(Listing(dest / "service"), service) << "the old schedule gone, nothing left over";
    const Strings phone_books = row.accept ? Strings{"clients.bzk", "empty.bzk"} : Strings{};
    EXPECT_EQ(Listing(dest / "PhoneBooks"), phone_books);
    const std::string settings = ReadAnsiFile(Wide(dest / "zinkolar.ini"));
    const int records = log_converted ? kReceived + kSent + 1 : 1000;
    EXPECT_EQ(ProfileSection(settings, "Report"), (Records{{"Records", std::to_string(records)}}));

    // The schedule is converted whatever the answers: it asks nothing.
    const std::string schedule = ReadBytes(Wide(dest / "service\\zinkol3.zks"));
    ASSERT_EQ(schedule.size(), 2 * kSchedule);
    for (size_t i = 0; i < 2; ++i) {
        const std::string record = schedule.substr(i * kSchedule, kSchedule);
        EXPECT_EQ(record.substr(0, kOldSchedule),
                  OldSchedule().substr(i * kOldSchedule, kOldSchedule));
        EXPECT_EQ(Get32(record, 44), 0xFFFFFFFFu);
        EXPECT_EQ(record.substr(48), std::string(12, '\0'));
    }

    if (row.accept) {
        // The phone books: the header, then one record for each old one.
        const std::string clients = ReadBytes(Wide(dest / "PhoneBooks\\clients.bzk"));
        ASSERT_EQ(clients.size(), 3 * kPhone);
        EXPECT_EQ(ShortStringAt(clients, 64), "MS Sans Serif");
        EXPECT_EQ(ShortStringAt(clients, 522), dest.Path() + "\\");
        EXPECT_EQ(ShortStringAt(clients, kPhone), "Ivanov");
        EXPECT_EQ(ShortStringAt(clients, 2 * kPhone), "Petrov");
        EXPECT_EQ(ReadBytes(Wide(dest / "PhoneBooks\\empty.bzk")), clients.substr(0, kPhone))
            << "the header alone";
    }
    if (!log_converted) {
        return;
    }

    // The log book: the header with the count, then both logs merged by time, numbered.
    const std::string log = ReadBytes(Wide(dest / "service\\logbook.zlg"));
    ASSERT_EQ(log.size(), (1 + static_cast<size_t>(records)) * kLog);
    EXPECT_EQ(Get32(log, 708), static_cast<std::uint32_t>(records));
    EXPECT_EQ(Get32(log, 712), 1u);
    struct Entry {
        size_t number;
        std::string item;
        std::uint16_t flags;
    };
    const Entry entries[] = {
        {1, "r0", 0},   {2, "s0", 16},
        {3, "s0b", 48}, {4, "r1", 0},
        {5, "s1", 16},  {static_cast<size_t>(records), "r" + std::to_string(kReceived - 1), 0},
    };
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.number);
        const std::string record = log.substr(entry.number * kLog, kLog);
        EXPECT_EQ(TextAt(record, 202), entry.item);
        EXPECT_EQ(Get16(record, 556), entry.flags);
        EXPECT_EQ(Get32(record, 708), entry.number);
    }
}

TEST(ConversionTest, BothAcceptedConvertsIntoTheNewFolder) {
    InstallOverVersion4({.accept = true, .broken_log = false});
}

TEST(ConversionTest, BothDeclinedConvertsOnlyTheSchedule) {
    InstallOverVersion4({.accept = false, .broken_log = false});
}

// The failed log book leaves no file behind, the count stays the least one, and the run goes on.
TEST(ConversionTest, UnplaceableLogEntryShowsTheErrorAndGoesOn) {
    InstallOverVersion4({.accept = true, .broken_log = true});
}

// Unattended, phone books that cannot be converted (a file stands where the new PhoneBooks
// folder would be) are an error message like any other: the run goes on to the end and reports
// 1603, and the account lists the message.
TEST(ConversionTest, UnattendedFailedConversionEndsWith1603) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const OldInstallation old(dest, false);
    WriteFile(dest / "PhoneBooks", "not a folder");
    const std::string log = dest.Path() + ".log";
    fs::remove(Wide(log));
    const SetupProcess setup(
        distribution.Folder(), L"setup.exe",
        Wide("/VERYSILENT /SUPPRESSMSGBOXES /DIR=\"" + dest.Path() + "\" /LOG=\"" + log + "\""));
    EXPECT_EQ(setup.WaitExit(kRunTimeout), 1603u);
    EXPECT_TRUE(fs::exists(Wide(dest / "zinkolar.exe")));
    EXPECT_TRUE(fs::exists(Wide(dest / "service\\logbook.zlg"))) << "the run went on";
    old.ExpectUnchanged();
    const std::string account = ReadBytes(Wide(log));
    for (const char* said :
         {"Dialog cErrorConvertPhoneBook [OK]", "Error messages: 1",
          "  Ошибка при конвертации справочника в новый формат.", "Exit code 1603"}) {
        EXPECT_NE(account.find(said), std::string::npos) << said << "\n" << account;
    }
    fs::remove(Wide(log));
}

}  // namespace
