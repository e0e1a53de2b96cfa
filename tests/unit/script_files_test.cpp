#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "language/language.h"
#include "platform/fake/fake_platform.h"
#include "platform/profile.h"
#include "script/file_installation.h"
#include "script/shortcut.h"
#include "ui/fake/headless_application.h"
#include "ui/fake/scripted_dialogs.h"

namespace {

using platform::FakeOperation;
using platform::Result;

constexpr char kDist[] = "D:\\Dist";
constexpr char kDest[] = "C:\\Zinkolar";
constexpr std::int64_t kSecond = 10'000'000;  // file-time units
constexpr std::int64_t kTime = platform::FakeFileSystem::kDefaultTime;

// A distribution folder, an installation folder with its log, and the windows around them.
struct Rig {
    Rig() {
        p.files.AddDirectory(kDist);
        p.files.AddDirectory(kDest);
        p.files.AddDirectory("C:\\WINDOWS\\system32");
        ReopenLog();
        progress.Attach(p.clock, application);
    }

    // The log as a new run opens it.
    void ReopenLog() {
        log.reset();
        platform::Result<void> error;
        log = script::OpenInstallLog(p.files, p.codec, std::string(kDest) + "\\install.ini", error);
    }

    // The installation over a script (the lines of setup.ini).
    script::FileInstallation Installation(const std::string& script, int platform_code = 3,
                                          std::int64_t need_disk_space = 1000) {
        p.files.AddFile(std::string(kDist) + "\\setup.ini", script);
        return script::FileInstallation({p.files,
                                         p.codec,
                                         p.clock,
                                         p.shell,
                                         language,
                                         dialogs,
                                         *log,
                                         progress,
                                         [this] { ++background_updates; },
                                         std::string(kDist) + "\\setup.ini",
                                         {kDist, kDest, "C:\\WINDOWS\\system32", "C:\\Drivers"},
                                         platform_code,
                                         need_disk_space,
                                         p.trace});
    }

    void Source(const std::string& name, const std::string& bytes, std::int64_t time = kTime) {
        p.files.AddFile(std::string(kDist) + "\\" + name, bytes, time);
    }
    void Installed(const std::string& name, const std::string& bytes, std::int64_t time = kTime) {
        p.files.AddFile(std::string(kDest) + "\\" + name, bytes, time);
    }
    std::optional<std::string> At(const std::string& name) const {
        return p.files.Bytes(std::string(kDest) + "\\" + name);
    }

    // The records of a log section as "key=value", in file order.
    std::vector<std::string> Records(const std::string& section) const {
        std::vector<std::string> records;
        const platform::Profile profile =
            platform::LoadProfile(p.files, p.codec, std::string(kDest) + "\\install.ini");
        for (const auto& [key, value] : profile.Entries(section, platform::KeyLimit::None)) {
            records.push_back(key + "=" + value);
        }
        return records;
    }

    std::vector<std::string> DialogTexts() const {
        std::vector<std::string> texts;
        for (const ui::DialogRequest& request : dialogs.Shown()) {
            EXPECT_EQ(request.kind, ui::DialogKind::Error);
            EXPECT_EQ(request.buttons, std::vector<ui::DialogButton>{ui::DialogButton::Ok});
            texts.push_back(request.text);
        }
        return texts;
    }

