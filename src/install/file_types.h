#pragma once
// The product's document types: the shell association of each extension below HKEY_CLASSES_ROOT
// and the program entry in the shared "Extensions" key below HKEY_LOCAL_MACHINE, each recorded
// in the installation log, or its records removed when the type is not registered this time.
#include <array>
#include <string_view>

#include "install/installation_plan.h"
#include "platform/platform.h"
#include "script/install_log.h"

namespace install {

inline constexpr char kExtensionsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Extensions";

struct FileTypeEntry {
    FileType type;
    std::string_view extension;    // ".mix"
    std::string_view type_key;     // the ProgID, "Zinkolar.MixFile"
    std::string_view description;  // the type's default value
    std::string_view program;      // in the installation folder
    bool takes_document;           // the open command passes the document: ` "%1"`
};

// In the order of registration.
extern const std::array<FileTypeEntry, kFileTypeCount> kFileTypeTable;

// Whether this installation has the remote-control script editor: a voice edition without the
// server / client choice, or the server type of a client/server distribution.
bool ScriptEditorInstalled(const InstallationPlan& plan);

// Whether a type is registered: its box ticked, the voice edition for ".mix", and for ".zka"
// the script editor installed (a hidden box keeps its state, so this is decided here).
bool FileTypeRegistered(const InstallationPlan& plan, FileType type);

// Registers the chosen types, in two passes over the table (shell associations, then program
// entries). A key that cannot be opened is recorded with "0"; a value that cannot be written
// throws std::runtime_error.
void RegisterFileTypes(const InstallationPlan& plan, const platform::Platform& platform,
                       script::InstallLog& log);

}  // namespace install
