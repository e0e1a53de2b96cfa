#include "wizard/path_rules.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace wizard {
namespace {

// The longest folder the platform's folder creation takes: MAX_PATH less room for an 8.3 name.
constexpr std::size_t kMaxFolderLength = 247;
// The longest path of a file: MAX_PATH less its closing zero.
constexpr std::size_t kMaxPathLength = 259;
// The longest name the run itself writes into the installation folder ("zinkolar.ini").
constexpr std::size_t kOwnFileLength = 12;

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDriveRoot(const std::string& folder) {
    return folder.size() >= 3 && IsLetter(folder[0]) && folder[1] == ':' && folder[2] == '\\';
}

// Where the share name of \\server\share ends; npos when the text is no such path.
std::size_t ShareEnd(const std::string& folder) {
    if (!folder.starts_with("\\\\"))
        return std::string::npos;
    const std::size_t server_end = folder.find('\\', 2);
    if (server_end == std::string::npos || server_end == 2 || server_end + 1 == folder.size() ||
        folder[server_end + 1] == '\\') {
        return std::string::npos;
    }
    return std::min(folder.find('\\', server_end + 1), folder.size());
}

std::vector<std::string_view> Parts(std::string_view path) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = path.find('\\');
        parts.push_back(path.substr(0, end));
        if (end == std::string_view::npos)
            return parts;
        path.remove_prefix(end + 1);
    }
}

// A name the platform creates as it is: not empty, no reserved or control characters, and no
// blank or dot at its end, which the platform would drop (so "." and ".." are out too).
bool IsValidName(std::string_view name) {
    if (name.empty() || name.back() == ' ' || name.back() == '.')
        return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("<>:\"/|?*").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

bool AreValidNames(std::string_view path) {
    for (const std::string_view part : Parts(path)) {
        if (!IsValidName(part))
            return false;
    }
    return true;
}

// The platform counts UTF-16 characters.
std::size_t Length(std::string_view path) {
    return platform::Utf8ToUtf16(path).size();
}

bool FitsTheLimit(const std::string& folder) {
    return Length(folder) <= kMaxFolderLength;
}

// With what the installation makes below it, one backslash between.
bool RoomBelow(const std::string& folder, PathsBelow below) {
    const std::size_t length = Length(folder) + 1;
    return (below.folder == 0 || length + below.folder <= kMaxFolderLength) &&
           (below.file == 0 || length + below.file <= kMaxPathLength);
}

NameVerdict Verdict(bool well_formed, const std::string& name) {
    if (!well_formed)
        return NameVerdict::Malformed;
    return name.find('=') == std::string::npos ? NameVerdict::Accepted : NameVerdict::HoldsEquals;
}

}  // namespace

bool IsFullPath(const std::string& folder) {
    return IsDriveRoot(folder) || ShareEnd(folder) != std::string::npos;
}

std::string RootOf(const std::string& folder) {
    if (IsDriveRoot(folder))
        return platform::ToLower(folder.substr(0, 3));
    return folder.substr(0, ShareEnd(folder));
}

PathsBelow MeasureScript(const script::Script& script, int platform_code) {
    PathsBelow below{.file = kOwnFileLength};
    for (const script::ScriptLine& line : script.Lines(script::kDirectoryList))
        below.folder = std::max(below.folder, Length(line.value));
    for (const std::string_view section :
         {std::string_view(script::kFileList), std::string_view(script::kIfNotExist),
          std::string_view(script::kBackup), script::PlatformSection(platform_code)}) {
        if (section.empty())
            continue;
        for (const script::ScriptLine& line : script.Lines(section)) {
            if (script::CopiesIntoInstallation(line))
                below.file = std::max(below.file, Length(line.value));
        }
    }
    return below;
}

NameVerdict CheckFolder(const std::string& folder, const platform::TextCodec& codec,
                        PathsBelow below) {
    bool well_formed = false;
    if (IsDriveRoot(folder)) {
        // Below the root: the root itself would lose its backslash on the way to the run.
        well_formed = folder.size() > 3 && AreValidNames(std::string_view(folder).substr(3));
    } else if (IsFullPath(folder)) {
        well_formed = AreValidNames(std::string_view(folder).substr(2));
    }
    return Verdict(well_formed && platform::InCodePage(codec, folder) && FitsTheLimit(folder) &&
                       RoomBelow(folder, below),
                   folder);
}

NameVerdict CheckGroup(const std::string& programs_dir, const std::string& group,
                       const platform::TextCodec& codec) {
    std::string_view name = group;
    if (name.ends_with('\\'))
        name.remove_suffix(1);
    return Verdict(AreValidNames(name) && platform::InCodePage(codec, name) &&
                       FitsTheLimit(programs_dir + "\\" + std::string(name)),
                   group);
}

}  // namespace wizard