    platform::FakePlatform p;
    language::Language language{p.files, p.codec, kDist};
    ui::ScriptedDialogs dialogs;
    ui::HeadlessApplication application;
    script::CopyFilesForm progress;
    std::unique_ptr<script::InstallLog> log;
    int background_updates = 0;
};

class FilesTest : public ::testing::Test, protected Rig {};

const std::string kError = "Ошибка при копировании файла C:\\Zinkolar\\";

TEST_F(FilesTest, FoldersAreRecordedWithTheirParentsDeepestFirst) {
    p.files.failures.Add({FakeOperation::CreateDirectory, "Broken"});
    Installation("[directory list]\r\n1=Data\\In\\Fax\r\n2=Data\\Out\r\n3=Broken\\Sub\r\n")
        .CreateFolders();
    EXPECT_EQ(Records("folder"),
              (std::vector<std::string>{"C:\\Zinkolar\\Data\\In\\Fax=1", "C:\\Zinkolar\\Data\\In=1",
                                        "C:\\Zinkolar\\Data=1", "C:\\Zinkolar\\Data\\Out=1",
                                        "C:\\Zinkolar\\Broken\\Sub=0", "C:\\Zinkolar\\Broken=1"}));
    EXPECT_TRUE(p.files.DirectoryExists("C:\\Zinkolar\\Data\\In\\Fax"));
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(FilesTest, SectionsRunInOrderWithTheirConditions) {
    Source("a.txt", "A-new");
    Source("b.txt", "B-new");
    Source("c.txt", "C-new");
    Source("n.txt", "NT only");
    Source("k.txt", "2K only");
    Installed("b.txt", "B-old");
    p.files.AddDirectory("C:\\Zinkolar\\dir.txt");
    Installation(
        "[main]\r\nx=1\r\n[Win2K]\r\nk.txt=k.txt\r\n[WinNT]\r\nn.txt=n.txt\r\n"
        "[if not exist]\r\nb.txt=b.txt\r\nc.txt=c.txt\r\na.txt=dir.txt\r\n"
        "[file list]\r\na.txt=a.txt\r\nk.txt=$\\k.dll\r\n",
        3)
        .InstallFiles();
    EXPECT_EQ(Records("file"),
              (std::vector<std::string>{"C:\\Zinkolar\\a.txt=1", "C:\\WINDOWS\\system32\\k.dll=1",
                                        "C:\\Zinkolar\\c.txt=1", "C:\\Zinkolar\\dir.txt=0",
                                        "C:\\Zinkolar\\k.txt=1"}));
    EXPECT_EQ(At("b.txt"), "B-old");
    EXPECT_FALSE(At("n.txt"));
    EXPECT_EQ(DialogTexts(), std::vector<std::string>{kError + "dir.txt"});
    EXPECT_EQ(background_updates, 1);
    EXPECT_EQ(progress.ProgressPosition(), 5 + 7 + 5 + 7);
    EXPECT_EQ(progress.GetForm()[script::CopyFilesForm::kFileLine].Text(),
              "Копируется файл: C:\\Zinkolar\\k.txt");  // the last file, painted at the end
}

struct CopyFailureCase {
    const char* label;
    bool source = true;
    std::optional<std::string> installed;  // the file at the destination before
    std::uint32_t installed_attributes = platform::kAttributeArchive;
    std::optional<platform::FailureRule> rule;
    std::string record;                // of the destination
    std::optional<std::string> after;  // the destination afterwards
};

const std::vector<CopyFailureCase> kCopyFailures = {
    {"copied over an older file", true, "old", platform::kAttributeArchive, {}, "1", "new file"},
    {"missing source", false, "old", platform::kAttributeArchive, {}, "0", "old"},
    {"disk full part-way over an existing file: the old file survives", true, "old",
     platform::kAttributeArchive,
     platform::FailureRule{FakeOperation::Copy, "f.dat", platform::kErrorDiskFull, 0, 3}, "0",
     "old"},
    {"disk full part-way into an empty place: no partial file", true, std::nullopt,
     platform::kAttributeArchive,
     platform::FailureRule{FakeOperation::Copy, "f.dat", platform::kErrorDiskFull, 0, 3}, "0",
     std::nullopt},
    {"read-only destination", true, "old", platform::kAttributeReadOnly, {}, "0", "old"},
    {"the copy cannot replace the file", true, "old", platform::kAttributeArchive,
     platform::FailureRule{FakeOperation::Move, "f.dat", platform::kErrorSharingViolation}, "0",
     "old"},
};

TEST_F(FilesTest, CopyFailures) {
    for (const CopyFailureCase& c : kCopyFailures) {
        SCOPED_TRACE(c.label);
        p.files.failures.Clear();
        dialogs.Clear();
        p.files.Remove(std::string(kDest) + "\\f.dat");
        p.files.Remove(std::string(kDist) + "\\f.dat");
        if (c.source) {
            Source("f.dat", "new file");
        }
        if (c.installed) {
            Installed("f.dat", *c.installed);
            ASSERT_TRUE(
                p.files.SetAttributes(std::string(kDest) + "\\f.dat", c.installed_attributes));
        }
        if (c.rule) {
            p.files.failures.Add(*c.rule);
        }
        auto installation = Installation("");
        const std::int64_t position = progress.ProgressPosition();
        const bool ok = c.record == "1";
        EXPECT_EQ(installation.CopyOneFile(std::string(kDist) + "\\f.dat",
                                           std::string(kDest) + "\\f.dat"),
                  ok);
        EXPECT_EQ(Records("file"), std::vector<std::string>{"C:\\Zinkolar\\f.dat=" + c.record});
        EXPECT_EQ(At("f.dat"), c.after);
        EXPECT_EQ(DialogTexts(),
                  ok ? std::vector<std::string>{} : std::vector<std::string>{kError + "f.dat"});
        EXPECT_EQ(progress.ProgressPosition(), position + (ok ? 8 : 0));
        // Nothing stays beside the file.
        EXPECT_EQ(p.files.FindFiles(std::string(kDest) + "\\f.dat?*")->size(), 0u);
    }
}

struct BackupCase {
    const char* label;
    std::optional<std::int64_t> installed_time;  // nullopt: no installed file
    bool source = true;
    std::vector<std::string> records;
    std::string after;  // the installed file afterwards
    int dialogs = 0;
};

const std::vector<BackupCase> kBackupCases = {
    {"same time: nothing", kTime, true, {}, "installed"},
    {"same two-second step: nothing", kTime + kSecond, true, {}, "installed"},
    {"installed file newer: saved, then replaced",
     kTime + 60 * kSecond,
     true,
     {"C:\\Zinkolar\\Backup\\00001\\f.dat=1", "C:\\Zinkolar\\f.dat=1"},
     "distribution"},
    {"installed file older: saved, then replaced",
     kTime - 2 * kSecond,
     true,
     {"C:\\Zinkolar\\Backup\\00001\\f.dat=1", "C:\\Zinkolar\\f.dat=1"},
     "distribution"},
    {"no installed file: copied without a backup folder",
     std::nullopt,
     true,
     {"C:\\Zinkolar\\f.dat=1"},
     "distribution"},
    {"missing source: a dialog and nothing else", kTime + 60 * kSecond, false, {}, "installed", 1},
};

TEST_F(FilesTest, BackupRule) {
    for (const BackupCase& c : kBackupCases) {
        SCOPED_TRACE(c.label);
        Rig fresh;  // a new installation folder and log for each case
        if (c.source) {
            fresh.Source("f.dat", "distribution", kTime);
        }
        if (c.installed_time) {
            fresh.Installed("f.dat", "installed", *c.installed_time);
        }
        fresh.Installation("[backup]\r\nf.dat=f.dat\r\n").InstallFiles();
        EXPECT_EQ(fresh.Records("file"), c.records);
        EXPECT_EQ(fresh.At("f.dat"), c.after);
        EXPECT_EQ(fresh.p.files.DirectoryExists("C:\\Zinkolar\\Backup"), c.records.size() == 2);
        EXPECT_EQ(fresh.dialogs.Shown().size(), static_cast<std::size_t>(c.dialogs));
        if (c.records.size() == 2) {
            EXPECT_EQ(fresh.At("Backup\\00001\\f.dat"), "installed");
        }
    }
}

TEST_F(FilesTest, NextBackupFolderNumber) {
    p.files.AddDirectory("C:\\Zinkolar\\Backup\\00003");
    p.files.AddDirectory("C:\\Zinkolar\\Backup\\7");
    Installed("Backup\\notes.txt", "x");
    EXPECT_EQ(Installation("").NewBackupFolder(), "C:\\Zinkolar\\Backup\\00008");
    EXPECT_TRUE(p.files.DirectoryExists("C:\\Zinkolar\\Backup\\00008"));
    p.files.AddDirectory("C:\\Zinkolar\\Backup\\123456");
    EXPECT_EQ(Installation("").NewBackupFolder(), "C:\\Zinkolar\\Backup\\123457");
}

// A saved copy is never written over: a hidden folder counts as any other.
TEST_F(FilesTest, NewBackupFolderPassesHiddenOnes) {
    p.files.AddDirectory("C:\\Zinkolar\\Backup\\00001");
    Installed("Backup\\00002\\f.dat", "saved earlier");
    ASSERT_TRUE(
        p.files.SetAttributes("C:\\Zinkolar\\Backup\\00002\\f.dat", platform::kAttributeHidden));
    Installed("Backup\\00003", "a hidden file");
    ASSERT_TRUE(p.files.SetAttributes("C:\\Zinkolar\\Backup\\00003", platform::kAttributeHidden));
    EXPECT_EQ(Installation("").NewBackupFolder(), "C:\\Zinkolar\\Backup\\00004");
    EXPECT_EQ(At("Backup\\00002\\f.dat"), "saved earlier");
}

// One backup folder per run; the user's file is saved once and never overwritten by this run's
// own copy; another file of the same name gets its own name there.
TEST_F(FilesTest, BackupsOfOneRunShareAFolderAndNeverOverwriteEachOther) {
    Source("f.dat", "first", kTime);
    Source("g.dat", "second", kTime + 10 * kSecond);
    Source("sub\\f.dat", "other", kTime);
    Installed("f.dat", "users f", kTime + 60 * kSecond);
    p.files.AddDirectory("C:\\Zinkolar\\Data");
    p.files.AddFile("C:\\Zinkolar\\Data\\f.dat", "users data f", kTime + 60 * kSecond);
    Installation("[backup]\r\nf.dat=f.dat\r\ng.dat=f.dat\r\nsub\\f.dat=Data\\f.dat\r\n")
        .InstallFiles();
    EXPECT_EQ(At("Backup\\00001\\f.dat"), "users f");
    EXPECT_EQ(At("Backup\\00001\\f.dat.2"), "users data f");
    EXPECT_EQ(At("f.dat"), "second");
    EXPECT_EQ(At("Data\\f.dat"), "other");
    EXPECT_FALSE(p.files.DirectoryExists("C:\\Zinkolar\\Backup\\00002"));
}

TEST_F(FilesTest, AFailedBackupLeavesTheInstalledFileAlone) {
    const std::vector<platform::FailureRule> rules = {
        {FakeOperation::Copy, "Backup", platform::kErrorDiskFull, 0, 2},
        {FakeOperation::CreateDirectory, "Backup", platform::kErrorAccessDenied},
    };
    for (const platform::FailureRule& rule : rules) {
        Rig fresh;
        fresh.Source("f.dat", "distribution", kTime);
        fresh.Installed("f.dat", "installed", kTime + 60 * kSecond);
        fresh.p.files.failures.Add(rule);
        fresh.Installation("[backup]\r\nf.dat=f.dat\r\n").InstallFiles();
        EXPECT_EQ(fresh.At("f.dat"), "installed");
        EXPECT_EQ(fresh.DialogTexts(), std::vector<std::string>{kError + "f.dat"});
        for (const std::string& record : fresh.Records("file")) {
            EXPECT_EQ(record.find("C:\\Zinkolar\\f.dat="), std::string::npos) << record;
        }
    }
}

// Runs killed while they make a new file, then a normal run, whichever section copies it. No
// kill leaves a whole file without its record, which the uninstaller would leave behind and
// which "if not exist" and "backup" would keep unrecorded for good; the next run leaves the file
// whole and recorded. Killed before its mark for removal, the copy is left empty under its name,
// recognisable as unfinished; a run after it puts a new copy there, recorded as any new one.
TEST_F(FilesTest, NoKillLeavesAWholeFileWithoutItsRecord) {
    using enum platform::FakeKillMoment;
    enum class Left { Nothing, Unfinished, Whole };
    const struct {
        const char* label;
        std::vector<platform::FakeKillMoment> kills;  // one run each
        Left left;                                    // after the last kill
        bool recorded;
    } cases[] = {
        {"before the mark", {Created}, Left::Unfinished, false},
        {"while writing", {Writing}, Left::Nothing, false},
        {"after the record, before the copy is kept", {BeforeKept}, Left::Nothing, true},
        {"once the copy is kept", {Kept}, Left::Whole, true},
        {"before the mark, then writing again", {Created, Writing}, Left::Nothing, false},
        {"before the mark, then after the record", {Created, BeforeKept}, Left::Nothing, true},
        {"before the mark, then once kept", {Created, Kept}, Left::Whole, true},
    };
    const std::string file = std::string(kDest) + "\\f.dat";
    const std::vector<std::string> record = {file + "=1"};
    for (const char* section : {"file list", "if not exist", "backup", "Win2K"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(section) + ", killed " + c.label);
            Rig fresh;
            fresh.Source("f.dat", "distribution", kTime - 60 * kSecond);
            const std::string script = "[" + std::string(section) + "]\r\nf.dat=f.dat\r\n";
            for (const platform::FakeKillMoment moment : c.kills) {
                fresh.p.files.kill = platform::FakeKill{"f.dat", moment};
                EXPECT_THROW(fresh.Installation(script).InstallFiles(), platform::FakeKilled);
                fresh.ReopenLog();
            }
            const platform::Result<platform::FileInfo> left = fresh.p.files.Info(file);
            EXPECT_EQ(!left                ? Left::Nothing
                      : left->Unfinished() ? Left::Unfinished
                                           : Left::Whole,
                      c.left);
            if (c.left == Left::Whole) {
                EXPECT_EQ(fresh.At("f.dat"), "distribution");
            }
            EXPECT_EQ(fresh.Records("file"), c.recorded ? record : std::vector<std::string>{});

            fresh.Installation(script).InstallFiles();
            EXPECT_EQ(fresh.At("f.dat"), "distribution");
            EXPECT_EQ(fresh.p.files.Info(file)->attributes, platform::kAttributeArchive);
            EXPECT_EQ(fresh.Records("file"), record);
            EXPECT_TRUE(fresh.DialogTexts().empty());
            EXPECT_FALSE(fresh.p.files.DirectoryExists(std::string(kDest) + "\\Backup"))
                << "an unfinished copy is nothing to keep";
        }
    }
}

// A run killed while it replaces an installed file, then a normal run. A file saved in the
// backup folder is recorded before it is replaced: killed before the copy is in place, the
// record names the user's file, which the uninstaller puts back from its saved copy. Any other
// file there is recorded only once replaced, as it may be the user's and is not saved; the next
// run replaces it again.
TEST_F(FilesTest, AKillWhileAFileIsReplacedLeavesItRecordedOnlyWhereItIsSaved) {
    using enum platform::FakeKillMoment;
    const struct {
        const char* section;
        platform::FakeKillMoment moment;
        const char* left;
        bool recorded;
    } cases[] = {
        {"backup", BeforeKept, "users f", true},
        {"backup", Kept, "distribution", true},
        {"file list", BeforeKept, "users f", false},
        {"file list", Kept, "distribution", false},
    };
    const std::string record = std::string(kDest) + "\\f.dat=1";
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + (c.moment == Kept ? ", once in place" : ", before"));
        Rig fresh;
        fresh.Source("f.dat", "distribution", kTime);
        fresh.Installed("f.dat", "users f", kTime + 60 * kSecond);
        const std::string script = "[" + std::string(c.section) + "]\r\nf.dat=f.dat\r\n";
        fresh.p.files.kill = platform::FakeKill{"Zinkolar\\f.dat", c.moment};
        EXPECT_THROW(fresh.Installation(script).InstallFiles(), platform::FakeKilled);
        fresh.ReopenLog();
        EXPECT_EQ(fresh.At("f.dat"), c.left);
        EXPECT_EQ(std::ranges::count(fresh.Records("file"), record), c.recorded ? 1 : 0);

