#pragma once
// The log books. Version 4 kept two logs, "service\receive.zlg" and "service\send.zlg", of
// 919-byte records; the current version keeps one, "service\logbook.zlg", of 812-byte records
// behind a header record of the same size. Every number is little-endian.
//
// Old record: 0 year, 2 month, 4 day, 6 hour, 8 minute, 10 second, 12 A, 14 B (16-bit each);
// 16 first item Text[256]; 272 C Text[22]; 294 D Text[64]; 358 E, 360 F, 362 G (16-bit);
// 364 H short string[62]; 427 code byte low, 428 code byte high; 429 I, 433 J (32-bit);
// 437 flags (16-bit); 439 K Text[22]; 461 second item Text[256] (empty: no second item);
// 717 L Text[64]; 781 M Text[74]; 855 N Text[64].
//
// New record: 0 C Text[64]; 64 D Text[64]; 128 M Text[74]; 202 item Text[256]; 458 N Text[64];
// 522 E, 524 F, 526 G; 528 year, month, day, hour, minute, second; 540 A, 542 B; 544 first and
// 546 second code value (16-bit); 548 I, 552 J; 556 flags (+16 from the send log, +32 for the
// second item of an old record); 558 H short string[63]; 622 K Text[22]; 644 L Text[64];
// 708 record number from 1 (32-bit); the rest zero.
// Header: zero but 708, the number of records after it, and 712, the value 1 (32-bit each).
#include <array>
#include <cstddef>
#include <string_view>

namespace convert {

// The old logs, below the old installation folder.
inline constexpr char kReceiveLog[] = "\\service\\receive.zlg";
inline constexpr char kSendLog[] = "\\service\\send.zlg";

inline constexpr std::size_t kOldLogRecordSize = 919;
inline constexpr std::size_t kLogBookRecordSize = 812;
inline constexpr std::size_t kLogBookNumberOffset = 708;
inline constexpr std::size_t kLogBookFlagsOffset = 556;

using LogBookRecord = std::array<char, kLogBookRecordSize>;

// One old record becomes one new record, or two when it holds a second item: the first with the
// first item, the second with the second item and 32 more in its flags. Record numbers are
// the caller's.
struct ConvertedLogRecord {
    LogBookRecord first{};
    bool paired = false;
    LogBookRecord second;  // set only when paired: most records have no second item
};

ConvertedLogRecord ConvertLogRecord(std::string_view old_record, bool from_send_log);

}  // namespace convert
