// The installation scripts: what each line makes, copies or links, and whether it can.
#include <algorithm>
#include <array>
#include <set>

#include "checker.h"
#include "script/script.h"

namespace zkdist {
namespace {

// The longest Program Files folder of the platforms the product installs on, with its "\".
constexpr std::string_view kProgramFiles = "C:\\Program Files (x86)\\";
constexpr std::size_t kPathLimit = 259;

struct Section {
    const char* name;
    bool platform;  // one of these applies on a machine, not all
};
constexpr std::array<Section, 6> kCopySections = {{{script::kFileList, false},
                                                   {script::kIfNotExist, false},
                                                   {script::kBackup, false},
                                                   {"Win9x", true},
                                                   {"WinNT", true},
                                                   {"Win2K", true}}};

// A path below a folder: no drive, no leading "\", no empty, "." or ".." level, no character
// that names cannot hold.
bool StaysInside(std::string_view path) {
    if (path.empty() || path.find_first_of(":*?\"<>|/") != std::string_view::npos)
        return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string_view level = path.substr(start, end - start);
        if (level.empty() || level == "." || level == "..")
            return false;
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

std::string Parent(std::string_view path) {
    const std::size_t cut = path.rfind('\\');
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

class ScriptCheck {
  public:
    ScriptCheck(Checker& checker, std::string name)
        : checker_(checker), name_(std::move(name)), file_(checker.Profile(name_)) {}

    void Run() {
        if (!file_.Exists()) {
            checker_.Add(name_, 0, "missing: this installation type installs nothing");
            return;
        }
        Folders();
        std::int64_t always = 0;
        std::int64_t platform_most = 0;
        for (const Section& section : kCopySections) {
            const std::int64_t bytes = Copies(section.name);
            if (section.platform)
                platform_most = std::max(platform_most, bytes);
            else
                always += bytes;
        }
        if (copies_ == 0)
            checker_.Add(name_, 0, "the script copies no file");
        Shortcuts();
        Sizes(always + platform_most);
    }

  private:
    void Add(std::string_view section, const std::string& key, std::string message) {
        checker_.Add(name_, file_.LineOf(section, key), std::move(message));
    }

    void Folders() {
        for (const KeyLine& line : file_.Keys(script::kDirectoryList)) {
            if (line.value.empty())
                continue;
            if (!StaysInside(line.value)) {
                Add(script::kDirectoryList, line.key,
                    "\"" + line.value + "\" leaves the installation folder");
                continue;
            }
            for (std::string folder = line.value; !folder.empty(); folder = Parent(folder))
                folders_.insert(platform::ToLower(folder));
        }
    }

    std::int64_t Copies(std::string_view section) {
        std::int64_t bytes = 0;
        for (const KeyLine& line : file_.Keys(section)) {
            if (line.value.empty())
                continue;
            ++copies_;
            const std::string text = line.key + "=" + line.value;
            if (!StaysInside(line.key)) {
                Add(section, line.key, "source \"" + line.key + "\" leaves the distribution");
            } else if (const platform::Result<platform::FileInfo> source =
                           checker_.files.Info(checker_.PathOf(line.key));
                       !source || source->Directory()) {
                Add(section, line.key,
                    "source \"" + line.key + "\" is not in the distribution: the copy fails");
            } else {
                bytes += source->size;
            }
            const char marker = text.find('%') != std::string::npos   ? '%'
                                : text.find('$') != std::string::npos ? '$'
                                                                      : '\0';
            if (marker != '\0') {
                Marked(section, line, marker);
            } else {
                Plain(section, line);
            }
        }
        return bytes;
    }

    // A printer-driver or system line: the marker, "\" and a bare file name.
    void Marked(std::string_view section, const KeyLine& line, char marker) {
        const std::string folder = marker == '%' ? "printer-driver folder" : "system folder";
        const std::string rest = line.value.substr(1);
        if (line.value[0] != marker || !rest.starts_with('\\')) {
            Add(section, line.key,
                std::string("the line holds \"") + marker + "\", so it copies to the " + folder +
                    " followed by \"" + rest + "\"; write " + marker + "\\name");
        } else if (!StaysInside(rest.substr(1)) || rest.find('\\', 1) != std::string::npos) {
            Add(section, line.key, "\"" + line.value + "\" leaves the " + folder);
        }
    }

    void Plain(std::string_view section, const KeyLine& line) {
        if (!StaysInside(line.value)) {
            Add(section, line.key, "\"" + line.value + "\" leaves the installation folder");
            return;
        }
        installed_.insert(platform::ToLower(line.value));
        longest_ = std::max(longest_, line.value.size());
        const std::string folder = Parent(line.value);
        if (!folder.empty() && !folders_.contains(platform::ToLower(folder)))
            Add(section, line.key,
                "folder \"" + folder + "\" is not made by [directory list]: the copy fails");
    }

    void Shortcuts() {
        for (const KeyLine& line : file_.Keys(script::kCommonShortcutList)) {
            if (line.value.empty())
                continue;
            const script::ShortcutLine shortcut =
                script::SplitShortcutLine({.key = line.key, .value = line.value});
            if (!installed_.contains(platform::ToLower(shortcut.file)))
                Add(script::kCommonShortcutList, line.key,
                    "\"" + shortcut.file +
                        "\" is not installed by the script: the shortcut "
                        "points at nothing");
            if (shortcut.caption.find_first_of("\\/:*?\"<>|") != std::string::npos)
                Add(script::kCommonShortcutList, line.key,
                    "caption \"" + shortcut.caption + "\" cannot be a file name");
        }
    }

    void Sizes(std::int64_t copied) {
        const ProfileFile& setup = checker_.Profile("setup.ini");
        const std::optional<std::int32_t> need =
            platform::ParseInteger(setup.Profile().Read("main", "NeedDiskSpace"));
        if (need && *need >= 0 && *need < copied)
            checker_.Add("setup.ini", setup.LineOf("main", "NeedDiskSpace"),
                         "\"NeedDiskSpace\" is " + std::to_string(*need) + " bytes, but " + name_ +
                             " copies " + std::to_string(copied));
        const std::string install_path = setup.Profile().Read("main", "InstallPath");
        const std::size_t length = kProgramFiles.size() + install_path.size() + 1 + longest_;
        if (longest_ > 0 && length > kPathLimit)
            checker_.Add("setup.ini", setup.LineOf("main", "InstallPath"),
                         "with the proposed folder, the longest file of " + name_ + " has " +
                             std::to_string(length) + " characters; the platform's limit is " +
                             std::to_string(kPathLimit));
    }

    Checker& checker_;
    std::string name_;
    const ProfileFile& file_;
    std::set<std::string> folders_;    // made by the directory list, parents included
    std::set<std::string> installed_;  // plain destinations
    std::size_t longest_ = 0;
    int copies_ = 0;
};

}  // namespace

void CheckScripts(Checker& checker, bool client_server) {
    if (!client_server) {
        if (checker.Profile("setup.ini").Exists())  // a missing one is reported already
            ScriptCheck(checker, "setup.ini").Run();
        for (const char* unused : {"server.ini", "client.ini"}) {
            if (checker.files.FileExists(checker.PathOf(unused)))
                checker.Add(unused, 0,
                            "never read: res.dll does not mark a client/server distribution "
                            "(string 103 \"clientserver\")");
        }
        return;
    }
    ScriptCheck(checker, "server.ini").Run();
    ScriptCheck(checker, "client.ini").Run();
}

}  // namespace zkdist
