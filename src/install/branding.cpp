#include "install/branding.h"

#include "platform/text.h"

namespace install {

bool IsClientServer(const std::optional<std::string>& kind) {
    return kind && platform::ToLower(*kind) == "clientserver";
}

}  // namespace install
