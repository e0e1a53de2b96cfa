#pragma once
// The account of a run for administrators: each step, decision and record as one readable line.
// Writers say what happened; the sink puts the time in front and decides where the line goes.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Trace {
  public:
    virtual ~Trace() = default;
    virtual void Line(std::string_view text) = 0;
};

// A run without an account.
class NoTrace final : public Trace {
  public:
    void Line(std::string_view) override {}
};

// Keeps the lines, for tests.
class RecordingTrace final : public Trace {
  public:
    void Line(std::string_view text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

}  // namespace platform
