#include "zkdist.h"

#include <charconv>
#include <memory>

#include "code_pages.h"
#include "dist_check.h"

namespace zkdist {
namespace {

constexpr const char* kUsage =
    "usage: zkdist check [--codepage N] DIST\n"
    "Reads the distribution folder DIST as setup.exe will and prints every finding as\n"
    "\"file:line: message\" (\"file: message\" for a file as a whole). N is the code page of the\n"
    "machines the distribution is made for: 1251 (the default) or 1252.\n"
    "Exit status: 0 no finding, 1 findings, 2 bad usage.\n";

}  // namespace

int Run(const std::vector<std::string>& arguments, const platform::FileSystem& files,
        std::ostream& out) {
    int code_page = 1251;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != "--codepage") {
            rest.push_back(arguments[i]);
            continue;
        }
        const std::string value = i + 1 < arguments.size() ? arguments[++i] : "";
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), code_page);
        if (error != std::errc() || end != value.data() + value.size())
            code_page = 0;
    }
    const std::unique_ptr<platform::TextCodec> codec = CodecFor(code_page);
    if (rest.size() != 2 || rest[0] != "check" || !codec) {
        out << kUsage;
        return 2;
    }
    std::string dist = rest[1];
    while (dist.size() > 1 && (dist.back() == '\\' || dist.back() == '/'))
        dist.pop_back();
    if (!files.DirectoryExists(dist)) {
        out << dist << ": no such folder\n";
        return 2;
    }
    const std::vector<Finding> findings = CheckDistribution(files, *codec, dist);
    for (const Finding& finding : findings)
        out << FormatFinding(finding) << "\n";
    return findings.empty() ? 0 : 1;
}

}  // namespace zkdist
