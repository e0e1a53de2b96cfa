#pragma once
// Switchable failures of the fakes: rules that make one kind of operation fail on a path, on
// every call or only on the Nth, at once or after some bytes have landed (a disk that fills up).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace platform {

enum class FakeOperation {
    Open,             // FileSystem::Open, any mode
    Read,             // FileSystem::ReadFile, OpenFile::Read
    Write,            // FileSystem::WriteFile, OpenFile::Write
    Copy,             // FileSystem::CopyFile; the path is the source or the destination
    KeepCopy,         // FileSystem::CopyNewFile, clearing the mark for removal; the destination
    CreateDirectory,  // each folder FileSystem::CreateDirectories has to make
    Delete,           // FileSystem::DeleteFile
    SetAttributes,    // FileSystem::SetAttributes
    RemoveDirectory,  // FileSystem::RemoveDirectory
    Move,             // FileSystem::MoveReplacing; either path
    CreateKey,        // Registry::CreateKey, each key it has to make
    WriteValue,       // Registry::WriteString and WriteDword; the path is the key
    DeleteKey,        // Registry::DeleteTree and DeleteEmptyKey
    DeleteValue,      // Registry::DeleteValue; the path is the key
    WriteWinIni,      // System::WriteWinIni and DeleteWinIni; the path is the section
    MakeLink,         // Shell::CreateLink: the link cannot be made; the path is the file
    SaveLink,         // Shell::CreateLink: the save fails
    ProcessSnapshot,  // System::ProcessNames
};

struct FailureRule {
    FakeOperation operation;
    std::string path;  // fires only on paths containing this text, letter case ignored; "" any
    std::uint32_t error = kErrorAccessDenied;
    int on_call = 0;  // fires on the Nth matching call only (counting from 1); 0 on every one
    // Writes and copies: the first N bytes land, then the operation fails (as a disk that
    // fills up); on an open file N counts every byte written through it.
    std::optional<std::int64_t> after_bytes;
};

class FakeFailures {
  public:
    void Add(FailureRule rule) { rules_.push_back({std::move(rule), 0}); }
    void Clear() { rules_.clear(); }
    // Counts the call for every rule it matches and gives the first that fires; null when
    // none does. A second path is for operations on two (copy, move).
    const FailureRule* Check(FakeOperation operation, std::string_view path,
                             std::string_view other_path = {}) const;

  private:
    struct Armed {
        FailureRule rule;
        int calls = 0;
    };
    mutable std::vector<Armed> rules_;  // counting calls is not a change the caller sees
};

}  // namespace platform
