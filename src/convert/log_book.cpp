#include "convert/log_book.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "convert/convert.h"
#include "convert/fields.h"
#include "convert/record_files.h"
#include "convert/steps.h"

namespace convert {
namespace {

constexpr FieldCopy<TextField> kTexts[] = {
    {{272, 22}, {0, 64}},     // C, widened
    {{294, 64}, {64, 64}},    // D
    {{781, 74}, {128, 74}},   // M
    {{16, 256}, {202, 256}},  // first item
    {{855, 64}, {458, 64}},   // N
    {{439, 22}, {622, 22}},   // K
    {{717, 64}, {644, 64}},   // L
};
constexpr FieldCopy<RawField> kNumbers[] = {
    {{358, 6}, {522, 6}},  // E, F, G
    {{0, 12}, {528, 12}},  // year, month, day, hour, minute, second
    {{12, 4}, {540, 4}},   // A, B
    {{429, 8}, {548, 8}},  // I, J
};
constexpr FieldCopy<ShortStringField> kShortStrings[] = {{{364, 62}, {558, 63}}};  // H
constexpr TextField kSecondItem{461, 256};
constexpr TextField kItem{202, 256};
constexpr std::size_t kCodeLow = 427;
constexpr std::size_t kCodeHigh = 428;
constexpr std::size_t kOldFlags = 437;
constexpr std::uint16_t kFromSendLog = 16;
constexpr std::uint16_t kSecondItemFlag = 32;

// The old date and time fields, year first: compared as numbers they order the instants.
using Instant = std::array<std::uint16_t, 6>;

Instant InstantOf(std::string_view old_record) {
    Instant instant{};
    for (std::size_t i = 0; i < instant.size(); ++i)
        instant[i] = Get16(old_record, 2 * i);
    return instant;
}

bool IsValid(const Instant& instant) {
    const auto [year, month, day, hour, minute, second] = instant;
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int days = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= days && hour < 24 && minute < 60 && second < 60;
}

// The new log book: numbers each record as it is written, counting every one.
class LogBookWriter {
  public:
    explicit LogBookWriter(NewFile& file) : file_(file) { file_.Append(Header()); }

    void Write(std::string_view old_record, bool from_send_log) {
        ConvertedLogRecord converted = ConvertLogRecord(old_record, from_send_log);
        Add(converted.first);
        if (converted.paired)
            Add(converted.second);
    }

    std::uint32_t Finish() {
        file_.Overwrite(Header());
        file_.Commit();
        return count_;
    }

  private:
    void Add(LogBookRecord& record) {
        Put32(record, kLogBookNumberOffset, ++count_);
        file_.Append(std::string_view(record.data(), record.size()));
    }

    std::string Header() const {
        LogBookRecord header{};
        Put32(header, kLogBookNumberOffset, count_);
        Put32(header, kLogBookNumberOffset + 4, 1);
        return std::string(header.data(), header.size());
    }

    NewFile& file_;
    std::uint32_t count_ = 0;
};

// Both logs into the log book. When both have records they are merged by date and time,
// received before sent at the same instant; a record without a valid date and time then ends
// the conversion, since it cannot be placed. Neither log is sorted in itself.
void MergeLogs(RecordReader& received, RecordReader& sent, LogBookWriter& log_book) {
    std::optional<std::string_view> receive_pending = received.Next();
    std::optional<std::string_view> send_pending = sent.Next();
    const bool merging = receive_pending && send_pending;
    const auto checked = [merging](std::optional<std::string_view> record) {
        if (merging && record && !IsValid(InstantOf(*record)))
            throw ConversionFailed{};
        return record;
    };
    receive_pending = checked(receive_pending);
    send_pending = checked(send_pending);
    while (receive_pending || send_pending) {
        const bool take_sent = !receive_pending || (send_pending && InstantOf(*receive_pending) >
                                                                        InstantOf(*send_pending));
        if (take_sent) {
            log_book.Write(*send_pending, true);
            send_pending = checked(sent.Next());
        } else {
            log_book.Write(*receive_pending, false);
            receive_pending = checked(received.Next());
        }
    }
}

}  // namespace

ConvertedLogRecord ConvertLogRecord(std::string_view old_record, bool from_send_log) {
    ConvertedLogRecord converted;
    LogBookRecord& record = converted.first;
    CopyAll(old_record, kTexts, record);
    CopyAll(old_record, kNumbers, record);
    CopyAll(old_record, kShortStrings, record);
    const auto low = static_cast<unsigned char>(old_record[kCodeLow]);
    const auto high = static_cast<unsigned char>(old_record[kCodeHigh]);
    Put16(record, 544, high != 0 ? high : low);
    Put16(record, 546, high != 0 ? low : 0);
    const std::uint16_t flags = Get16(old_record, kOldFlags) + (from_send_log ? kFromSendLog : 0);
    Put16(record, kLogBookFlagsOffset, flags);

    converted.paired = old_record[kSecondItem.offset] != '\0';
    if (converted.paired) {
        converted.second = record;
        Copy(old_record, kSecondItem, converted.second, kItem);
        Put16(converted.second, kLogBookFlagsOffset,
              static_cast<std::uint16_t>(flags + kSecondItemFlag));
    }
    return converted;
}

std::uint32_t ConvertLogBook(const Context& context, const std::string& old_folder,
                             const std::string& old_version, const std::string& new_folder) {
    if (!IsVersion4Installation(old_folder, old_version))
        return 0;
    const std::string receive_path = old_folder + kReceiveLog;
    const std::string send_path = old_folder + kSendLog;
    const bool has_receive = context.files.FileExists(receive_path);
    const bool has_send = context.files.FileExists(send_path);
    if (!has_receive && !has_send)
        return 0;
    if (!Ask(context, language::keys::cConverLogBook))
        return 0;
    ShowProgress(context, language::keys::cConvertingLogBook);
    try {
        const auto send_file = has_send ? OpenForReading(context.files, send_path) : nullptr;
        const auto receive_file =
            has_receive ? OpenForReading(context.files, receive_path) : nullptr;
        NewFile file(context.files, new_folder + "\\service\\logbook.zlg", context.keep_replaced);
        LogBookWriter log_book(file);
        RecordReader received(receive_file.get(), kOldLogRecordSize);
        RecordReader sent(send_file.get(), kOldLogRecordSize);
        MergeLogs(received, sent, log_book);
        return log_book.Finish();
    } catch (const ConversionFailed&) {
        ShowError(context, language::keys::cErrorConvertLogBook);
        return 0;
    }
}

}  // namespace convert
