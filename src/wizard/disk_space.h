#pragma once
// The space texts of the destination page.
#include <cstdint>
#include <string>

namespace wizard {

struct SpaceWords {
    std::string need;   // "Требуется"
    std::string exist;  // "Имеется на диске"
    std::string mbyte;  // "Мбайт"
};

// Megabytes with one decimal, both parts truncated toward zero: 52428800 gives "50.0".
std::string MegabyteForm(std::int64_t bytes);

// On entering the page: the space needed, then the space free, in megabytes with a decimal.
std::string SpaceTextOnEntry(const SpaceWords& words, std::int64_t need, std::int64_t free);
// After a drive change: the space free first, then the space needed, in whole megabytes.
std::string SpaceTextAfterDriveChange(const SpaceWords& words, std::int64_t need,
                                      std::int64_t free);

}  // namespace wizard