        fresh.Installation(script).InstallFiles();
        EXPECT_EQ(fresh.At("f.dat"), "distribution");
        EXPECT_EQ(std::ranges::count(fresh.Records("file"), record), 1);
        if (std::string_view(c.section) == "backup") {
            EXPECT_EQ(fresh.At("Backup\\00001\\f.dat"), "users f");
        }
    }
}

// A new copy whose record cannot be written is abandoned: no file is there that the log does
// not name. One that fails after its record ends recorded as failed, as every failed copy.
TEST_F(FilesTest, ACopyFailingAroundItsRecordLeavesNothingAndIsRecordedAsFailed) {
    const platform::FailureRule rules[] = {
        {FakeOperation::Write, "install.ini", platform::kErrorDiskFull, 1},
        {FakeOperation::KeepCopy, "f.dat", platform::kErrorDiskFull},
    };
    for (const platform::FailureRule& rule : rules) {
        Rig fresh;
        fresh.Source("f.dat", "distribution");
        fresh.p.files.failures.Add(rule);
        fresh.Installation("[file list]\r\nf.dat=f.dat\r\n").InstallFiles();
        EXPECT_FALSE(fresh.p.files.Info(std::string(kDest) + "\\f.dat"));
        EXPECT_EQ(fresh.Records("file"), std::vector<std::string>{"C:\\Zinkolar\\f.dat=0"});
        EXPECT_EQ(fresh.DialogTexts(), std::vector<std::string>{kError + "f.dat"});
    }
}

