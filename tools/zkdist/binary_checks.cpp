// res.dll and the product's libraries, read from their bytes.
#include <array>

#include "checker.h"
#include "install/product_libraries.h"

namespace zkdist {
namespace {

constexpr std::uint32_t kShortName = 101;
constexpr std::uint32_t kKind = 103;
constexpr std::uint32_t kColour = 110;
constexpr std::array<const char*, 3> kBitmaps = {"LEFTUP", "DOWNRIGHT", "WIZARD"};

}  // namespace

bool CheckBranding(Checker& checker) {
    const std::string name = "res.dll";
    const std::optional<PeFacts> facts =
        checker.Binary(name,
                       "the background shows no pictures, the short product name is empty and the "
                       "installation-type page is never shown");
    if (!facts)
        return false;
    const auto text = [&](std::uint32_t number) {
        const auto found = facts->strings.find(number);
        return found == facts->strings.end() ? std::optional<std::string>() : found->second;
    };
    if (!text(kShortName))
        checker.Add(name, 0, "no string 101 (short product name): registry keys use \"Zinkolar\"");
    if (const std::optional<std::string> colour = text(kColour); !colour) {
        checker.Add(name, 0, "no string 110 (background colour): the default dark blue is used");
    } else if (!platform::ParseInteger(*colour)) {
        checker.Add(name, 0,
                    "string 110 \"" + *colour +
                        "\" is no colour (decimal, or hexadecimal after \"$\"): the default "
                        "dark blue is used");
    }
    for (const char* bitmap : kBitmaps) {
        if (!facts->bitmaps.contains(bitmap))
            checker.Add(name, 0, std::string("no bitmap ") + bitmap + ": that picture stays empty");
    }
    const std::optional<std::string> kind = text(kKind);
    return kind && platform::EqualsIgnoreCase(*kind, "clientserver");
}

void CheckProductLibraries(Checker& checker) {
    struct Library {
        const char* name;
        std::vector<const char*> functions;
    };
    const std::array<Library, 2> libraries = {{
        {install::kServiceLibrary,
         {install::kGetVer, install::kTestProcessExec, install::kRemoveService}},
        {install::kPrinterLibrary, {install::kPrinterDelete, install::kPrinterInstall}},
    }};
    for (const Library& library : libraries) {
        const std::optional<PeFacts> facts =
            checker.Binary(library.name, "setup stops with its load error");
        if (!facts)
            continue;
        for (const char* function : library.functions) {
            if (!facts->exports.contains(function))
                checker.Add(library.name, 0,
                            std::string("does not export ") + function +
                                " (undecorated): setup stops with its load error");
        }
    }
}

}  // namespace zkdist
