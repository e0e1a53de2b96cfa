#include "wizard/file_type_icons.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "wizard/wizard_controls.h"

namespace wizard {
namespace {

// A sheet with a folded corner: '#' outline, '+' fold, '.' paper, ' ' background.
constexpr std::array<std::string_view, 16> kSheet = {
    "  #########     ", "  #.......##    ", "  #.......#+#   ", "  #.......#++#  ",
    "  #.......####  ", "  #..........#  ", "  #..........#  ", "  #..........#  ",
    "  #..........#  ", "  #..........#  ", "  #..........#  ", "  #..........#  ",
    "  #..........#  ", "  ############  ", "                ", "                ",
};

// The mark of each type, drawn in its colour inside the sheet at (4, 6).
struct Mark {
    ui::ControlName control;
    std::uint32_t color;  // 0x00BBGGRR
    std::array<std::string_view, 7> rows;
};

constexpr Mark kMarks[] = {
    {kFaxIcon,
     0xB05A1E,
     {"XXXXXXXX", "        ", "XXXXXX  ", "        ", "XXXXXXX ", "        ", "XXXX    "}},
    {kCoverPageIcon,
     0x8C8C00,
     {"XXXXXXXX", "XXXXXXXX", "        ", " XXXXXX ", "        ", " XXXX   ", "        "}},
    {kLogBookIcon,
     0x1E4A8C,
     {"X XXXXXX", "        ", "X XXXXX ", "        ", "X XXXXXX", "        ", "X XXX   "}},
    {kPhoneBookIcon,
     0x2E8B2E,
     {"  XXX   ", " X   X  ", " X   X  ", "  XXX   ", " XXXXX  ", "XXXXXXX ", "        "}},
    {kScheduleIcon,
     0x1E78E0,
     {"XXXXXXXX", "X X X X ", "XXXXXXXX", "X X X X ", "XXXXXXXX", "X X X X ", "XXXXXXXX"}},
    {kMixIcon,
     0x8C2E8C,
     {"    XX  ", "    X X ", "    X  X", "    X   ", "  XXX   ", " XXXX   ", "  XX    "}},
    {kScriptIcon,
     0x505050,
     {" X  X   ", "  X  X  ", "   X  X ", "  X  X  ", " X  X   ", "        ", "   XXXX "}},
};

platform::Bitmap Draw(const Mark& mark) {
    platform::Bitmap icon{16, 16, std::vector<std::uint32_t>(256, 0xFFFFFF)};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            switch (kSheet[y][x]) {
                case '#':
                    icon.At(x, y) = 0x404040;
                    break;
                case '+':
                    icon.At(x, y) = 0xC0C0C0;
                    break;
                default:
                    break;
            }
        }
    }
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (mark.rows[y][x] == 'X')
                icon.At(4 + x, 6 + y) = mark.color;
        }
    }
    return icon;
}

}  // namespace

std::vector<FileTypeIcon> FileTypeIcons() {
    std::vector<FileTypeIcon> icons;
    for (const auto& mark : kMarks)
        icons.push_back({mark.control, Draw(mark)});
    return icons;
}

}  // namespace wizard
