// Installations that meet trouble, with the real setup.exe: a drive that fills up during the
// copy step, the program killed at random moments of the copy step, a product application that
// will not close. What is left must be what the next run and the uninstaller rely on: whole
// files, and an install.ini that says exactly what happened.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "driver/distribution.h"
#include "driver/progress_window.h"
#include "driver/strings.h"
#include "driver/wizard.h"
#include "driver/wizard_walk.h"
#include "platform/files.h"
#include "platform/win32/handles.h"
#include "single_installation.h"
#include "ui/exit_codes.h"

namespace {

using namespace e2e;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kCopyError[] = "Ошибка при копировании файла ";

// Paths as the file system compares them (the tests' paths are ASCII).
std::string Folded(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return path;
}

// The single distribution's files that its script places in the installation folder, for an
// installation into `folder` rather than `dest`.
std::vector<Placed> PlacedIn(const Destination& dest, const std::string& folder) {
    std::vector<Placed> files;
    for (Placed file : SingleFiles(dest)) {
        if (file.destination.starts_with(dest.Path() + "\\")) {
            file.destination = folder + file.destination.substr(dest.Path().size());
            files.push_back(std::move(file));
        }
    }
    return files;
}

// [file] of install.ini: folded path -> flag.
std::map<std::string, std::string> FileRecords(const std::string& folder) {
    std::map<std::string, std::string> flags;
    for (const auto& [file, flag] :
         ProfileSection(ReadAnsiFile(Wide(folder + "\\install.ini")), "file")) {
        EXPECT_TRUE(flag == "1" || flag == "0") << file << "=" << flag;
        flags[Folded(file)] = flag;
    }
    return flags;
}

// Nothing in the installation folder but install.ini and what its [file] names: no copy left
// half-way beside the file it was to replace.
void ExpectOnlyRecordedFiles(const std::string& folder,
                             const std::map<std::string, std::string>& records) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Wide(folder))) {
        const std::string path = Folded(Utf8(entry.path().wstring()));
        if (entry.is_regular_file() && path != Folded(folder + "\\install.ini")) {
            EXPECT_TRUE(records.contains(path)) << "unrecorded file " << path;
        }
    }
}

// Next from the shortcuts page: on a drive with too little space the wizard asks whether to go
// on, which is answered Yes; then the group page.
void PassTheSpaceCheck(const WizardWalk& walk) {
    walk.Control(WizardId(kNextButton)).Click();
    WaitUntil([&] { return walk.Setup().FindDialog() || walk.Title() == kRussian.group; },
              kPageTimeout, "the group page or the space question");
    if (const std::optional<MessageDialog> question = walk.Setup().FindDialog()) {
        EXPECT_EQ(question->Text(),
                  "На выбранном диске недостаточно свободного места. Вы уверены, что хотите "
                  "продолжить установку?");
        WizardWalk::AnswerWhenLabelled(*question, kRussian.yes);
    }
    walk.WaitPage(kRussian.group);
}

// To the summary page with the folder Zk on `drive` ("X:"); gives that folder.
std::string WalkToSummaryOnDrive(const WizardWalk& walk, const std::string& drive) {
    WalkToDestination(walk, kRussian);
    const std::string folder = drive + "\\Zk";
    const RemoteWindow field = walk.Control(WizardId(kPathField));
    field.Type(folder);  // its letter selects the drive
    const RemoteWindow drives = walk.Control(WizardId(kDriveList));
    WaitUntil(
        [&] {
            const int chosen = drives.SelectedIndex();
            return chosen >= 0 &&
                   Folded(drives.Items().at(static_cast<std::size_t>(chosen))) == Folded(drive);
        },
        kPageTimeout, "the drive " + drive);
    field.Type(folder);  // again, should the drive change have proposed a folder of its own
    walk.Press(WizardId(kNextButton), kRussian.shortcuts);
    PassTheSpaceCheck(walk);
    walk.Press(WizardId(kNextButton), kRussian.file_types);
    walk.Press(WizardId(kNextButton), kRussian.summary);
    return folder;
}

