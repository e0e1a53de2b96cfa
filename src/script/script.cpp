#include "script/script.h"

namespace script {

std::optional<Script> Script::Load(const platform::FileSystem& files,
                                   const platform::TextCodec& codec, const std::string& path) {
    std::optional<platform::Profile> profile = platform::ReadProfile(files, codec, path);
    if (!profile) {
        return std::nullopt;
    }
    return Script(std::move(*profile));
}

std::vector<ScriptLine> Script::Lines(std::string_view section) const {
    std::vector<ScriptLine> lines;
    // Every key: a file list longer than the platform's key-list buffer must not lose its tail.
    for (platform::ProfileEntry& entry : profile_.Entries(section, platform::KeyLimit::None)) {
        lines.push_back({std::move(entry.key), std::move(entry.value)});
    }
    return lines;
}

namespace {

bool Anywhere(const ScriptLine& line, char marker) {
    return line.key.find(marker) != std::string::npos ||
           line.value.find(marker) != std::string::npos;
}

}  // namespace

bool CopiesIntoInstallation(const ScriptLine& line) {
    return !Anywhere(line, '%') && !Anywhere(line, '$');
}

CopyLine ResolveCopyLine(const ScriptLine& line, const ScriptFolders& folders) {
    const std::string source = folders.source_dir + "\\" + line.key;
    if (CopiesIntoInstallation(line)) {
        return {source, folders.destination + "\\" + line.value};
    }
    // The marker's place does not matter: the value's first character goes, whatever it is (one
    // character of the ANSI file, so all the bytes of a UTF-8 sequence).
    std::size_t cut = 1;
    while (cut < line.value.size() &&
           (static_cast<unsigned char>(line.value[cut]) & 0xC0) == 0x80) {
        ++cut;
    }
    const std::string rest = line.value.substr(cut);
    if (Anywhere(line, '%')) {
        return {source, folders.printer_driver_dir + rest};
    }
    return {source, folders.system_dir + rest};
}

std::string_view PlatformSection(int platform_code) {
    switch (platform_code) {
        case 1:
            return "Win9x";
        case 2:
            return "WinNT";
        case 3:
            return "Win2K";
        default:
            return {};
    }
}

ShortcutLine SplitShortcutLine(const ScriptLine& line) {
    const std::size_t blank = line.key.find(' ');
    if (blank == std::string::npos) {
        return {line.key, {}, line.value};
    }
    return {line.key.substr(0, blank), line.key.substr(blank + 1), line.value};
}

}  // namespace script
