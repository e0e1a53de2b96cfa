// The conversions on whole files: what they ask, the order of the merged log book, and what a
// failure leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/convert.h"
#include "convert/phone_book.h"
#include "platform/fake/fake_files.h"
#include "short_name_matches.h"
#include "ui/fake/scripted_dialogs.h"

namespace {

using platform::FailureRule;
using platform::FakeOperation;
using Names = std::vector<std::string>;

constexpr const char* kOld = "C:\\Old";
constexpr const char* kNew = "C:\\New";
constexpr const char* kReceive = "C:\\Old\\service\\receive.zlg";
constexpr const char* kSend = "C:\\Old\\service\\send.zlg";
constexpr const char* kLogBook = "C:\\New\\service\\logbook.zlg";
constexpr std::size_t kOldLog = 919;
constexpr std::size_t kLog = 812;
constexpr std::size_t kOldPhone = 698;
constexpr std::size_t kPhone = 1121;

std::string Le16(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::uint32_t Get32(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::uint32_t{static_cast<unsigned char>(bytes[offset + i])} << (8 * i);
    return value;
}

struct When {
    std::uint16_t year = 2003, month = 4, day = 5, hour = 12, minute = 0, second = 0;
};

// An old log record named by its first item text.
std::string OldLog(std::string_view name, When when = {}, std::string_view second_item = "") {
    std::string record(kOldLog, '\0');
    record.replace(0, 12,
                   Le16(when.year) + Le16(when.month) + Le16(when.day) + Le16(when.hour) +
                       Le16(when.minute) + Le16(when.second));
    record.replace(16, name.size(), name);
    record.replace(461, second_item.size(), second_item);
    return record;
}

class ConvertFiles : public testing::Test {
  protected:
    platform::FakeFileSystem files;
    platform::Cp1251Codec codec;
    language::Language language{files, codec, "D:\\dist"};
    ui::ScriptedDialogs dialogs;
    std::vector<std::string> progress;
    convert::Context context{files, codec, language, dialogs,
                             [this](const std::string& text) { progress.push_back(text); }};

    ConvertFiles() {
        files.AddDirectory("C:\\New\\service");
        files.AddDirectory("C:\\New\\PhoneBooks");
    }

    std::uint32_t LogBook(const std::string& version = "4.10") {
        return convert::ConvertLogBook(context, kOld, version, kNew);
    }
    void PhoneBooks(const std::string& version = "4.10") {
        convert::ConvertPhoneBooks(context, kOld, version, kNew);
    }

    // The texts of the dialogs shown, in order.
    Names Dialogs() const {
        Names texts;
        for (const ui::DialogRequest& request : dialogs.Shown())
            texts.push_back(request.text);
        return texts;
    }

    Names Folder(const std::string& folder) const {
        Names names;
        for (const platform::FileEntry& entry : files.FindFiles(folder + "\\*").value_or({})) {
            if (!entry.directory)
                names.push_back(entry.name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The log book's records after the header, each named by its item text and its flags.
    Names LogBookEntries() const {
        const std::string bytes = files.Bytes(kLogBook).value_or("");
        EXPECT_EQ(bytes.size() % kLog, 0U);
        EXPECT_EQ(Get32(bytes, 708), bytes.size() / kLog - 1) << "header count";
        EXPECT_EQ(Get32(bytes, 712), 1U);
        Names entries;
        for (std::size_t offset = kLog; offset + kLog <= bytes.size(); offset += kLog) {
            const std::string record = bytes.substr(offset, kLog);
            EXPECT_EQ(Get32(record, 708), offset / kLog) << "record number";
            entries.push_back(std::string(record.c_str() + 202) + "/" +
                              std::to_string(Get32(record, 556) & 0xFFFF));
        }
        return entries;
    }
};

const std::string kAskLog =
    "Обнаружен журнал в старом формате. Конвертировать его в новый формат "
    "для дальнейшего использования?";
const std::string kLogError = "Ошибка при конвертации журнала в новый формат.";
const std::string kAskPhone =
    "Обнаружен(ы) справочник(и) в старом формате. Конвертировать в новый "
    "формат для дальнейшего использования?";
const std::string kPhoneError = "Ошибка при конвертации справочника в новый формат.";

TEST_F(ConvertFiles, NoVersion4InstallationAsksNothing) {
    files.AddFile(kSend, OldLog("s"));
    files.AddFile("C:\\Old\\spr\\a.zkb", "");
    files.AddFile("\\service\\send.zlg", OldLog("root"));
    files.AddFile("\\spr\\a.zkb", "");
    for (const auto& [folder, version] :
         {std::pair{kOld, "5.0"}, {kOld, ""}, {kOld, "3.4"}, {"", "4.10"}}) {
        EXPECT_EQ(convert::ConvertLogBook(context, folder, version, kNew), 0U);
        convert::ConvertPhoneBooks(context, folder, version, kNew);
    }
    EXPECT_EQ(Dialogs(), Names{});
    EXPECT_EQ(Folder("C:\\New\\service"), Names{});
    EXPECT_EQ(Folder("C:\\New\\PhoneBooks"), Names{});
}

TEST_F(ConvertFiles, NoOldLogAsksNothing) {
    EXPECT_EQ(LogBook(), 0U);
    EXPECT_EQ(Dialogs(), Names{});
}

TEST_F(ConvertFiles, DecliningWritesNothing) {
    files.AddFile(kSend, OldLog("s"));
    files.AddFile("C:\\Old\\spr\\a.zkb", "");
    dialogs.Answer(ui::DialogButton::No);
    dialogs.Answer(ui::DialogButton::No);
    PhoneBooks();
    EXPECT_EQ(LogBook(), 0U);
    EXPECT_EQ(Dialogs(), (Names{kAskPhone, kAskLog}));
    EXPECT_EQ(progress, Names{});
    EXPECT_EQ(Folder("C:\\New\\service"), Names{});
    EXPECT_EQ(Folder("C:\\New\\PhoneBooks"), Names{});
}

TEST_F(ConvertFiles, SendLogAloneIsNumberedAndFlagged) {
    files.AddFile(kSend, OldLog("a") + OldLog("b") + OldLog("c"));
    EXPECT_EQ(LogBook(), 3U);
    EXPECT_EQ(Dialogs(), Names{kAskLog});
    EXPECT_EQ(dialogs.Shown()[0].title, "Confirm");
    EXPECT_EQ(dialogs.Shown()[0].captions, (Names{"&Yes", "&No"}));
    EXPECT_EQ(progress, Names{"Конвертация журнала..."});
    EXPECT_EQ(LogBookEntries(), (Names{"a/16", "b/16", "c/16"}));
    EXPECT_EQ(Folder("C:\\New\\service"), Names{"logbook.zlg"});
}

struct MergeCase {
    const char* name;
    std::string receive;
    std::string send;
    Names entries;
};

// Records named by their hour; receive entries have flags 0, send entries 16.
std::string Hours(std::initializer_list<std::uint16_t> hours) {
    std::string bytes;
    for (std::uint16_t hour : hours)
        bytes += OldLog(std::to_string(hour), When{.hour = hour});
    return bytes;
}

class LogBookMerge : public ConvertFiles, public testing::WithParamInterface<MergeCase> {};

TEST_P(LogBookMerge, WritesEveryRecordOnceInDateAndTimeOrder) {
    files.AddFile(kReceive, GetParam().receive);
    files.AddFile(kSend, GetParam().send);
    EXPECT_EQ(LogBook(), GetParam().entries.size());
    EXPECT_EQ(LogBookEntries(), GetParam().entries);
    EXPECT_EQ(Dialogs(), Names{kAskLog});
}

INSTANTIATE_TEST_SUITE_P(
    Convert, LogBookMerge,
    testing::Values(
        MergeCase{
            "Interleaved", Hours({10, 12}), Hours({11, 12}), {"10/0", "11/16", "12/0", "12/16"}},
        MergeCase{"EqualInstantsReceivedFirst", Hours({9}), Hours({9}), {"9/0", "9/16"}},
        MergeCase{"OneRecordEach", Hours({14}), Hours({13}), {"13/16", "14/0"}},
        MergeCase{"ReceiveLogEmpty", "", Hours({8, 7}), {"8/16", "7/16"}},
        MergeCase{"SendLogEmpty", Hours({8, 7}), "", {"8/0", "7/0"}},
        MergeCase{
            "UnsortedInputIsNotSorted", Hours({12, 10}), Hours({11}), {"11/16", "12/0", "10/0"}},
        MergeCase{"TrailingPartIgnored",
                  Hours({10}) + std::string(81, 'x'),
                  Hours({11}) + std::string(kOldLog - 1, 'y'),
                  {"10/0", "11/16"}},
        MergeCase{"LeapDay",
                  OldLog("leap", When{.year = 2004, .month = 2, .day = 29}),
                  Hours({1}),
                  {"1/16", "leap/0"}},
        MergeCase{
            "InvalidDateInOneLogAloneIsKept", OldLog("bad", When{.month = 13}), "", {"bad/0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConvertFiles, PairsNumberEveryRecordAndCountThem) {
    files.AddFile(kReceive, OldLog("r1", When{.hour = 1}, "r1b") + OldLog("r2", When{.hour = 3}));
    files.AddFile(kSend, OldLog("s1", When{.hour = 2}, "s1b"));
    EXPECT_EQ(LogBook(), 5U);
    EXPECT_EQ(LogBookEntries(), (Names{"r1/0", "r1b/32", "s1/16", "s1b/48", "r2/0"}));
}

// The log book as an earlier installation left it in the new folder.
const std::string kExistingLogBook(2 * kLog, 'E');

class LogBookFailure : public ConvertFiles, public testing::WithParamInterface<FailureRule> {};

TEST_P(LogBookFailure, ShowsTheErrorAndLeavesTheFoldersAsTheyWere) {
    const std::string receive = Hours({10, 12}) + OldLog("late", When{.hour = 23});
    const std::string send = Hours({11});
    files.AddFile(kReceive, receive);
    files.AddFile(kSend, send);
    files.AddFile(kLogBook, kExistingLogBook);
    files.failures.Add(GetParam());
    EXPECT_EQ(LogBook(), 0U);
    EXPECT_EQ(Dialogs(), (Names{kAskLog, kLogError}));
    EXPECT_EQ(dialogs.Shown()[1].title, "Error");
    EXPECT_EQ(Folder("C:\\New\\service"), Names{"logbook.zlg"});
    EXPECT_EQ(files.Bytes(kLogBook), kExistingLogBook);
    EXPECT_EQ(files.Bytes(kReceive), receive);
    EXPECT_EQ(files.Bytes(kSend), send);
}

INSTANTIATE_TEST_SUITE_P(Convert, LogBookFailure,
                         testing::Values(FailureRule{FakeOperation::Open, "send.zlg"},
                                         FailureRule{FakeOperation::Open, "logbook"},
                                         FailureRule{FakeOperation::Read, "receive.zlg"},
                                         FailureRule{.operation = FakeOperation::Write,
                                                     .path = "logbook",
                                                     .error = platform::kErrorDiskFull,
                                                     .after_bytes = 3 * kLog + 100},
                                         FailureRule{FakeOperation::Move, "logbook"}));

TEST_F(ConvertFiles, InvalidDateDuringAMergeIsAnError) {
    const When invalid[] = {{.year = 0},
                            {.year = 10000},
                            {.month = 0},
                            {.month = 13},
                            {.day = 0},
                            {.month = 4, .day = 31},
                            {.month = 2, .day = 29},
                            {.hour = 24},
                            {.minute = 60},
                            {.second = 60}};
    for (const When& when : invalid) {
        files.AddFile(kReceive, Hours({1}));
        files.AddFile(kSend, Hours({2, 3}) + OldLog("bad", when));
        dialogs.Clear();
        EXPECT_EQ(LogBook(), 0U);
        EXPECT_EQ(Dialogs(), (Names{kAskLog, kLogError}));
        EXPECT_EQ(Folder("C:\\New\\service"), Names{});
    }
}

TEST_F(ConvertFiles, NoServiceFolderIsAnError) {
    files.Remove("C:\\New\\service");
    files.AddFile(kSend, Hours({1}));
    EXPECT_EQ(LogBook(), 0U);
    EXPECT_EQ(Dialogs(), (Names{kAskLog, kLogError}));
}

const char* const kOldSchedule = "C:\\New\\service\\zinkol1.zks";
const char* const kSchedule = "C:\\New\\service\\zinkol3.zks";

TEST_F(ConvertFiles, ScheduleRecordsAreWidenedAndTheOldFileDeleted) {
    std::string old(88, '\0');
    for (std::size_t i = 0; i < old.size(); ++i)
        old[i] = static_cast<char>(i + 1);
    files.AddFile(kOldSchedule, old + "tail");
    convert::ConvertSchedule(context, kNew);
    const std::string tail = std::string(4, '\xFF') + std::string(12, '\0');
    EXPECT_EQ(files.Bytes(kSchedule), old.substr(0, 44) + tail + old.substr(44) + tail);
    EXPECT_EQ(Folder("C:\\New\\service"), Names{"zinkol3.zks"});
    EXPECT_EQ(Dialogs(), Names{});
}

TEST_F(ConvertFiles, NoOldScheduleDoesNothing) {
    convert::ConvertSchedule(context, kNew);
    EXPECT_EQ(Folder("C:\\New\\service"), Names{});
    EXPECT_EQ(Dialogs(), Names{});
}

TEST_F(ConvertFiles, FailedScheduleKeepsBothFilesAsTheyWere) {
    const std::string old(44 * 100, 'o');
    const FailureRule rules[] = {{FakeOperation::Read, "zinkol1"},
                                 {.operation = FakeOperation::Write,
                                  .path = "zinkol3",
                                  .error = platform::kErrorDiskFull,
                                  .after_bytes = 1000},
                                 {FakeOperation::Move, "zinkol3"}};
    for (const FailureRule& rule : rules) {
        files.AddFile(kOldSchedule, old);
        files.AddFile(kSchedule, "earlier");
        files.failures.Clear();
        files.failures.Add(rule);
        dialogs.Clear();
        convert::ConvertSchedule(context, kNew);
        EXPECT_EQ(Dialogs(), Names{kLogError});
        EXPECT_EQ(files.Bytes(kOldSchedule), old);
        EXPECT_EQ(files.Bytes(kSchedule), "earlier");
        EXPECT_EQ(Folder("C:\\New\\service"), (Names{"zinkol1.zks", "zinkol3.zks"}));
    }
}

std::string OldPhone(char fill) {
    std::string record(kOldPhone, '\0');
    record[0] = 1;
    record[1] = fill;
    return record;
}

TEST_F(ConvertFiles, PhoneBooksAreConvertedAfterOneQuestion) {
    files.AddFile("C:\\Old\\spr\\clients.zkb", OldPhone('c') + OldPhone('d'));
    files.AddFile("C:\\Old\\spr\\empty.zkb", "");
    files.AddFile("C:\\Old\\spr\\a.b.zkb", OldPhone('x'));
    files.AddFile("C:\\Old\\spr\\a.zkb", OldPhone('y'));
    files.AddFile("C:\\Old\\spr\\notes.txt", "");
    files.AddDirectory("C:\\Old\\spr\\folder.zkb");
    files.AddFile("C:\\New\\PhoneBooks\\clients.bzk", "earlier");
    PhoneBooks();
    EXPECT_EQ(Dialogs(), Names{kAskPhone});
    EXPECT_EQ(progress, Names{"Конвертация справочников..."});
    EXPECT_EQ(Folder("C:\\New\\PhoneBooks"),
              (Names{"a.b.bzk", "a.bzk", "clients.bzk", "empty.bzk"}));
    const std::string clients = files.Bytes("C:\\New\\PhoneBooks\\clients.bzk").value();
    ASSERT_EQ(clients.size(), 3363U);
    EXPECT_EQ(clients.substr(kPhone, 2), "\1c");
    EXPECT_EQ(clients.substr(2 * kPhone, 2), "\1d");
    EXPECT_EQ(files.Bytes("C:\\New\\PhoneBooks\\empty.bzk")->size(), kPhone);
    EXPECT_EQ(files.Bytes("C:\\New\\PhoneBooks\\a.b.bzk")->substr(kPhone, 2), "\1x");
    EXPECT_EQ(files.Bytes("C:\\New\\PhoneBooks\\a.bzk")->substr(kPhone, 2), "\1y");
}

TEST_F(ConvertFiles, NoOldPhoneBookAsksNothing) {
    files.AddFile("C:\\Old\\spr\\notes.txt", "");
    PhoneBooks();
    EXPECT_EQ(Dialogs(), Names{});
}

TEST_F(ConvertFiles, NoPhoneBooksFolderIsAnError) {
    files.Remove("C:\\New\\PhoneBooks");
    files.AddFile("C:\\Old\\spr\\a.zkb", OldPhone('a'));
    PhoneBooks();
    EXPECT_EQ(Dialogs(), (Names{kAskPhone, kPhoneError}));
    EXPECT_FALSE(files.DirectoryExists("C:\\New\\PhoneBooks"));
}

TEST_F(ConvertFiles, FailedPhoneBookStopsThereAndLeavesItsFolderAsItWas) {
    // The search gives the names in this order.
    files.AddFile("C:\\Old\\spr\\1.zkb", OldPhone('1'));
    files.AddFile("C:\\Old\\spr\\2.zkb", std::string(10 * kOldPhone, 'p'));
    files.AddFile("C:\\Old\\spr\\3.zkb", OldPhone('3'));
    files.AddFile("C:\\New\\PhoneBooks\\2.bzk", "earlier");
    files.failures.Add({.operation = FakeOperation::Write,
                        .path = "2.bzk",
                        .error = platform::kErrorDiskFull,
                        .after_bytes = 3 * kPhone});
    PhoneBooks();
    EXPECT_EQ(Dialogs(), (Names{kAskPhone, kPhoneError}));
    EXPECT_EQ(Folder("C:\\New\\PhoneBooks"), (Names{"1.bzk", "2.bzk"}));
    EXPECT_EQ(files.Bytes("C:\\New\\PhoneBooks\\1.bzk")->size(), 2 * kPhone);
    EXPECT_EQ(files.Bytes("C:\\New\\PhoneBooks\\2.bzk"), "earlier");
}

}  // namespace

namespace {

// The console tool keeps a file it replaces: at the first free "<name>.bak", "<name>.2.bak" ...,
// and is told where; a file that cannot be kept is not replaced.
struct KeepCase {
    const char* label;
    Names there;  // files in C:\New\service before the conversion
    std::optional<FailureRule> rule;
    Names told;
    Names after;  // files in C:\New\service afterwards
    Names dialogs;
};

class ConvertKeep : public ConvertFiles, public testing::WithParamInterface<KeepCase> {};

TEST_P(ConvertKeep, KeepsWhatItReplaces) {
    const KeepCase& c = GetParam();
    Names told;
    context.keep_replaced = [&](const std::string& kept) { told.push_back(kept); };
    files.AddFile(kReceive, OldLog("r"));
    for (const std::string& name : c.there)
        files.AddFile("C:\\New\\service\\" + name, name + " earlier");
    if (c.rule)
        files.failures.Add(*c.rule);
    LogBook();
    EXPECT_EQ(told, c.told);
    EXPECT_EQ(Folder("C:\\New\\service"), c.after);
    EXPECT_EQ(Dialogs(), c.dialogs);
    for (const std::string& kept : told)
        EXPECT_EQ(files.Bytes(kept), "logbook.zlg earlier");
    if (c.rule)
        EXPECT_EQ(files.Bytes(kLogBook), "logbook.zlg earlier");
}

INSTANTIATE_TEST_SUITE_P(
    Convert, ConvertKeep,
    testing::Values(
        KeepCase{"NothingToKeep", {}, {}, {}, {"logbook.zlg"}, {kAskLog}},
        KeepCase{"First",
                 {"logbook.zlg"},
                 {},
                 {"C:\\New\\service\\logbook.zlg.bak"},
                 {"logbook.zlg", "logbook.zlg.bak"},
                 {kAskLog}},
        KeepCase{"NumberedWhenTaken",
                 {"logbook.zlg", "logbook.zlg.bak", "logbook.zlg.2.bak"},
                 {},
                 {"C:\\New\\service\\logbook.zlg.3.bak"},
                 {"logbook.zlg", "logbook.zlg.2.bak", "logbook.zlg.3.bak", "logbook.zlg.bak"},
                 {kAskLog}},
        KeepCase{"CannotBeKeptIsNotReplaced",
                 {"logbook.zlg"},
                 FailureRule{FakeOperation::Copy, "logbook.zlg.bak", platform::kErrorDiskFull},
                 {},
                 {"logbook.zlg"},
                 {kAskLog, kLogError}}),
    [](const auto& info) { return std::string(info.param.label); });

// The search of the platform also matches short names: "phones.zkbak" is "PHONES~1.ZKB".
TEST_F(ConvertFiles, OldPhoneBooksAreTheLongNamesEndingInZkb) {
    files.AddFile("C:\\Old\\spr\\a.zkb", "");
    files.AddFile("C:\\Old\\spr\\B.ZKB", "");
    files.AddFile("C:\\Old\\spr\\phones.zkbak", "");
    files.AddFile("C:\\Old\\spr\\notes.txt", "");
    files.AddDirectory("C:\\Old\\spr\\folder.zkb");
    const ShortNameMatches platform_search(files);
    Names found = convert::OldPhoneBooks(platform_search, kOld);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Names{"B.ZKB", "a.zkb"}));
}

}  // namespace