// Confirms the summary and answers every copy error with OK until the finish page shows; gives
// the files the errors named, folded.
std::set<std::string> InstallAnsweringCopyErrors(const WizardWalk& walk) {
    std::set<std::string> named;
    walk.Control(WizardId(kNextButton)).Click();
    for (;;) {
        WaitUntil(
            [&] {
                return walk.Setup().FindDialog() ||
                       (walk.Wizard().Visible() && walk.Title() == kRussian.finish);
            },
            kRunTimeout, "the finish page or a copy error");
        const std::optional<MessageDialog> error = walk.Setup().FindDialog();
        if (!error) {
            return named;
        }
        const std::string text = error->Text();
        EXPECT_TRUE(text.starts_with(kCopyError)) << text;
        named.insert(Folded(text.substr(std::size(kCopyError) - 1)));
        WizardWalk::AnswerWhenLabelled(*error, "OK");
    }
}

std::string Filler(const std::string& seed, std::size_t size) {
    std::string bytes;
    while (bytes.size() < size) {
        bytes += seed;
    }
    bytes.resize(size);
    return bytes;
}

// --- A drive that fills up during the copy step.

// The small drive that tests/e2e/small_drive.sh maps for this test ("X:"); empty without it.
std::string SmallDrive() {
    const char* drive = std::getenv("ZK_SMALL_DRIVE");
    return drive != nullptr ? drive : "";
}

// The single distribution fits the drive; a second one with bigger programs does not. Every
// file the drive could not take is reported and recorded "0", and keeps the first run's bytes.
TEST(InstallationFaultsTest, DiskFullDuringTheCopyStep) {
    const std::string drive = SmallDrive();
    if (drive.empty()) {
        GTEST_SKIP() << "needs a small drive: ctest SmallDriveFaults mounts one";
    }
    const Distribution first(kDistributions + "single");
    const Distribution second(kDistributions + "single");
    const Destination dest;  // clears App Paths and win.ini [Kelmo] again at the end
    // Each program 256 KiB bigger than the first distribution's.
    constexpr std::size_t kGrowth = 256 * 1024;
    for (const Placed& file : PlacedIn(dest, "")) {
        if (std::string_view(file.source).ends_with(".exe")) {
            const std::size_t size = fs::file_size(fs::path(first.Folder()) / Wide(file.source));
            second.Write(file.source, Filler(file.source, size + kGrowth));
        }
    }

    std::string folder;
    {
        WizardWalk walk(first.Folder(), ShotsFolder());
        folder = WalkToSummaryOnDrive(walk, drive);
        EXPECT_TRUE(InstallAnsweringCopyErrors(walk).empty()) << "the first installation fits";
        EXPECT_EQ(LeaveFinishPage(walk), 0u);
    }
    std::set<std::string> reported;
    {
        WizardWalk walk(second.Folder(), ShotsFolder());
        WalkToSummaryOnDrive(walk, drive);
        reported = InstallAnsweringCopyErrors(walk);
        walk.Shoot("finish");
        EXPECT_EQ(LeaveFinishPage(walk), 0u);
    }
    ASSERT_FALSE(reported.empty()) << "the drive never filled up";
    std::printf("%zu files did not fit\n", reported.size());

    const std::map<std::string, std::string> records = FileRecords(folder);
    std::set<std::string> failed;
    for (const auto& [file, flag] : records) {
        if (flag == "0") {
            failed.insert(file);
        } else {
            EXPECT_TRUE(fs::is_regular_file(Wide(file))) << file;
        }
    }
    EXPECT_EQ(failed, reported) << "a \"0\" record for each file reported, and only for those";
    for (const Placed& file : PlacedIn(dest, folder)) {
        SCOPED_TRACE(file.destination);
        const auto record = records.find(Folded(file.destination));
        ASSERT_NE(record, records.end());
        const Distribution& shipped = record->second == "1" ? second : first;
        EXPECT_EQ(ReadBytes(Wide(file.destination)),
                  ReadBytes(shipped.Folder() + L"\\" + Wide(file.source)));
    }
    ExpectOnlyRecordedFiles(folder, records);
}

