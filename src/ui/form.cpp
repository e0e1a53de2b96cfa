#include "ui/form.h"

#include <stdexcept>

namespace ui {

Form::Form(Options options) : options_(std::move(options)) {}

Form::~Form() = default;

Control& Form::Add(const ControlLayout& layout) {
    Control* parent = layout.parent != nullptr ? &(*this)[layout.parent] : nullptr;
    controls_.push_back(std::make_unique<Control>(*this, layout, parent));
    return *controls_.back();
}

void Form::AddAll(std::span<const ControlLayout> layouts) {
    for (const auto& layout : layouts)
        Add(layout);
}

Control* Form::Find(std::string_view name) const {
    for (const auto& control : controls_) {
        if (control->Name() == name)
            return control.get();
    }
    return nullptr;
}

Control& Form::operator[](std::string_view name) const {
    Control* control = Find(name);
    if (control == nullptr)
        throw std::out_of_range("no control " + std::string(name));
    return *control;
}

Control* Form::FindById(int id) const {
    for (const auto& control : controls_) {
        if (control->Id() == id)
            return control.get();
    }
    return nullptr;
}

void Form::SetControlsVisible(std::initializer_list<const char*> names, bool visible) {
    for (const char* name : names)
        (*this)[name].SetVisible(visible);
}

void Form::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Notify(FormProperty::Caption);
}

void Form::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    Notify(FormProperty::Visible);
}

void Form::SetColor(std::uint32_t color) {
    options_.color = color;
    Notify(FormProperty::Color);
}

void Form::SetFocus(Control& control) {
    focused_ = &control;
    Notify(FormProperty::Focus);
    Notify(FormProperty::EnterButton);
}

void Form::UserFocused(Control* control) {
    focused_ = control;
    Notify(FormProperty::EnterButton);
}

Control* Form::EnterButton() const {
    if (focused_ != nullptr && focused_->GetKind() == Kind::Button && focused_->Showing() &&
        focused_->Enabled()) {
        return focused_;
    }
    return default_button_;
}

void Form::PressEnter() {
    if (Control* button = EnterButton())
        button->Click();
}

void Form::PressEscape() {
    if (cancel_button_ != nullptr)
        cancel_button_->Click();
}

void Form::RequestClose() {
    if (on_close_request)
        on_close_request();
}

void Form::Repaint() {
    if (backend_ != nullptr)
        backend_->Repaint(*this, false);
}

void Form::PaintChanges() {
    if (backend_ != nullptr)
        backend_->Repaint(*this, true);
}

void Form::Attach(Backend* backend) {
    backend_ = backend;
}

void Form::Notify(Control& control, Property property) {
    if (backend_ != nullptr)
        backend_->Update(control, property);
}

void Form::Notify(FormProperty property) {
    if (backend_ != nullptr)
        backend_->Update(*this, property);
}

}  // namespace ui
