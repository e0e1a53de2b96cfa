#pragma once
// Carrying out a removal plan: every operation is tried, a failed one is listed and the rest go
// on, so that one file in use never keeps the others on the machine.
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "uninstall/removal_plan.h"

namespace uninstall {

// What stays on the machine, for the last message.
struct LeftItem {
    enum class Kind {
        Failed,       // could not be removed: in use, no rights, a library missing
        UserContent,  // a folder that holds what the installation did not make
        Shared,       // a shared file other programs still count
        Kept,         // a backup whose original is not certain
        Refused,      // an unsound record of the log
    };
    Kind kind;
    std::string what;
    std::string why;  // for the account: the platform's error, the refusal's reason
};

struct RemovalOutcome {
    std::vector<LeftItem> left;
    // Something that should have gone stays, or the log held an unsound record.
    bool Incomplete() const;
};

struct RemovalCallbacks {
    // A step begins.
    std::function<void(Step)> step;
    // One operation is done (whatever its result), for the progress bar.
    std::function<void(const Operation&)> done;
    // The uninstaller's own file is next. It cannot go while this program runs from it: the
    // operations from it on may be handed to a program that carries them out once this one has
    // ended; true when they were. Then they are only looked at here, for the last message.
    std::function<bool(std::span<const Operation> rest)> hand_over;
};

// The product libraries are loaded through platform.libraries; a shared file goes when the
// platform's count of its users reaches zero.
RemovalOutcome CarryOut(const RemovalPlan& plan, const platform::Platform& platform,
                        const RemovalCallbacks& callbacks);

// The operations handed over, as text for the program that carries them out, and read back by
// it. Only the uninstaller's own file and folders to be removed when empty are read back: the
// text crosses a process boundary, and nothing else is ever handed over.
std::string WriteHandedOver(std::span<const Operation> rest);
RemovalPlan ReadHandedOver(std::string_view text);

}  // namespace uninstall