// --- The program killed at random moments of the copy step.

constexpr int kKills = 20;
constexpr int kExtraFiles = 400;

// The run's seed: ZK_FAULT_SEED repeats a run, else the clock chooses.
unsigned Seed() {
    const char* seed = std::getenv("ZK_FAULT_SEED");
    return seed != nullptr ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10))
                           : static_cast<unsigned>(Clock::now().time_since_epoch().count());
}

// Makes the distribution's script copy many more files (random bytes, into the folder Extra),
// so that its copy step lasts long enough to be hit at random; gives the added files, source
// name -> bytes.
std::map<std::string, std::string> AddExtraFiles(const Distribution& distribution,
                                                 std::mt19937& random) {
    std::uniform_int_distribution<std::size_t> size(1024, 32 * 1024);
    std::uniform_int_distribution<int> byte(0, 255);
    std::map<std::string, std::string> files;
    std::string lines;
    for (int i = 0; i < kExtraFiles; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "x%03d.dat", i);
        std::string bytes(size(random), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(byte(random));
        }
        distribution.Write(name, bytes);
        lines += std::string(name) + "=Extra\\" + name + "\r\n";
        files.emplace(name, std::move(bytes));
    }
    AddScriptLines(distribution, {{"[file list]", lines}, {"[directory list]", "extra=Extra\r\n"}});
    return files;
}

// True when the folder's listing names the file: a file being written may refuse to be opened.
bool Listed(const std::string& file) {
    WIN32_FIND_DATAW found;
    return static_cast<bool>(platform::UniqueFind(FindFirstFileW(Wide(file).c_str(), &found)));
}

// A kill in the instant between a new file's creation and its mark for removal leaves it empty
// and marked unfinished, which the next run replaces.
bool Unfinished(const std::string& file) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(Wide(file).c_str(), GetFileExInfoStandard, &data) &&
           platform::FileInfo{data.nFileSizeLow | (std::int64_t{data.nFileSizeHigh} << 32), 0,
                              data.dwFileAttributes}
               .Unfinished();
}

// Wine gives a new file its attributes a moment after it makes it, where Windows makes it with
// them: a kill in between leaves it empty and without the mark of an unfinished copy, and the
// next run takes it for a file of the user's. Such a file is given the mark that Windows would
// have left on it. No file these tests install is empty; the log, opened before its first
// record, may be.
void MarkUnfinishedAsWindowsLeavesThem(const std::string& folder) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Wide(folder))) {
        const std::wstring path = entry.path().wstring();
        if (entry.is_regular_file() && entry.file_size() == 0 &&
            entry.path() != fs::path(Wide(folder + "\\install.ini")) && !Unfinished(Utf8(path))) {
            SetFileAttributesW(path.c_str(),
                               GetFileAttributesW(path.c_str()) | platform::kAttributesUnfinished);
        }
    }
}

// Confirms the summary and waits until the copy step has begun.
void StartCopying(const WizardWalk& walk) {
    walk.Control(WizardId(kNextButton)).Click();
    WaitUntil([&] { return ProgressCopying(walk.Setup()).value_or(false); }, kRunTimeout,
              "the copy step");
}

// install.ini as a reader finds it: every line a section header, a record or blank, and the
// last line ended. A record torn by the kill would be a line of neither kind or an unended one.
void ExpectWholeProfile(const std::string& bytes) {
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back(), '\n') << "torn last line";
    for (const std::string& raw : Lines(bytes)) {
        const std::string line = Trimmed(raw);
        const bool header = line.starts_with('[') && line.ends_with(']');
        const bool record = line.find('=') != std::string::npos && line.front() != '=';
        EXPECT_TRUE(line.empty() || header || record) << "torn line \"" << raw << "\"";
    }
}

