#pragma once
// A named control of a form: the properties the form code sets and reads, and the events it
// handles. A back end mirrors the properties into real windows (or keeps them in memory only).
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/libraries.h"

namespace ui {

enum class Kind {
    Label,
    Button,
    CheckBox,
    RadioButton,
    ComboList,  // drop-down list without free typing
    ListBox,
    Edit,
    RichText,  // read-only rich-text viewer
    ProgressBar,
    Picture,
    Panel,
    Bevel,
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// The height of the form's font in pixels: 8 points at 96 dots per inch.
inline constexpr int kFormFontHeight = 11;

struct Style {
    int font_height = 0;  // pixels; 0 is the form's font
    bool bold = false;
    bool word_wrap = true;
    bool vertical_center = false;
    bool sorted = false;  // lists keep their items sorted ignoring letter case
};

// A control's name as the code knows it: a constant declared once beside the layout that makes
// the control, so that a misspelt name does not compile. Its text is the name automation and
// the language files know the control by.
class ControlName {
  public:
    constexpr ControlName(std::nullptr_t) {}  // none: a control on the form itself, unlabelled
    explicit constexpr ControlName(const char* text) : text_(text) {}

    constexpr std::string_view Text() const { return text_ != nullptr ? text_ : ""; }
    constexpr explicit operator bool() const { return text_ != nullptr; }
    constexpr bool operator==(const ControlName& other) const { return Text() == other.Text(); }

  private:
    const char* text_ = nullptr;
};

// What is laid out in a form: a control's identity and its initial place.
struct ControlLayout {
    ControlName name;
    int id;  // stable window identifier, readable by automation
    Kind kind;
    ControlName parent;  // a panel, or nullptr for the form itself
    Rect bounds;         // relative to the parent
    bool visible = true;
    Style style = {};
    // Fields: the label laid out before the field whose text names it, which screen readers
    // read out as the field's name.
    ControlName label = nullptr;
};

enum class Property {
    Text,
    Visible,
    Enabled,
    Checked,
    Bounds,
    Items,
    ItemIndex,
    Content,
    Picture,
    Progress
};

class Form;

class Control {
  public:
    Control(Form& form, const ControlLayout& layout, Control* parent, Control* label);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    int Id() const { return id_; }
    Kind GetKind() const { return kind_; }
    const Style& GetStyle() const { return style_; }
    Control* Parent() const { return parent_; }
    Control* LabelledBy() const { return label_; }
    // Where it lies on the form: its bounds moved by those of the panels around it.
    Rect FormBounds() const;
    // Takes the focus when reached by Tab: showing, enabled and a control that takes input.
    bool TabStop() const;
    // Whether its kind takes the keyboard's input (whether shown and enabled or not).
    bool TakesInput() const;

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible itself and inside visible panels.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    Rect Bounds() const { return bounds_; }
    void SetBounds(Rect bounds);
    void SetTop(int top);

    // Lists (ComboList, ListBox).
    const std::vector<std::string>& Items() const { return items_; }
    int AddItem(std::string item);  // returns its index (sorted lists insert in order)
    void RemoveItem(int index);
    void SetItems(std::vector<std::string> items);
    int ItemIndex() const { return item_index_; }
    void SetItemIndex(int index);  // no change event: only the user's choice reports one
    std::string SelectedItem() const;

    // Rich-text viewer: the content is plain text or RTF ("{\rtf" at its start).
    const std::string& Content() const { return content_; }
    void SetContent(std::string content);
    void AppendLine(const std::string& line);

    // Picture.
    const std::optional<platform::Bitmap>& Picture() const { return picture_; }
    void SetPicture(std::optional<platform::Bitmap> picture);

    // Progress bar: a position in 0 .. maximum (32 bits, as the bar counts).
    int ProgressPosition() const { return progress_position_; }
    int ProgressMaximum() const { return progress_maximum_; }
    void SetProgress(int position, int maximum);

    // What a person does. Ignored unless the control is showing and enabled, as on screen.
    void Click();                        // buttons; check boxes toggle, radio buttons check
    void Choose(int index);              // lists: pick an item
    void Type(const std::string& text);  // edit field: replace the text

    // Back ends report what the user changed in a real window, then fire the event.
    void UserChecked(bool checked);
    void UserText(std::string text);
    void UserItemIndex(int index);

    std::function<void()> on_click;
    std::function<void()> on_change;

  private:
    void Changed(Property property);
    int InsertItem(std::string item);  // in order when sorted, else at the end
    // The other radio buttons of the same parent; report: tell the back end too.
    void UncheckOtherRadios(bool report);
    void Fire(const std::function<void()>& handler);

    Form& form_;
    std::string name_;
    int id_;
    Kind kind_;
    Style style_;
    Control* parent_;
    Control* label_;
    std::string text_;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    Rect bounds_;
    std::vector<std::string> items_;
    int item_index_ = -1;
    std::string content_;
    std::optional<platform::Bitmap> picture_;
    int progress_position_ = 0;
    int progress_maximum_ = 100;
};

}  // namespace ui
