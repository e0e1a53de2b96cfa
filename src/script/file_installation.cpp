#include "script/file_installation.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "language/message_dialogs.h"
#include "script/shortcut.h"
#include "script/trace_text.h"

namespace script {
namespace {

std::string FileName(const std::string& path) {
    return path.substr(path.rfind('\\') + 1);
}

}  // namespace

FileInstallation::FileInstallation(FileInstallationContext context)
    : context_(std::move(context)) {}

const Script& FileInstallation::LoadedScript() {
    if (!script_) {
        script_ = Script::Load(context_.files, context_.codec, context_.script_file);
        if (!script_) {
            // Read as empty, the run would install nothing and call it a success.
            throw std::runtime_error("Cannot read " + context_.script_file);
        }
    }
    return *script_;
}

void FileInstallation::CreateFolders() {
    const std::string& destination = context_.folders.destination;
    for (const ScriptLine& line : LoadedScript().Lines(kDirectoryList)) {
        const std::string folder = destination + "\\" + line.value;
        platform::IgnoreFailure(context_.log.LogItem(kLogFolder, folder, MakeFolder(folder)),
                                kRecordFailureThrows);
        // The parent levels inside the installation folder, deepest first, as the uninstaller
        // removes them.
        std::string parent = line.value;
        const std::string inside = destination + "\\";
        for (std::size_t cut = parent.rfind('\\'); cut != std::string::npos;
             cut = parent.rfind('\\')) {
            parent.resize(cut);
            platform::IgnoreFailure(context_.log.LogItem(kLogFolder, inside + parent, true),
                                    kRecordFailureThrows);
        }
    }
}

void FileInstallation::InstallFiles() {
    context_.progress.SetProgressRange(context_.need_disk_space);
    const Script& script = LoadedScript();
    CopySection(script, kFileList);
    CopySection(script, kIfNotExist, true);
    CopyWithBackup(script);
    if (const std::string_view section = PlatformSection(context_.platform_code);
        !section.empty()) {
        CopySection(script, section);
    }
    context_.progress.Flush();
}

void FileInstallation::CopySection(const Script& script, std::string_view section,
                                   bool only_where_missing) {
    for (const ScriptLine& line : script.Lines(section)) {
        const CopyLine copy = ResolveCopyLine(line, context_.folders);
        // A folder of the destination's name is no file: the copy is tried, fails and says so.
        // Nor is a copy that a killed run left unfinished.
        const platform::Result<platform::FileInfo> there =
            only_where_missing ? context_.files.Info(copy.destination)
                               : platform::Failure(platform::kErrorFileNotFound);
        if (!there || there->Directory() || there->Unfinished()) {
            CopyOneFile(copy.source, copy.destination);
        } else {
            context_.trace.Line("Kept " + copy.destination + " (if not exist: the file exists)");
        }
    }
}

void FileInstallation::CopyWithBackup(const Script& script) {
    for (const ScriptLine& line : script.Lines(kBackup)) {
        const CopyLine copy = ResolveCopyLine(line, context_.folders);
        const platform::Result<platform::FileInfo> source = context_.files.Info(copy.source);
        if (!source || source->Directory()) {
            context_.trace.Line("Copy failed: " + copy.source + " -> " + copy.destination +
                                ": no such file");
            ShowCopyError(copy.destination);
            continue;
        }
        std::optional<platform::FileInfo> installed;
        if (const auto info = context_.files.Info(copy.destination);
            info && !info->Directory() && !info->Unfinished()) {
            // Else no file there: the copy below replaces a killed run's unfinished copy, or
            // fails on a folder and says so.
            installed = *info;
        }
        // Times as the platform's file dates compare them: local time, two-second steps.
        const std::uint32_t source_time = context_.clock.LocalDosDateTime(source->write_time);
        if (installed && context_.clock.LocalDosDateTime(installed->write_time) == source_time) {
            context_.trace.Line("Kept " + copy.destination + " (backup: the same time as " +
                                copy.source + ")");
            continue;
        }
        if (installed && !SaveBackup(copy.destination)) {
            context_.trace.Line("Kept " + copy.destination + " (backup: it could not be saved)");
            ShowCopyError(copy.destination);  // the user's file stays as it is
            continue;
        }
        CopyOneFile(copy.source, copy.destination);
    }
}

bool FileInstallation::SaveBackup(const std::string& installed) {
    // What this run saved is the user's file; what is there now is this run's own copy.
    const std::string folded = platform::ToLower(installed);
    if (saved_.contains(folded)) {
        return true;
    }
    if (backup_folder_.empty()) {
        backup_folder_ = NewBackupFolder();
        if (backup_folder_.empty()) {
            return false;
        }
    }
    // Two installed files of one name both keep their saved copy: name, name.2, name.3 ...
    const std::string name = FileName(installed);
    std::string saved_name = name;
    for (int n = 2; backup_names_.contains(platform::ToLower(saved_name)); ++n) {
        saved_name = name + "." + std::to_string(n);
    }
    const std::string saved = backup_folder_ + "\\" + saved_name;
    if (!Copy(installed, saved)) {
        return false;
    }
    context_.trace.Line("Saved " + installed + " to " + saved);
    saved_.insert(folded);
    backup_names_.insert(platform::ToLower(saved_name));
    return true;
}

std::string FileInstallation::NewBackupFolder() {
    const std::string base = context_.folders.destination + "\\Backup";
    if (!MakeFolder(base)) {
        return {};
    }
    // Every entry counts, hidden ones too: an earlier saved copy is never written over.
    std::int64_t highest = 0;
    for (const platform::FileEntry& entry : context_.files.FindFiles(base + "\\*").value_or({})) {
        highest = std::max<std::int64_t>(highest, platform::ParseInteger(entry.name).value_or(-1));
    }
    // Made where nothing is: one made in between by someone else is passed over.
    for (std::int64_t number = highest + 1; number <= highest + 100; ++number) {
        char name[24];
        std::snprintf(name, sizeof name, "%.5lld", static_cast<long long>(number));
        std::string folder = base + "\\" + name;
        const platform::Result<void> status = context_.files.CreateNewDirectory(folder);
        if (status) {
            context_.trace.Line("Folder created: " + folder);
            return folder;
        }
        if (status.code() != platform::kErrorAlreadyExists) {
            context_.trace.Line("Folder not created: " + folder + ": " + ErrorText(status));
            return {};
        }
    }
    return {};
}

bool FileInstallation::MakeFolder(const std::string& folder) {
    const platform::Result<void> status = context_.files.CreateDirectories(folder);
    const bool made = status && context_.files.DirectoryExists(folder);
    context_.trace.Line(made     ? "Folder created: " + folder
                        : status ? "Folder not created: " + folder
                                 : "Folder not created: " + folder + ": " + ErrorText(status));
    return made;
}

bool FileInstallation::CopyOneFile(const std::string& source, const std::string& destination) {
    const bool copied = Copy(source, destination);
    if (!copied) {
        ShowCopyError(destination);
    }
    return copied;
}

bool FileInstallation::Copy(const std::string& source, const std::string& destination) {
    const language::Language& language = context_.language;
    context_.progress.ShowCopyingFile(language.Lookup(language::keys::cCopyFile) + ": " +
                                      destination);
    // A new file is recorded before it is kept: a run killed at any moment leaves no whole file
    // without its record, which the uninstaller would leave behind and "if not exist" would keep
    // unrecorded for good.
    bool recorded = false;
    const platform::BeforeKept record = [&] {
        recorded = true;
        return context_.log.LogItem(kLogFile, destination, true);
    };
    platform::Result<std::int64_t> copied = context_.files.CopyNewFile(source, destination, record);
    if (copied.code() == platform::kErrorFileExists) {
        copied = Replace(source, destination, record);
    }
    const bool ok = static_cast<bool>(copied);
    const std::int64_t size = copied.value_or(0);
    context_.trace.Line(
        ok ? "Copied " + source + " -> " + destination + " (" + std::to_string(size) + " bytes)"
           : "Copy failed: " + source + " -> " + destination + ": " + ErrorText(copied.error()));
    if (!ok || !recorded) {  // a "1" written before a failure becomes "0"
        platform::IgnoreFailure(context_.log.LogItem(kLogFile, destination, ok),
                                kRecordFailureThrows);
    }
    if (ok) {
        installed_sizes_[platform::ToLower(destination)] = size;
        context_.progress.AdvanceProgress(size);
    }
    return ok;
}

std::int64_t FileInstallation::InstalledBytes() const {
    std::int64_t total = 0;
    for (const auto& [destination, size] : installed_sizes_) {
        total += size;
    }
    return total;
}

platform::Result<std::int64_t> FileInstallation::Replace(const std::string& source,
                                                         const std::string& destination,
                                                         const platform::BeforeKept& record) {
    platform::FileSystem& files = context_.files;
    const platform::Result<platform::FileInfo> existing = files.Info(destination);
    if (existing && existing->Unfinished()) {
        // A killed run's unfinished copy is nobody's file: it makes way for a new copy, recorded
        // before it is kept as any new one.
        if (const platform::Result<void> removed = files.DeleteFile(destination); !removed) {
            return removed.error();
        }
        return files.CopyNewFile(source, destination, record);
    }
    constexpr std::uint32_t kProtected = platform::kAttributeReadOnly | platform::kAttributeHidden;
    if (!existing || existing->Directory() || (existing->attributes & kProtected) != 0) {
        // The platform's copy refuses to replace these; so does the copy beside them.
        return platform::Failure(platform::kErrorAccessDenied);
    }
    // The platform's copy is put in place only when whole: the file it replaces is never lost.
    // It is recorded once in place, as a record before it would, after a kill, give the
    // uninstaller the file that was there, which may be the user's; but for a file saved in this
    // run's backup folder, which the uninstaller puts back from there.
    if (saved_.contains(platform::ToLower(destination))) {
        if (const platform::Result<void> recorded = record(); !recorded) {
            return recorded.error();
        }
    }
    if (const platform::Result<void> status = files.CopyFile(source, destination); !status) {
        return status.error();
    }
    const platform::Result<platform::FileInfo> replaced = files.Info(destination);
    return replaced ? replaced->size : 0;
}

void FileInstallation::ShowCopyError(const std::string& destination) {
    context_.progress.Flush();
    const language::Language& language = context_.language;
    language::ShowErrorBox(context_.dialogs, language,
                           language.Lookup(language::keys::cErrorCopyFile) + " " + destination,
                           language::keys::cErrorCopyFile.key);
    if (context_.update_background) {
        context_.update_background();
    }
}

void FileInstallation::CreateCommonShortcuts(const std::string& group_dir) {
    const std::vector<ScriptLine> lines = LoadedScript().Lines(kCommonShortcutList);
    if (lines.empty()) {
        return;
    }
    platform::IgnoreFailure(context_.files.CreateDirectories(group_dir),
                            "a shortcut that cannot be made in a folder not made says so itself");
    const std::string& destination = context_.folders.destination;
    for (const ScriptLine& line : lines) {
        const ShortcutLine shortcut = SplitShortcutLine(line);
        CreateShortcut(context_.shell, context_.log, destination + "\\" + shortcut.file,
                       shortcut.arguments, group_dir + "\\" + shortcut.caption + ".lnk",
                       destination);
    }
}

}  // namespace script