TEST(InstallationFaultsTest, KilledAtRandomMomentsOfTheCopyStep) {
    const unsigned seed = Seed();
    std::printf("seed %u (ZK_FAULT_SEED=%u repeats this run)\n", seed, seed);
    RecordProperty("seed", std::to_string(seed));
    std::mt19937 random(seed);
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    // What each installed file must hold: folded destination -> bytes.
    std::map<std::string, std::string> shipped;
    for (auto& [name, bytes] : AddExtraFiles(distribution, random)) {
        shipped.emplace(Folded(dest / ("Extra\\" + name)), std::move(bytes));
    }
    const std::vector<Placed> single = PlacedIn(dest, dest.Path());
    for (const Placed& file : single) {
        shipped.emplace(Folded(file.destination),
                        ReadBytes(distribution.Folder() + L"\\" + Wide(file.source)));
    }

    // A whole installation first, which also measures how long the copy step lasts.
    Clock::duration copy_step{};
    {
        WizardWalk walk(distribution.Folder(), ShotsFolder());
        WalkToSummary(walk, dest.Path());
        StartCopying(walk);
        const Clock::time_point start = Clock::now();
        WaitUntil([&] { return !ProgressCopying(walk.Setup()).value_or(false); }, kRunTimeout,
                  "the end of the copy step");
        copy_step = Clock::now() - start;
        walk.WaitPage(kRussian.finish, kRunTimeout);
        EXPECT_EQ(LeaveFinishPage(walk), 0u);
    }
    const std::string settings = ReadBytes(Wide(dest / "zinkolar.ini"));
    const auto copy_ms = std::chrono::duration_cast<std::chrono::milliseconds>(copy_step).count();
    std::printf("copy step of %d files: %lld ms\n", kExtraFiles + static_cast<int>(single.size()),
                static_cast<long long>(copy_ms));

    std::uniform_int_distribution<long long> moment(0, copy_ms);
    for (int kill = 1; kill <= kKills; ++kill) {
        const auto after = std::chrono::milliseconds(moment(random));
        SCOPED_TRACE("seed " + std::to_string(seed) + ", kill " + std::to_string(kill) + " " +
                     std::to_string(after.count()) + " ms into the copy step");
        {
            WizardWalk walk(distribution.Folder(), ShotsFolder());
            WalkToSummary(walk, dest.Path());
            StartCopying(walk);
            Sleep(static_cast<DWORD>(after.count()));
            walk.Setup().Kill();
        }
        MarkUnfinishedAsWindowsLeavesThem(dest.Path());
        ExpectWholeProfile(ReadBytes(Wide(dest / "install.ini")));
        for (const auto& [file, flag] : FileRecords(dest.Path())) {
            // The earlier installation's shortcuts are gone before the copy step and made anew
            // after it; their records stay for the uninstaller.
            if (flag != "1" || file.ends_with(".lnk")) {
                continue;
            }
            EXPECT_TRUE(fs::is_regular_file(Wide(file))) << file;
            if (const auto bytes = shipped.find(file); bytes != shipped.end()) {
                EXPECT_EQ(ReadBytes(Wide(file)), bytes->second) << file;
            }
        }
        if (fs::exists(Wide(dest / "zinkolar.ini"))) {
            EXPECT_EQ(ReadBytes(Wide(dest / "zinkolar.ini")), settings);
        }
        if (HasFailure()) {
            return;  // one broken state is enough to look at
        }
    }

    // A kill between the two calls that put a finished copy in place of a file leaves that copy
    // under its fresh name: whole, never at the file's name, and never removed by name (it might
    // be somebody's). Looked at, then cleared away by the test.
    std::set<std::string> whole;
    for (const auto& [file, bytes] : shipped) {
        whole.insert(bytes);
    }
    std::vector<fs::path> left;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Wide(dest.Path()))) {
        if (entry.is_regular_file() && entry.path().filename().wstring().starts_with(L"~zk")) {
            left.push_back(entry.path());
        }
    }
    for (const fs::path& file : left) {
        // Beside install.ini: its rewrite, else a copy of a shipped file, or nothing yet: a
        // kill between the fresh name's creation and its mark for removal.
        const std::string bytes = ReadBytes(file.wstring());
        if (file.parent_path() != fs::path(Wide(dest.Path())) && !bytes.empty()) {
            EXPECT_TRUE(whole.contains(bytes)) << Utf8(file.wstring());
        }
        fs::remove(file);
    }
    std::printf("finished copies left under a fresh name: %zu\n", left.size());

    // A normal run into the same folder then installs everything whole, with nothing left
    // over from the runs that were killed.
    Install(distribution.Folder(), dest.Path());
    const std::map<std::string, std::string> records = FileRecords(dest.Path());
    for (const auto& [file, bytes] : shipped) {
        SCOPED_TRACE(file);
        const auto record = records.find(file);
        EXPECT_TRUE(record != records.end() && record->second == "1");
        EXPECT_EQ(ReadBytes(Wide(file)), bytes);
    }
    for (const auto& [file, flag] : records) {
        EXPECT_EQ(flag, "1") << file;
    }
    for (const Shortcut& shortcut : SingleShortcuts(dest)) {
        EXPECT_EQ(ReadLink(Wide(shortcut.file)).target, shortcut.target) << shortcut.file;
    }
    EXPECT_EQ(ReadBytes(Wide(dest / "zinkolar.ini")), settings);
    ExpectOnlyRecordedFiles(dest.Path(), records);
}

