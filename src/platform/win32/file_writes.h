#pragma once
// Writing to an open file, by the one rule for it: a disk file is written whole or the call
// fails, so a short write is a full disk.
#include <windows.h>

#include <string_view>

#include "platform/result.h"

namespace platform {

inline Result<void> WriteWhole(HANDLE file, std::string_view bytes) {
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return Failure(GetLastError());
    return written == bytes.size() ? Success() : Failure(kErrorDiskFull);
}

}  // namespace platform
