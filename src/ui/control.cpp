#include "ui/control.h"

#include <algorithm>

#include "platform/text.h"
#include "ui/form.h"

namespace ui {

Control::Control(Form& form, const ControlLayout& layout, Control* parent, Control* label)
    : form_(form),
      name_(layout.name.Text()),
      id_(layout.id),
      kind_(layout.kind),
      style_(layout.style),
      parent_(parent),
      label_(label),
      visible_(layout.visible),
      bounds_(layout.bounds) {}

void Control::Changed(Property property) {
    form_.Notify(*this, property);
}

void Control::Fire(const std::function<void()>& handler) {
    if (handler)
        handler();
}

void Control::SetText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    Changed(Property::Text);
    // An edit field reports every change of its text, also one made by the program.
    if (kind_ == Kind::Edit)
        Fire(on_change);
}

void Control::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    Changed(Property::Visible);
}

bool Control::Showing() const {
    for (const Control* c = this; c != nullptr; c = c->parent_) {
        if (!c->visible_)
            return false;
    }
    return true;
}

Rect Control::FormBounds() const {
    Rect place = bounds_;
    for (const Control* panel = parent_; panel != nullptr; panel = panel->parent_) {
        place.left += panel->bounds_.left;
        place.top += panel->bounds_.top;
    }
    return place;
}

bool Control::TakesInput() const {
    switch (kind_) {
        case Kind::Button:
        case Kind::CheckBox:
        case Kind::RadioButton:
        case Kind::ComboList:
        case Kind::ListBox:
        case Kind::Edit:
        case Kind::RichText:
            return true;
        default:
            return false;
    }
}

bool Control::TabStop() const {
    return TakesInput() && enabled_ && Showing();
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Changed(Property::Enabled);
}

void Control::SetProgress(int position, int maximum) {
    if (position == progress_position_ && maximum == progress_maximum_)
        return;
    progress_position_ = position;
    progress_maximum_ = maximum;
    Changed(Property::Progress);
}

void Control::SetChecked(bool checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    Changed(Property::Checked);
    if (checked)
        UncheckOtherRadios(true);
}

void Control::UncheckOtherRadios(bool report) {
    if (kind_ != Kind::RadioButton)
        return;
    for (const auto& other : form_.Controls()) {
        if (other.get() == this || other->kind_ != Kind::RadioButton || other->parent_ != parent_)
            continue;
        if (report) {
            other->SetChecked(false);
        } else {
            other->checked_ = false;
        }
    }
}

void Control::SetBounds(Rect bounds) {
    if (bounds == bounds_)
        return;
    bounds_ = bounds;
    Changed(Property::Bounds);
}

void Control::SetTop(int top) {
    Rect bounds = bounds_;
    bounds.top = top;
    SetBounds(bounds);
}

int Control::InsertItem(std::string item) {
    auto at = items_.end();
    if (style_.sorted) {
        at = std::upper_bound(items_.begin(), items_.end(), item, platform::LessIgnoreCase());
    }
    const int index = static_cast<int>(at - items_.begin());
    items_.insert(at, std::move(item));
    return index;
}

int Control::AddItem(std::string item) {
    const int index = InsertItem(std::move(item));
    if (item_index_ >= index)
        ++item_index_;
    Changed(Property::Items);
    return index;
}

void Control::RemoveItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return;
    items_.erase(items_.begin() + index);
    if (item_index_ == index) {
        item_index_ = -1;
    } else if (item_index_ > index) {
        --item_index_;
    }
    Changed(Property::Items);
}

void Control::SetItems(std::vector<std::string> items) {
    items_.clear();
    item_index_ = -1;
    for (auto& item : items)
        InsertItem(std::move(item));
    Changed(Property::Items);
}

void Control::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size()))
        index = -1;
    if (index == item_index_)
        return;
    item_index_ = index;
    Changed(Property::ItemIndex);
}

std::string Control::SelectedItem() const {
    if (item_index_ < 0 || item_index_ >= static_cast<int>(items_.size()))
        return {};
    return items_[item_index_];
}

void Control::SetContent(std::string content) {
    content_ = std::move(content);
    Changed(Property::Content);
}

void Control::AppendLine(const std::string& line) {
    if (!content_.empty())
        content_ += "\r\n";
    content_ += line;
    Changed(Property::Content);
}

void Control::SetPicture(std::optional<platform::Bitmap> picture) {
    picture_ = std::move(picture);
    Changed(Property::Picture);
}

void Control::Click() {
    if (!Showing() || !enabled_)
        return;
    if (kind_ == Kind::CheckBox) {
        SetChecked(!checked_);
    } else if (kind_ == Kind::RadioButton) {
        SetChecked(true);
    }
    Fire(on_click);
}

void Control::Choose(int index) {
    if (!Showing() || !enabled_ || index < 0 || index >= static_cast<int>(items_.size()))
        return;
    SetItemIndex(index);
    Fire(on_change);
}

void Control::Type(const std::string& text) {
    if (!Showing() || !enabled_ || kind_ != Kind::Edit)
        return;
    SetText(text);
}

void Control::UserChecked(bool checked) {
    checked_ = checked;
    // The window has unchecked its neighbours itself.
    if (checked)
        UncheckOtherRadios(false);
    Fire(on_click);
}

void Control::UserText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    Fire(on_change);
}

void Control::UserItemIndex(int index) {
    item_index_ = index;
    Fire(on_change);
}

}  // namespace ui