// A first installation into an empty folder killed while a large file of one section kind is
// being written, then a normal run: the file is never found cut short, neither after the kill
// nor after the run, whichever kind copies it (the kinds that keep a file that is there, or
// compare its time, would keep a torn one for good).
TEST(InstallationFaultsTest, KilledWhileAFirstInstallationWritesALargeFile) {
    const unsigned seed = Seed();
    std::printf("seed %u (ZK_FAULT_SEED=%u repeats this run)\n", seed, seed);
    std::mt19937 random(seed);
    const Distribution distribution(kDistributions + "single");
    const std::pair<const char*, const char*> kinds[] = {
        {"[file list]", "list.dat"},
        {"[if not exist]", "missing.dat"},
        {"[backup]", "saved.dat"},
        {"[Win2K]", "platform.dat"},
    };
    std::map<std::string, std::string> large;  // name -> bytes
    std::vector<std::pair<std::string, std::string>> lines;
    for (const auto& [section, name] : kinds) {
        std::string bytes(32 << 20, '\0');
        for (std::size_t i = 0; i < bytes.size(); i += 4096) {
            bytes[i] = static_cast<char>(random());
        }
        distribution.Write(name, bytes);
        large.emplace(name, std::move(bytes));
        lines.emplace_back(section, std::string(name) + "=" + name + "\r\n");
    }
    AddScriptLines(distribution, lines);
    const Destination dest;
    std::uniform_int_distribution<int> delay(0, 5);
    for (const auto& [section, name] : kinds) {
        SCOPED_TRACE(std::string(section) + ", seed " + std::to_string(seed));
        const std::string file = dest / name;
        fs::remove_all(Wide(dest.Path()));
        {
            WizardWalk walk(distribution.Folder(), ShotsFolder());
            WalkToSummary(walk, dest.Path());
            walk.Control(WizardId(kNextButton)).Click();
            // The name shows as soon as the file is begun; looked for closely, so that the kill
            // comes while it is written.
            const Clock::time_point deadline = Clock::now() + kRunTimeout;
            while (!Listed(file) && Clock::now() < deadline) {
                Sleep(1);
            }
            ASSERT_TRUE(Listed(file)) << "never begun";
            Sleep(static_cast<DWORD>(delay(random)));
            walk.Setup().Kill();
        }
        MarkUnfinishedAsWindowsLeavesThem(dest.Path());
        if (Listed(file) && !Unfinished(file)) {
            EXPECT_EQ(ReadBytes(Wide(file)), large.at(name)) << "after the kill";
        }
        Install(distribution.Folder(), dest.Path());
        for (const auto& [other, bytes] : large) {
            EXPECT_EQ(ReadBytes(Wide(dest / other)), bytes) << other;
        }
        ExpectOnlyRecordedFiles(dest.Path(), FileRecords(dest.Path()));
        if (HasFailure()) {
            return;
        }
    }
}

