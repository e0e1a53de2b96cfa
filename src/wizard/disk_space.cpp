#include "wizard/disk_space.h"

namespace wizard {
namespace {

constexpr std::int64_t kMegabyte = 1048576;
// The two lines are joined by line feed and carriage return, in this order.
constexpr char kLineBreak[] = "\n\r";

std::string Line(const std::string& word, const std::string& amount, const std::string& mbyte) {
    return word + ": " + amount + " " + mbyte;
}

}  // namespace

std::string MegabyteForm(std::int64_t bytes) {
    // The decimal is the first digit of the true fraction, so 1000000 bytes show 0.9. The sign
    // stands once, in front (a drive that is not ready, -1, still shows 0.0).
    const std::int64_t whole = bytes / kMegabyte;
    const std::int64_t tenth = (bytes % kMegabyte) * 10 / kMegabyte;
    const bool negative = whole < 0 || tenth < 0;
    return (negative ? "-" : "") + std::to_string(whole < 0 ? -whole : whole) + "." +
           std::to_string(tenth < 0 ? -tenth : tenth);
}

std::string SpaceTextOnEntry(const SpaceWords& words, std::int64_t need, std::int64_t free) {
    return Line(words.need, MegabyteForm(need), words.mbyte) + kLineBreak +
           Line(words.exist, MegabyteForm(free), words.mbyte);
}

std::string SpaceTextAfterDriveChange(const SpaceWords& words, std::int64_t need,
                                      std::int64_t free) {
    return Line(words.exist, std::to_string(free / kMegabyte), words.mbyte) + kLineBreak +
           Line(words.need, std::to_string(need / kMegabyte), words.mbyte);
}

}  // namespace wizard
