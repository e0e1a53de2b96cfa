#pragma once
// The application without windows, for tests: it records its title and end. Halt throws, so
// the code under test stops where the process would end.
#include <optional>
#include <string>

#include "ui/form.h"

namespace ui {

struct Halted {
    int exit_code;
};

class HeadlessApplication final : public Application {
  public:
    std::string title;
    std::optional<int> exit_code;  // set by Terminate
    bool show_main_window = true;
    int processed = 0;  // calls of ProcessMessages
    int drained = 0;    // calls of DrainMessages

    void SetTitle(const std::string& text) override { title = text; }
    void Terminate(int code) override {
        if (!exit_code)
            exit_code = code;
    }
    bool Terminating() const override { return exit_code.has_value(); }
    void SetShowMainWindow(bool show) override { show_main_window = show; }
    void ProcessMessages() override { ++processed; }
    void DrainMessages() override { ++drained; }
    [[noreturn]] void Halt(int code) override { throw Halted{code}; }
};

}  // namespace ui
