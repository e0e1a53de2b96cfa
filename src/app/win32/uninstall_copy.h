#pragma once
// The uninstaller's copy in the temporary folder. The program started from the installation
// folder cannot delete its own file, so it starts a copy of itself that does the work and waits
// for the exit code; the copy hands the code back before it deletes the installation folder's
// file, and its own file goes with it: the system deletes it when the copy ends.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/handles.h"

namespace app {

// Given by the program to its copy: the installation folder, the pipe for the exit code and the
// handle of the process to wait for before its file is deleted.
inline constexpr char kFolderSwitch[] = "/INSTALLATION=";
inline constexpr char kResultSwitch[] = "/RESULT=";
inline constexpr char kStarterSwitch[] = "/STARTER=";

// Started from the installation folder: starts the copy with the folder and the arguments (their
// text as this program was given it) and returns its exit code; nullopt when no copy could be
// started (then this program does the work itself).
std::optional<int> RunCopy(const std::string& program, const std::string& folder,
                           const std::string& arguments);

// The copy's side: the program that started it, waiting for the exit code.
class Starter {
  public:
    Starter() = default;
    Starter(HANDLE result_pipe, HANDLE process) : result_pipe_(result_pipe), process_(process) {}

    // Hands the code to the program that started this one (once) and waits for it to end, so
    // that its file can go.
    void HandOver(int code);

  private:
    platform::UniqueKernelObject result_pipe_;
    platform::UniqueKernelObject process_;
};

}  // namespace app
