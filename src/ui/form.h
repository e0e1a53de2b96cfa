#pragma once
// A top-level window holding named controls. Form code changes properties; a back end shows
// them. Events from the back end (or from tests, headless) call the controls' handlers.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace ui {

enum class FormProperty {
    Caption,
    Visible,
    Color,
    Focus,
    EnterButton,  // which button shows itself as the one Enter presses
};

class Backend;

class Form {
  public:
    struct Options {
        std::string class_name;  // window class, e.g. "TWizardDlg"
        int client_width = 0;    // 0 with full_screen
        int client_height = 0;
        std::uint32_t color = 0xFFFFFF;  // 0x00BBGGRR
        bool full_screen = false;        // borderless, over the whole screen
        bool dialog_frame = false;       // fixed frame with a caption
        bool system_menu = true;         // with dialog_frame: the close box
        bool topmost = false;
    };

    explicit Form(Options options);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form();

    const Options& GetOptions() const { return options_; }
    Control& Add(const ControlLayout& layout);
    void AddAll(std::span<const ControlLayout> layouts);
    // The control of that name; throws std::out_of_range for a name the form does not hold.
    Control& operator[](ControlName name) const;
    Control* FindById(int id) const;
    // Shows or hides the named controls.
    void SetControlsVisible(std::initializer_list<ControlName> names, bool visible);
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    std::uint32_t Color() const { return options_.color; }
    void SetColor(std::uint32_t color);
    Control* Focused() const { return focused_; }
    void SetFocus(Control& control);
    // The person moved the focus (Tab, a click); null when it went to a window of no control.
    void UserFocused(Control* control);
    // The default button (Enter) and the cancel button (Escape while it is showing).
    void SetDefaultButton(Control& button) { default_button_ = &button; }
    void SetCancelButton(Control& button) { cancel_button_ = &button; }
    // The button Enter presses, by the platform's dialog rule: the push button that has the
    // focus, else the default button.
    Control* EnterButton() const;

    // The controls Tab reaches, in the order of the layout: top to bottom, then left to right.
    // Radio buttons of one panel are one stop, the checked one (the arrow keys move within).
    std::vector<Control*> TabOrder() const;
    // Whether the control begins a group of the arrow keys, as the platform's dialogs group
    // controls: every control that takes input does, but a radio button or check box right after
    // another of its kind in its panel (among the panel's controls that take input) joins that
    // one's group, so the arrow keys move among them.
    bool StartsGroup(const Control& control) const;

    // Keys and the close box, as a person uses them.
    void PressEnter();
    void PressEscape();
    // Tab (Shift+Tab: backwards) moves the focus to the next stop of the tab order, round.
    void PressTab(bool backwards = false);
    void RequestClose();

    // The close box or the platform's close command; the form itself never closes.
    std::function<void()> on_close_request;
    // The form became the active window.
    std::function<void()> on_activate;

    // Paints the window and its controls now, while the program holds the thread.
    void Repaint();
    // Paints now only what changed since the last paint (texts, the bar): several times cheaper
    // under Wine, for what changes many times a second.
    void PaintChanges();

    void Attach(Backend* backend);
    void Notify(Control& control, Property property);

  private:
    void Notify(FormProperty property);

    Options options_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::string caption_;
    bool visible_ = false;
    Control* focused_ = nullptr;
    Control* default_button_ = nullptr;
    Control* cancel_button_ = nullptr;
    Backend* backend_ = nullptr;
};

// Mirrors forms into windows. The headless build has none: properties live in the form only.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual void Update(Control& control, Property property) = 0;
    virtual void Update(Form& form, FormProperty property) = 0;
    virtual void Repaint(Form& form, bool only_changes) = 0;
};

// The application as a whole: its title, its end, and the pending messages.
class Application {
  public:
    virtual ~Application() = default;
    virtual void SetTitle(const std::string& title) = 0;
    // Asks the message loop to end; the program exits with the code when control returns to it.
    virtual void Terminate(int exit_code) = 0;
    virtual bool Terminating() const = 0;
    // A start-up failure: the main window is never shown.
    virtual void SetShowMainWindow(bool show) = 0;
    // Lets pending window messages be processed.
    virtual void ProcessMessages() = 0;
    // Lets pending window messages be processed but drops the user's input (keys, mouse): for
    // long work on this thread, so that windows paint and the program keeps answering.
    virtual void DrainMessages() = 0;
    // Ends the process at once with the exit code: for a start-up that cannot go on before any
    // window is shown. A run's steps never end the program; the run's loop does (Terminate).
    [[noreturn]] virtual void Halt(int exit_code) = 0;
};

}  // namespace ui
