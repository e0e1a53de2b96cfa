#pragma once
// The uninstaller's copy in the temporary folder. The program started from the installation
// folder does the work, but while it runs it can delete neither its own file nor the folders
// that hold it. So it starts a copy of itself as the removal begins, which waits: the program
// hands it what is left, ends, and the copy carries that out. Started while files go, the copy
// is ready by then, and a deployment tool that waits for the program gets its exit code without
// waiting for the copy.
// The copy's own file goes as the copy ends: the system deletes it when its last handle closes.
#include <windows.h>

#include <future>
#include <optional>
#include <span>
#include <string>

#include "platform/win32/handles.h"
#include "uninstall/removal_plan.h"

namespace app {

// Given by the program to its copy: the pipe the operations come through, the process to wait
// for and the full path of the account to continue.
inline constexpr char kRestSwitch[] = "/REST=";
inline constexpr char kStarterSwitch[] = "/STARTER=";
inline constexpr char kAccountSwitch[] = "/ACCOUNT=";

// The program's side.
class Finisher {
  public:
    // Starts the copy of program on a thread of its own: the system takes long to make a
    // process, and the work goes on meanwhile.
    void Start(const std::string& program, const std::optional<std::string>& account);

    // Hands the operations to the copy, once; false when there is no copy to take them.
    bool HandOver(std::span<const uninstall::Operation> rest);

  private:
    std::future<platform::UniqueKernelObject> pipe_;  // its end to write to, once started
};

// The copy's side: the operations handed over (ReadHandedOver reads them), once the program
// that started this copy has ended; none when it ended without handing any over.
std::string AwaitRest(HANDLE rest_pipe, HANDLE starter);

}  // namespace app