// Only an empty file marked hidden and system, as a new copy is made, counts as a killed run's
// unfinished copy; any other file under the name of an "if not exist" line is the user's.
TEST_F(FilesTest, IfNotExistKeepsEveryFileButAnUnfinishedCopy) {
    using platform::kAttributeArchive, platform::kAttributeHidden, platform::kAttributeSystem,
        platform::kAttributeReadOnly;
    const struct {
        const char* label;
        std::string bytes;
        std::uint32_t attributes;
        std::string after;
    } cases[] = {
        {"unfinished copy", "", kAttributeArchive | kAttributeHidden | kAttributeSystem,
         "distribution"},
        {"the user's empty file", "", kAttributeArchive, ""},
        {"an empty hidden file", "", kAttributeHidden, ""},
        {"an empty read-only hidden system file", "",
         kAttributeHidden | kAttributeSystem | kAttributeReadOnly, ""},
        {"a hidden system file with bytes", "user", kAttributeHidden | kAttributeSystem, "user"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Rig fresh;
        fresh.Source("f.dat", "distribution");
        fresh.Installed("f.dat", c.bytes);
        ASSERT_TRUE(fresh.p.files.SetAttributes(std::string(kDest) + "\\f.dat", c.attributes));
        fresh.Installation("[if not exist]\r\nf.dat=f.dat\r\n").InstallFiles();
        EXPECT_EQ(fresh.At("f.dat"), c.after);
        EXPECT_TRUE(fresh.DialogTexts().empty());
    }
}

TEST_F(FilesTest, CommonShortcuts) {
    p.shell.failures.Add({FakeOperation::SaveLink, "Broken"});
    p.shell.failures.Add({FakeOperation::MakeLink, "NoObject"});
    Installation(
        "[common shortcut list]\r\ntool.exe /a /b=Tool\r\nreadme.txt=Read me\r\nx.exe=Broken\r\n"
        "y.exe=NoObject\r\n")
        .CreateCommonShortcuts("C:\\Menu\\Zinkolar");
    const auto link = p.shell.ReadLink("C:\\Menu\\Zinkolar\\Tool.lnk");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, "C:\\Zinkolar\\tool.exe");
    EXPECT_EQ(link->arguments, "/a /b");
    EXPECT_EQ(link->working_directory, kDest);
    EXPECT_EQ(Records("file"), (std::vector<std::string>{"C:\\Menu\\Zinkolar\\Tool.lnk=1",
                                                         "C:\\Menu\\Zinkolar\\Read me.lnk=1",
                                                         "C:\\Menu\\Zinkolar\\Broken.lnk=0"}));
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(FilesTest, NoShortcutListMakesNoGroupFolder) {
    Installation("[file list]\r\na=a\r\n").CreateCommonShortcuts("C:\\Menu\\Zinkolar");
    EXPECT_FALSE(p.files.DirectoryExists("C:\\Menu\\Zinkolar"));
}

TEST_F(FilesTest, AShortcutWithoutAFolderIsNotMade) {
    script::CreateShortcut(p.shell, *log, "C:\\Zinkolar\\zinkolar.exe", "", "\\Zinkolar 5.0.lnk",
                           kDest);
    EXPECT_TRUE(p.shell.links.empty());
    EXPECT_TRUE(Records("file").empty());
}

struct BarCase {
    std::int64_t maximum;
    std::int64_t position;
    int bar_position;
    int bar_maximum;
};

TEST_F(FilesTest, ProgressBarIsClampedToItsRange) {
    const std::vector<BarCase> cases = {
        {1000, 250, 250, 1000},
        {1000, 1500, 1000, 1000},  // more copied than announced: full
        {0, 10, 1, 1},             // nothing announced: full, no division
        {-5, 0, 1, 1},
        {1000, -3, 0, 1000},
        {5'000'000'000, 2'500'000'000, 625'000'000, 1'250'000'000},  // beyond 32 bits
    };
    for (const BarCase& c : cases) {
        progress.SetProgressRange(c.maximum);
        progress.SetProgressPosition(c.position);
        progress.Flush();
        const ui::Control& bar = progress.GetForm()[script::CopyFilesForm::kProgressBar];
        EXPECT_EQ(bar.ProgressPosition(), c.bar_position) << c.maximum << " " << c.position;
        EXPECT_EQ(bar.ProgressMaximum(), c.bar_maximum) << c.maximum << " " << c.position;
    }
}

// What the uninstall entry reports as the installation's size.
TEST_F(FilesTest, InstalledBytesCountEachCopiedFileOnce) {
    Source("a.txt", "A-new");
    Source("bb.txt", "BB-data");
    Source("c.txt", "CCC");
    auto installation = Installation(
        "[file list]\r\na.txt=a.txt\r\nbb.txt=A.TXT\r\nc.txt=c.txt\r\nmissing.txt=m.txt\r\n");
    EXPECT_EQ(installation.InstalledBytes(), 0);
    installation.InstallFiles();
    EXPECT_EQ(Records("file").back(), "C:\\Zinkolar\\m.txt=0");
    EXPECT_EQ(installation.InstalledBytes(), 7 + 3);  // a.txt at its second copy's size
}

TEST_F(FilesTest, TheFileLineIsPaintedAtMostEveryInterval) {
    ui::Form& form = progress.GetForm();
    EXPECT_FALSE(form[script::CopyFilesForm::kFileLine].Visible()) << "it would hide the step line";
    progress.CopyModeOn(language);
    EXPECT_TRUE(form[script::CopyFilesForm::kFileLine].Visible());
    EXPECT_FALSE(form[script::CopyFilesForm::kStepPicture].Visible());
    EXPECT_TRUE(form[script::CopyFilesForm::kProgressBar].Visible());
    EXPECT_EQ(form[script::CopyFilesForm::kFileLine].Text(), "Копируется файл:");
    const int drained = application.drained;
    progress.ShowCopyingFile("one");
    EXPECT_EQ(form[script::CopyFilesForm::kFileLine].Text(),
              "Копируется файл:");  // painted a moment ago
    p.clock.milliseconds += script::CopyFilesForm::kRepaintInterval;
    progress.ShowCopyingFile("two");
    EXPECT_EQ(form[script::CopyFilesForm::kFileLine].Text(), "two");
    EXPECT_EQ(application.drained, drained + 1);
    progress.ShowCopyingFile("three");
    progress.Flush();
    EXPECT_EQ(form[script::CopyFilesForm::kFileLine].Text(), "three");
    progress.CopyModeOff("Создание ярлыков...");
    EXPECT_FALSE(form[script::CopyFilesForm::kFileLine].Visible());
    EXPECT_EQ(form[script::CopyFilesForm::kStepText].Text(), "Создание ярлыков...");
    EXPECT_TRUE(form[script::CopyFilesForm::kStepPicture].Visible());
    EXPECT_FALSE(form[script::CopyFilesForm::kProgressBar].Visible());
    form.SetVisible(true);
    form.RequestClose();
    EXPECT_TRUE(form.Visible());
}

}  // namespace
