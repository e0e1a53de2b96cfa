#include "install/file_types.h"

#include <functional>
#include <map>
#include <string>

#include "install/command_line.h"
#include "install/unchecked.h"

namespace install {

using platform::RegistryRoot;

// The fax type's description is written with the Cyrillic "с" (U+0441) after "Fa", as the
// product's own registration has it.
const std::array<FileTypeEntry, kFileTypeCount> kFileTypeTable{{
    {FileType::Mix, ".mix", "Zinkolar.MixFile", "Zinkolar Mixed Message File", "zkmanager.exe",
     true},
    {FileType::PhoneBook, ".bzk", "Zinkolar.PhoneBookFile", "Zinkolar Phone Book File",
     "phbook.exe", true},
    {FileType::Script, ".zka", "Zinkolar.ScriptFile", "Zinkolar Remote Control Script File",
     "scripted.exe", true},
    {FileType::LogBook, ".zlg", "Zinkolar.LogBookFile", "Zinkolar Log Book File", "logbook.exe",
     true},
    {FileType::Schedule, ".zks", "Zinkolar.SchedFile", "Zinkolar Delivery Schedule File",
     "zksched.exe", false},
    {FileType::Fax, ".zkx", "Zinkolar.ImageFile", "Zinkolar Fa\u0441simile Message File",
     "zkmanager.exe", true},
    {FileType::CoverPage, ".zkc", "Zinkolar.CoverPageFile", "Zinkolar Cover Page File",
     "zkmanager.exe", true},
}};

namespace {

// The programs as the associations name them: the short form, which has no blanks; the long
// path when the file is missing or has none. Each is looked up once: several types share a
// program, and a look-up of a short name reads the folder.
class ProgramPaths {
  public:
    ProgramPaths(const InstallationPlan& plan, const platform::FileSystem& files)
        : plan_(plan), files_(files) {}

    const std::string& Of(std::string_view program) {
        auto found = paths_.find(program);
        if (found == paths_.end()) {
            const std::string path = plan_.destination + "\\" + std::string(program);
            const std::string short_path = files_.ShortPath(path).value_or("");
            found = paths_.emplace(program, short_path.empty() ? path : short_path).first;
        }
        return found->second;
    }

  private:
    const InstallationPlan& plan_;
    const platform::FileSystem& files_;
    std::map<std::string, std::string, std::less<>> paths_;
};

std::string OpenCommand(const std::string& program_path, bool takes_document) {
    return QuotedWhenBlank(program_path) + (takes_document ? " \"%1\"" : "");
}

std::string ExtensionsRecord(std::string_view extension) {
    return std::string(kExtensionsKey) + "|" + std::string(extension);
}

// Opens (creating) a key of the association, records it, and writes its default value.
void WriteClassesKey(platform::Registry& registry, script::InstallLog& log, const std::string& key,
                     const std::string& value) {
    platform::IgnoreFailure(log.LogItem(script::kLogClassesKey, key,
                                        registry.CreateKey(RegistryRoot::ClassesRoot, key).Ok()),
                            script::kRecordFailureThrows);
    WriteStringOrThrow(registry, RegistryRoot::ClassesRoot, key, "", value);
}

void RegisterShellAssociation(const platform::Platform& platform, script::InstallLog& log,
                              const FileTypeEntry& entry, const std::string& program_path) {
    const std::string type_key(entry.type_key);
    platform.trace.Line("File type " + std::string(entry.extension) + " -> " + type_key);
    WriteClassesKey(platform.registry, log, std::string(entry.extension), type_key);
    WriteClassesKey(platform.registry, log, type_key, std::string(entry.description));
    // The command key lies below the type key, which the log already covers.
    const std::string command_key = type_key + "\\shell\\open\\command";
    platform::IgnoreFailure(platform.registry.CreateKey(RegistryRoot::ClassesRoot, command_key),
                            kKeyFailureThrows);
    WriteStringOrThrow(platform.registry, RegistryRoot::ClassesRoot, command_key, "",
                       OpenCommand(program_path, entry.takes_document));
}

void RegisterProgramEntry(const platform::Platform& platform, script::InstallLog& log,
                          const FileTypeEntry& entry, const std::string& program_path) {
    const std::string extension(entry.extension);
    platform::IgnoreFailure(platform.registry.CreateKey(RegistryRoot::LocalMachine, kExtensionsKey),
                            kKeyFailureThrows);
    WriteStringOrThrow(platform.registry, RegistryRoot::LocalMachine, kExtensionsKey, extension,
                       program_path + " ^" + extension);
    platform::IgnoreFailure(log.LogItem(script::kLogLocalValue, ExtensionsRecord(extension), true),
                            script::kRecordFailureThrows);
}

}  // namespace

bool ScriptEditorInstalled(const InstallationPlan& plan) {
    return plan.config.client_server ? plan.server : plan.config.voice_version;
}

bool FileTypeRegistered(const InstallationPlan& plan, FileType type) {
    if (!plan.FileTypeChosen(type))
        return false;
    switch (type) {
        case FileType::Mix:
            return plan.config.voice_version;
        case FileType::Script:
            return ScriptEditorInstalled(plan);
        default:
            return true;
    }
}

void RegisterFileTypes(const InstallationPlan& plan, const platform::Platform& platform,
                       script::InstallLog& log) {
    ProgramPaths programs(plan, platform.files);
    for (const FileTypeEntry& entry : kFileTypeTable) {
        if (FileTypeRegistered(plan, entry.type)) {
            RegisterShellAssociation(platform, log, entry, programs.Of(entry.program));
        } else {
            platform::IgnoreFailure(log.UnlogItem(script::kLogClassesKey, entry.extension),
                                    script::kRecordFailureThrows);
            platform::IgnoreFailure(log.UnlogItem(script::kLogClassesKey, entry.type_key),
                                    script::kRecordFailureThrows);
        }
    }
    for (const FileTypeEntry& entry : kFileTypeTable) {
        if (FileTypeRegistered(plan, entry.type))
            RegisterProgramEntry(platform, log, entry, programs.Of(entry.program));
        else
            platform::IgnoreFailure(
                log.UnlogItem(script::kLogLocalValue, ExtensionsRecord(entry.extension)),
                script::kRecordFailureThrows);
    }
}

}  // namespace install
