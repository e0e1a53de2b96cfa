#pragma once
// Carrying out the installation script: the folders of "directory list", the files of the copy
// sections with their conditions and the backup of replaced files, and the shortcuts of "common
// shortcut list". Every folder, file and shortcut made is recorded in the installation log;
// every copy is shown in the progress window. Failures are reported inside (one error dialog per
// file that could not be copied) and the run goes on; a script that is there but cannot be read
// throws std::runtime_error, as does the run's log for a record it cannot write.
//
// A copy never destroys what it replaces: over an existing file it copies to a name beside it
// and swaps the copy in only when it is whole. A file is replaced in the "backup" section only
// once it is safely saved in the run's backup folder.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "language/language.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/trace.h"
#include "script/copy_files_form.h"
#include "script/install_log.h"
#include "script/script.h"
#include "ui/message_dialog.h"

namespace script {

// What the script's execution reads and where it reports, set before the run.
struct FileInstallationContext {
    platform::FileSystem& files;
    const platform::TextCodec& codec;
    const platform::Clock& clock;
    platform::Shell& shell;
    const language::Language& language;  // for the texts shown
    ui::MessageDialogs& dialogs;
    InstallLog& log;
    CopyFilesForm& progress;
    std::function<void()> update_background;  // after an error dialog; may be empty
    std::string script_file;                  // full path of the script (ScriptFileName)
    ScriptFolders folders;
    int platform_code = 0;
    std::int64_t need_disk_space = 0;  // bytes: the progress range
    platform::Trace& trace;            // told each folder, copy, backup and file kept
};

// One per installation run: it keeps the run's backup folder.
class FileInstallation {
  public:
    explicit FileInstallation(FileInstallationContext context);

    // Makes the folders of "directory list" inside the installation folder and records each with
    // its parent levels ("folder" section), deepest first.
    void CreateFolders();
    // Sets the progress range, then copies "file list", "if not exist", "backup" and the
    // platform's section, in this order.
    void InstallFiles();
    // Makes the group folder and the shortcuts of "common shortcut list" in it.
    void CreateCommonShortcuts(const std::string& group_dir);

    // Copies one file and records it ("file" section, "1" or "0"; a new file before it is kept,
    // so that no kill leaves it whole and unrecorded); shows it and advances the progress; an
    // error dialog when it failed. True when copied.
    bool CopyOneFile(const std::string& source, const std::string& destination);
    // Makes a new numbered folder in the installation folder's Backup, above every entry there
    // (hidden ones too): Backup\00001, Backup\00002 ...; returns it, empty when it could not
    // be made. A folder that is there is never taken.
    std::string NewBackupFolder();
    // Bytes of the files this run copied, each destination counted once at its latest size.
    std::int64_t InstalledBytes() const;

  private:
    // The script, read on first use: the run's steps share one reading of it.
    const Script& LoadedScript();
    // Copies a section's lines; only_where_missing: only where no file is at the destination.
    void CopySection(const Script& script, std::string_view section,
                     bool only_where_missing = false);
    void CopyWithBackup(const Script& script);
    // Saves the installed file into the backup folder; false when it is not safely there.
    bool SaveBackup(const std::string& installed);
    // Makes a folder with its parents; true when it is there.
    bool MakeFolder(const std::string& folder);
    // CopyOneFile without its error dialog.
    bool Copy(const std::string& source, const std::string& destination);
    // Puts the source in place of the file that is at the destination; gives the bytes copied.
    // Over a killed run's unfinished copy the new copy runs record before it is kept; a file
    // saved in this run's backup folder is recorded before it is replaced.
    platform::Result<std::int64_t> Replace(const std::string& source,
                                           const std::string& destination,
                                           const platform::BeforeKept& record);
    void ShowCopyError(const std::string& destination);

    FileInstallationContext context_;
    std::optional<Script> script_;
    std::string backup_folder_;
    std::set<std::string> saved_;         // installed files saved this run, in lower case
    std::set<std::string> backup_names_;  // names taken in the backup folder, in lower case
    std::map<std::string, std::int64_t> installed_sizes_;  // by lower-case destination
};

}  // namespace script
