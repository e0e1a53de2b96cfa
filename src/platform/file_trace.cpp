#include "platform/file_trace.h"

#include <cstdio>

namespace platform {

std::string FormatTimeOfDay(TimeOfDay time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", time.hour, time.minute, time.second,
                  time.millisecond);
    return text;
}

std::unique_ptr<FileTrace> FileTrace::Create(FileSystem& files, const std::string& path,
                                             std::function<TimeOfDay()> now) {
    Result<std::unique_ptr<OpenFile>> file = files.Open(path, OpenMode::Create);
    if (!file)
        return nullptr;
    return std::unique_ptr<FileTrace>(new FileTrace(std::move(*file), std::move(now)));
}

std::unique_ptr<FileTrace> FileTrace::Append(FileSystem& files, const std::string& path,
                                             std::function<TimeOfDay()> now) {
    Result<std::unique_ptr<OpenFile>> file = files.Open(path, OpenMode::ReadWrite);
    if (!file || !(*file)->Seek((*file)->Size()))
        return nullptr;
    return std::unique_ptr<FileTrace>(new FileTrace(std::move(*file), std::move(now)));
}

void FileTrace::Line(std::string_view text) {
    std::string line = FormatTimeOfDay(now_()) + " ";
    // One event, one line: line breaks inside a message become blanks.
    for (const char c : text)
        line += c == '\r' || c == '\n' ? ' ' : c;
    IgnoreFailure(file_->Write(line + "\r\n"),
                  "the account helps support; a line it cannot write must not stop the run");
}

}  // namespace platform
