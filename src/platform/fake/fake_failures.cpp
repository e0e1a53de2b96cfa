#include "platform/fake/fake_failures.h"

#include "platform/text.h"

namespace platform {
namespace {

bool Contains(std::string_view path, const std::string& part) {
    return ToLower(path).find(ToLower(part)) != std::string::npos;
}

}  // namespace

const FailureRule* FakeFailures::Check(FakeOperation operation, std::string_view path,
                                       std::string_view other_path) const {
    const FailureRule* fired = nullptr;
    for (Armed& armed : rules_) {
        const FailureRule& rule = armed.rule;
        if (rule.operation != operation ||
            !(Contains(path, rule.path) ||
              (!other_path.empty() && Contains(other_path, rule.path)))) {
            continue;
        }
        ++armed.calls;
        if (fired == nullptr && (rule.on_call == 0 || rule.on_call == armed.calls))
            fired = &rule;
    }
    return fired;
}

}  // namespace platform
