#pragma once
// How the account of a run names a platform failure: by the platform's error code, which is what
// an administrator can look up, and the call that gave it where the platform layer says.
#include <string>

#include "platform/result.h"

namespace script {

inline std::string ErrorText(const platform::Result<void>& status) {
    const std::string& call = status.error().text;
    return "error " + std::to_string(status.code()) + (call.empty() ? "" : " (" + call + ")");
}

}  // namespace script
