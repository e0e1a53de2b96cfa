#include "app/branding.h"

#include "platform/text.h"

namespace app {

bool IsClientServer(const std::optional<std::string>& kind) {
    return kind && platform::ToLower(*kind) == "clientserver";
}

}  // namespace app
