#pragma once
// Writing to an open file, by the one rule for it: a disk file is written whole or the call
// fails, so a short write is a full disk.
#include <windows.h>

#include <string_view>

#include "platform/status.h"

namespace platform {

inline Status WriteWhole(HANDLE file, std::string_view bytes) {
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return Status::Failure(GetLastError());
    return written == bytes.size() ? Status::Success() : Status::Failure(Status::kErrorDiskFull);
}

}  // namespace platform
