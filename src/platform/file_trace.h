#pragma once
// The account of a run in a file: one UTF-8 line per event, "HH:MM:SS.mmm text", each written
// when it is said, so that a run that is killed leaves a readable account up to that point.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/trace.h"

namespace platform {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// "HH:MM:SS.mmm".
std::string FormatTimeOfDay(TimeOfDay time);

class FileTrace final : public Trace {
  public:
    // A new file in place of one of that name; nullptr when it cannot be made.
    static std::unique_ptr<FileTrace> Create(FileSystem& files, const std::string& path,
                                             std::function<TimeOfDay()> now);
    // The file of that name continued at its end, a new one when there is none; nullptr when it
    // cannot be opened.
    static std::unique_ptr<FileTrace> Append(FileSystem& files, const std::string& path,
                                             std::function<TimeOfDay()> now);

    void Line(std::string_view text) override;

  private:
    FileTrace(std::unique_ptr<OpenFile> file, std::function<TimeOfDay()> now)
        : file_(std::move(file)), now_(std::move(now)) {}

    std::unique_ptr<OpenFile> file_;
    std::function<TimeOfDay()> now_;
};

}  // namespace platform