// --- A product application that will not close.

constexpr char kApplicationRunning[] =
    "Программа установки обнаружила, что запущено одно из приложений Zinkolar. Для "
    "продолжения установки необходимо завершить его работу. Завершить?";
constexpr char kNotClosed[] = "Не удалось завершить работу приложения. Прервать установку?";

// The stand-in of the product's service that keeps running through the close request; ended
// by handle when the object goes.
class StubbornApplication {
  public:
    StubbornApplication() : process_(HostPath(E2E_BUILD_DIR "/product/stubborn"), L"zkdrv32.exe") {
        process_.WaitWindow("ZinkolarStandIn");
    }
    bool Running() const { return process_.Running(); }

  private:
    SetupProcess process_;
};

// The question that comes when the application is still there 5 seconds after the close
// request: abort the installation?
MessageDialog NotClosedQuestion(const WizardWalk& walk) {
    const MessageDialog question = walk.Setup().WaitDialog(20s);
    EXPECT_EQ(question.Text(), kNotClosed);
    WaitUntil(
        [&] {
            return question.Buttons() == Strings{kRussian.yes, kRussian.no, "&Retry"};
        },
        kPageTimeout, "the buttons Yes, No and Retry");
    return question;
}

// From the summary page into the run, agreeing to close the running application.
MessageDialog AgreeToClose(const WizardWalk& walk) {
    const MessageDialog question = walk.PressForDialog(WizardId(kNextButton));
    EXPECT_EQ(question.Text(), kApplicationRunning);
    WizardWalk::AnswerWhenLabelled(question, kRussian.yes);
    return NotClosedQuestion(walk);
}

// Retry waits once more; Yes then ends the program before it has changed the earlier
// installation in the same folder, and the account asked for says how it ended.
TEST(InstallationFaultsTest, ApplicationThatStaysRetryThenAbortKeepsTheEarlierInstallation) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    Install(distribution.Folder(), dest.Path());
    const StubbornApplication application;
    const std::string log = dest.Path() + ".log";
    WizardWalk walk(distribution.Folder(), ShotsFolder(), Wide("/LOG=\"" + log + "\""));
    WalkToSummary(walk, dest.Path());
    const MessageDialog question = AgreeToClose(walk);
    walk.Shoot("not-closed");
    WizardWalk::Answer(question, "&Retry");
    WizardWalk::Answer(NotClosedQuestion(walk), kRussian.yes);
    EXPECT_EQ(walk.Setup().WaitExit(), static_cast<DWORD>(ui::kExitCancelled));
    EXPECT_TRUE(application.Running());
    ExpectSingleInstallation(Utf8(distribution.Folder()), dest);
    const std::string account = ReadBytes(Wide(log));
    DeleteFileW(Wide(log).c_str());
    EXPECT_TRUE(account.ends_with(" Exit code 1602\r\n")) << account;
}

// No goes on with the application still running, and the installation completes.
TEST(InstallationFaultsTest, ApplicationThatStaysAnsweredNoTheRunGoesOn) {
    const Distribution distribution(kDistributions + "single");
    const Destination dest;
    const StubbornApplication application;
    WizardWalk walk(distribution.Folder(), ShotsFolder());
    WalkToSummary(walk, dest.Path());
    WizardWalk::Answer(AgreeToClose(walk), kRussian.no);
    walk.WaitPage(kRussian.finish, kRunTimeout);
    EXPECT_EQ(LeaveFinishPage(walk), 0u);
    EXPECT_TRUE(application.Running());
    ExpectSingleInstallation(Utf8(distribution.Folder()), dest);
}

}  // namespace
