// The copy step and the installation log, timed under Wine for bench/copy_step.sh.
//
//   copy_step_bench copy SOURCE DESTINATION
//       runs the script SOURCE\setup.ini as the installation run does: the folders, then the
//       copy sections, with the installation log and the progress window live
//   copy_step_bench log COUNT LOG_PATH new|full
//       COUNT records into a new log ("file" is its last section), or into a log that already
//       holds COUNT records in "file" with sections after it; prints the mean cost of the first
//       and of the last thousand records
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "language/language.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "script/copy_files_form.h"
#include "script/file_installation.h"
#include "ui/win32/win32_application.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_message_dialogs.h"

namespace {

int CopyStep(const std::string& source, const std::string& destination) {
    platform::Win32Platform win32;
    platform::Platform platform = win32.Get();
    ui::Win32Backend backend;
    ui::Win32Application application(backend);
    ui::Win32MessageDialogs dialogs;
    language::Language language(platform.files, platform.codec, source);
    script::CopyFilesForm progress;
    backend.Create(progress.GetForm(), nullptr);
    progress.Attach(platform.clock, application);
    progress.SetCaption(language.Lookup(language::keys::cCopyFiles));
    progress.SetStep(language.Lookup(language::keys::cFolderCreate) + "...");
    progress.Show();

    platform::IgnoreFailure(platform.files.CreateDirectories(destination),
                            "a folder not made fails the log's open, which reports it");
    platform::Result<void> error;
    const auto log = script::OpenInstallLog(platform.files, platform.codec,
                                            destination + "\\install.ini", error);
    if (!log) {
        std::fprintf(stderr, "cannot open the log: %u\n", static_cast<unsigned>(error.code()));
        return 1;
    }
    const std::string script_file = source + "\\setup.ini";
    const std::int64_t need =
        std::stoll("0" + platform::LoadProfile(platform.files, platform.codec, script_file)
                             .Read("main", "NeedDiskSpace"));
    script::FileInstallation installation({platform.files,
                                           platform.codec,
                                           platform.clock,
                                           platform.shell,
                                           language,
                                           dialogs,
                                           *log,
                                           progress,
                                           {},
                                           script_file,
                                           {source, destination, "C:\\windows\\system32", ""},
                                           3,
                                           need,
                                           platform.trace});
    installation.CreateFolders();
    progress.CopyModeOn(language);
    installation.InstallFiles();
    progress.CopyModeOff(language.Lookup(language::keys::cLinkCreate) + "...");
    progress.Hide();
    return 0;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

int LogRecords(int count, const std::string& path, bool full) {
    platform::Win32FileSystem files;
    platform::AnsiCodec codec;
    // A log left by an earlier run would be measured in place of the one asked for.
    if (const platform::Result<void> deleted = files.DeleteFile(path);
        !deleted && deleted.code() != platform::kErrorFileNotFound) {
        std::fprintf(stderr, "cannot remove the old log: %u\n",
                     static_cast<unsigned>(deleted.code()));
        return 1;
    }
    if (full) {
        std::string text =
            "[main]\r\nstart=10:00:00 01.01.2026\r\n[folder]\r\nC:\\Old=1\r\n[file]\r\n";
        for (int i = 0; i < count; ++i) {
            text += "C:\\Old\\Files\\folder" + std::to_string(i % 8) + "\\file" +
                    std::to_string(i) + ".dat=1\r\n";
        }
        text += "[lregkey]\r\nSOFTWARE\\Old=1\r\n[cregkey]\r\n.mix=1\r\n";
        if (const platform::Result<void> written = files.WriteFile(path, text); !written) {
            std::fprintf(stderr, "cannot write the log: %u\n",
                         static_cast<unsigned>(written.code()));
            return 1;
        }
    }
    platform::Result<void> error;
    const auto log = script::OpenInstallLog(files, codec, path, error);
    if (!log) {
        std::fprintf(stderr, "cannot open the log: %u\n", static_cast<unsigned>(error.code()));
        return 1;
    }
    if (!full && (!log->LogText("main", "start", "10:00:00 01.01.2026") ||
                  !log->LogItem("folder", "C:\\Zinkolar", true))) {
        std::fprintf(stderr, "cannot write the first records\n");
        return 1;
    }
    constexpr int kChunk = 1000;
    std::vector<double> chunks;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i) {
        const std::string key = "C:\\Zinkolar\\Files\\folder" + std::to_string(i % 8) + "\\file" +
                                std::to_string(i) + ".dat";
        if (!log->LogItem("file", key, true)) {
            std::fprintf(stderr, "record %d failed\n", i);
            return 1;
        }
        if ((i + 1) % kChunk == 0) {
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            chunks.push_back(Seconds(start, now));
            start = now;
        }
    }
    const double first = chunks.front() * 1e6 / kChunk;
    const double last = chunks.back() * 1e6 / kChunk;
    std::printf("LOG %s records %d first_us %.2f last_us %.2f ratio %.3f\n", full ? "full" : "new",
                count, first, last, last / first);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(platform::Narrow(argv[i]));
    }
    if (args.size() == 3 && args[0] == "copy") {
        return CopyStep(args[1], args[2]);
    }
    if (args.size() == 4 && args[0] == "log") {
        return LogRecords(std::stoi(args[1]), args[2], args[3] == "full");
    }
    std::fprintf(stderr,
                 "usage: copy_step_bench copy SOURCE DESTINATION\n"
                 "       copy_step_bench log COUNT LOG_PATH new|full\n");
    return 2;
}
