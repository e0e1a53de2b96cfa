#pragma once
// The toolkit's Win32 back end: real windows of the standard classes, one per control, with the
// control's stable identifier, so automation and screen readers can read and press them.
#include <windows.h>

#include <oleacc.h>

#include <map>
#include <optional>

#include "platform/win32/handles.h"
#include "ui/form.h"

namespace ui {

class Win32Backend final : public Backend {
  public:
    Win32Backend();
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    // Makes the windows of a form (hidden until the form is made visible); owner may be null.
    HWND Create(Form& form, HWND owner);
    // The form whose window this is (or whose control's window it is), or null.
    Form* FormOf(HWND window) const;
    // Enter, Escape and Tab for the forms; true when the message was handled.
    bool TranslateKeys(MSG& message);

    void Update(Control& control, Property property) override;
    void Update(Form& form, FormProperty property) override;
    void Repaint(Form& form, bool only_changes) override;

  private:
    static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(Form& form, HWND window, UINT message, WPARAM w, LPARAM l);
    void Command(Form& form, WPARAM w, LPARAM l);
    void CreateControl(Form& form, Control& control);
    // Sizes and places the form's window for its density; suggested: the platform's proposal
    // after a move to a monitor of another density.
    void PlaceForm(Form& form, HWND window, const RECT* suggested);
    // Lays the form out again at its new density: window, controls, fonts and pictures.
    void Rescale(Form& form, HWND window, const RECT& suggested);
    int DpiOf(const Control& control) const;
    // Gives a field its label's text as the name screen readers read.
    void NameByLabel(const Control& field);
    HFONT FontFor(int height, bool bold);
    // Whether the control's text fits its place at that density in a font of that height.
    bool TextFits(const Control& control, HWND window, int dpi, int height);
    // Gives the control its style's font at its density, or one a little smaller that its
    // text fits when it fits at 96 dpi.
    void ApplyFont(const Control& control, HWND window);
    // Moves and sizes the control for its density, with its font and picture for it.
    void Place(Control& control, HWND window);
    // The control's text, in a font it fits, and the name of the fields a label names.
    void SetText(const Control& control, HWND window);
    void SetPicture(Control& control, HWND window);
    void SetContent(Control& control, HWND window);
    void SetItems(Control& control, HWND window);
    // Tab (Shift+Tab: backwards): the focus to the next stop of the form's tab order.
    void Tab(Form& form, bool backwards);
    // Tells the form where the focus is now, and shows the button Enter presses.
    void FocusMoved(Form& form);
    // Asks for a new focus when the window, about to be hidden or disabled, holds it.
    void TellFocusLost(HWND window);
    // Puts the focus back on the form's focused control, or, where that cannot take it, on the
    // button Enter presses or the first stop of the tab order.
    void KeepFocus(Form& form, HWND window);
    void ShowEnterButton(Form& form);
    void Prepare();

    std::map<const Form*, HWND> forms_;
    std::map<const Control*, HWND> controls_;
    std::map<const Form*, int> dpis_;
    // The pictures and fonts the windows show, freed once the windows have gone (the
    // destructor's body destroys them first).
    std::map<const Control*, platform::UniqueBitmap> bitmaps_;
    std::map<std::pair<int, bool>, platform::UniqueFont> fonts_;
    platform::UniqueBrush white_;
    // Entered with the first window (the screen readers' service is a COM object), left after
    // the service is released.
    std::optional<platform::ComApartment> com_;
    platform::UniqueCom<IAccPropServices> annotations_;
    bool prepared_ = false;
    bool updating_ = false;  // changes made by the program are not reported back as the user's
};

}  // namespace ui
