#pragma once
// The installation log install.ini in the installation folder, written for the product's
// uninstaller and read again by a later run into the same folder.
//
// It is a profile file in the ANSI code page, updated in place: a key written again (in any
// letter case) keeps its line and gets the new value; a new key goes at the end of its section;
// a new section at the end of the file; removing a key blanks its line; everything else stays
// as it was. Every writer call is in the file when it returns, and a record costs the same
// however large the log has grown (see install_log.cpp). Writers return the platform's error
// when the record could not be written; records written before it are never damaged. A record
// that the code page cannot hold as it is (a path with a letter outside it) is not written:
// it would name another file (kErrorNoUnicodeTranslation).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/result.h"
#include "platform/text.h"
#include "platform/trace.h"

namespace script {

// Section names of the log.
inline constexpr char kLogMain[] = "main";
inline constexpr char kLogFolder[] = "folder";
inline constexpr char kLogFile[] = "file";
inline constexpr char kLogLocalKey[] = "lregkey";
inline constexpr char kLogClassesKey[] = "cregkey";
inline constexpr char kLogLocalValue[] = "lregvalue";

// Why the installation drops a writer's result: the run's log (install::RecordOrThrowLog) throws
// on a record it cannot write, so no failure ever comes back.
inline constexpr char kRecordFailureThrows[] = "the run's log throws on a record it cannot write";

class InstallLog {
  public:
    virtual ~InstallLog() = default;
    // key = "1" or "0".
    virtual platform::Result<void> LogItem(std::string_view section, std::string_view key,
                                           bool flag) = 0;
    // key = text (used for "main").
    virtual platform::Result<void> LogText(std::string_view section, std::string_view key,
                                           std::string_view text) = 0;
    // Removes the key; a key that is not there changes nothing.
    virtual platform::Result<void> UnlogItem(std::string_view section, std::string_view key) = 0;
    // Every key of a section in file order, values empty or not, with no limit on their number.
    virtual std::vector<std::string> Keys(std::string_view section) const = 0;
    // Writes the file anew once, without the blank lines and blanks at line ends that keep a
    // record's cost flat, for when the last record is written: a plain profile file for the
    // uninstaller and whoever reads it. Replaced in one step: on failure the log stays whole as
    // it was. A record written afterwards still goes in.
    virtual platform::Result<void> Finish() = 0;
};

// Opens the log at path, creating it when missing; null with error set when it cannot be
// opened. trace, when given, is told each record as the file gets it, and each one removed.
std::unique_ptr<InstallLog> OpenInstallLog(platform::FileSystem& files,
                                           const platform::TextCodec& codec,
                                           const std::string& path, platform::Result<void>& error,
                                           platform::Trace* trace = nullptr);

}  // namespace script
