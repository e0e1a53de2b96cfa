#pragma once
// The composition of setup.exe: the windows, the wizard, the installation run and the
// unattended mode put together on the platform, then the message loop.
#include "app/command_line.h"
#include "platform/trace.h"
#include "platform/win32/win32_platform.h"

namespace app {

// Runs the wizard, or the unattended installation, to its end; returns the exit code.
int RunSetup(platform::Win32Platform& win32, const Options& options);

// The account's last line.
void TraceExit(platform::Trace& trace, int code);

}  // namespace app
