// The program entry: the library search made safe, the command line, the account of the run, one
// setup at a time, then the program as setup_composition puts it together.
#include <windows.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/command_line.h"
#include "app/win32/console.h"
#include "app/win32/setup_composition.h"
#include "app/win32/single_instance.h"
#include "platform/file_trace.h"
#include "platform/win32/handles.h"
#include "platform/win32/libraries.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "ui/exit_codes.h"

namespace {

void Tell(const std::string& text, bool error) {
    app::Tell(text, error, L"Setup");
}

void TellUsageError(const std::string& error, bool quiet) {
    if (!quiet)
        app::TellUsageError("Setup", error, app::UsageText(), L"Setup");
}

platform::TimeOfDay Now() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return {time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

// Where a /LOG without a name writes: a dated file of its own in the temporary folder.
std::string TemporaryLogPath(const platform::FileSystem& files) {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    SYSTEMTIME now;
    GetLocalTime(&now);
    return app::DatedLogPath(platform::Narrow(folder), now.wYear, now.wMonth, now.wDay,
                             [&files](const std::string& path) { return files.FileExists(path); });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything can load a library: the program's folder may hold planted ones.
    platform::RestrictLibrarySearch();
    const std::vector<std::string> arguments = app::Arguments();
    const auto parsed = app::ParseCommandLine(arguments);
    const auto* usage_error = std::get_if<app::UsageError>(&parsed);
    const bool quiet = app::Quiet(arguments);

    platform::Win32Platform win32;
    std::optional<std::string> log_path =
        usage_error != nullptr ? usage_error->log : std::get<app::Options>(parsed).log;
    if (log_path && log_path->empty())
        log_path = TemporaryLogPath(win32.files);
    std::unique_ptr<platform::FileTrace> log;
    if (log_path) {
        log = platform::FileTrace::Create(win32.files, *log_path, Now);
        if (!log) {
            TellUsageError("cannot write the log file \"" + *log_path + "\"", quiet);
            return ui::kExitBadUsage;
        }
        win32.trace = log.get();
    }
    platform::Trace& trace = *win32.trace;
    if (log_path)
        trace.Line("Account of the run: " + *log_path);
    trace.Line("Command line: " + app::Join(arguments, " "));
    if (usage_error != nullptr) {
        trace.Line("Usage error: " + usage_error->text);
        app::TraceExit(trace, ui::kExitBadUsage);
        TellUsageError(usage_error->text, quiet);
        return ui::kExitBadUsage;
    }
    const app::Options& options = std::get<app::Options>(parsed);
    if (options.help) {
        Tell(app::UsageText(), false);
        return ui::kExitSuccess;
    }
    trace.Line("Options: " + app::Describe(options));

    if (!app::ClaimSingleSetup(!options.Unattended())) {
        trace.Line("Another setup is running. Exit code " + std::to_string(ui::kExitAnotherSetup));
        return ui::kExitAnotherSetup;
    }
    const platform::ComApartment com;
    int code = ui::kExitFatal;
    try {
        code = app::RunSetup(win32, options);
    } catch (const std::exception& e) {
        trace.Line(std::string("Error: ") + e.what());
        if (!options.Unattended() || !options.suppress_message_boxes)
            MessageBoxW(nullptr, platform::Wide(e.what()).c_str(), L"Setup",
                        MB_ICONERROR | MB_OK | MB_TOPMOST);
        code = options.Unattended() ? ui::kExitFatal : ui::kExitFailed;
    }
    app::TraceExit(trace, code);
    return code;
}
