#pragma once
// The installation script: sections of the installation type's configuration file (setup.ini,
// server.ini or client.ini in the distribution folder) that name the folders to make, the files
// to copy and the program group's extra shortcuts. The script is only read.
//
// Sections and their lines, each read as its distinct keys in order of first occurrence, with
// the value of the first occurrence, keys with an empty value left out (the profile rules), and
// every key of the section however long the list:
//   "directory list"        label = folder inside the installation folder (Data\In)
//   "file list"             source = destination   copied always
//   "if not exist"          source = destination   copied when no file is at the destination
//   "backup"                source = destination   copied when the times differ, the old one saved
//   "Win9x" "WinNT" "Win2K" source = destination   copied always, on platform 1, 2 or 3 only
//   "common shortcut list"  target[ arguments] = caption
// A copy line's source is relative to the distribution folder. Its destination is decided on the
// whole line text: a "%" anywhere makes it the printer-driver folder followed by the value
// without its first character; else a "$" anywhere makes it the system folder followed by the
// same; else it is the installation folder, "\" and the value.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace script {

inline constexpr char kDirectoryList[] = "directory list";
inline constexpr char kFileList[] = "file list";
inline constexpr char kIfNotExist[] = "if not exist";
inline constexpr char kBackup[] = "backup";
inline constexpr char kCommonShortcutList[] = "common shortcut list";

struct ScriptLine {
    std::string key;
    std::string value;  // never empty
    bool operator==(const ScriptLine&) const = default;
};

class Script {
  public:
    // A missing file is a script without sections; nullopt when the file is there but cannot be
    // read.
    static std::optional<Script> Load(const platform::FileSystem& files,
                                      const platform::TextCodec& codec, const std::string& path);
    explicit Script(platform::Profile profile) : profile_(std::move(profile)) {}

    // The section's lines in order; empty when the section is absent.
    std::vector<ScriptLine> Lines(std::string_view section) const;

  private:
    platform::Profile profile_;
};

// The folders the lines refer to, without trailing backslash (the printer-driver folder as the
// spooler gives it: the lines append "\name" to it).
struct ScriptFolders {
    std::string source_dir;
    std::string destination;
    std::string system_dir;
    std::string printer_driver_dir;
};

struct CopyLine {
    std::string source;
    std::string destination;
    bool operator==(const CopyLine&) const = default;
};

CopyLine ResolveCopyLine(const ScriptLine& line, const ScriptFolders& folders);

// Whether a copy line's destination is the installation folder followed by its value: no "%"
// and no "$" anywhere on the line.
bool CopiesIntoInstallation(const ScriptLine& line);

// The platform section of a platform code: "Win9x" for 1, "WinNT" for 2, "Win2K" for 3; empty for
// any other code.
std::string_view PlatformSection(int platform_code);

// A "common shortcut list" line: the key split at its first blank into the file (relative to the
// installation folder) and the arguments; the value is the caption.
struct ShortcutLine {
    std::string file;
    std::string arguments;
    std::string caption;
    bool operator==(const ShortcutLine&) const = default;
};

ShortcutLine SplitShortcutLine(const ScriptLine& line);

}  // namespace script
