#pragma once
// How the account of a run names a platform failure: by the platform's error code, which is what
// an administrator can look up.
#include <string>

#include "platform/status.h"

namespace script {

inline std::string ErrorText(platform::Status status) {
    return "error " + std::to_string(status.error);
}

}  // namespace script
