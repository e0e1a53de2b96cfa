#include "ui/form.h"

#include <algorithm>
#include <stdexcept>

namespace ui {

Form::Form(Options options) : options_(std::move(options)) {}

Form::~Form() = default;

Control& Form::Add(const ControlLayout& layout) {
    Control* parent = layout.parent ? &(*this)[layout.parent] : nullptr;
    Control* label = layout.label ? &(*this)[layout.label] : nullptr;
    controls_.push_back(std::make_unique<Control>(*this, layout, parent, label));
    return *controls_.back();
}

void Form::AddAll(std::span<const ControlLayout> layouts) {
    for (const auto& layout : layouts)
        Add(layout);
}

Control& Form::operator[](ControlName name) const {
    for (const auto& control : controls_) {
        if (control->Name() == name.Text())
            return *control;
    }
    throw std::out_of_range("no control " + std::string(name.Text()));
}

Control* Form::FindById(int id) const {
    for (const auto& control : controls_) {
        if (control->Id() == id)
            return control.get();
    }
    return nullptr;
}

void Form::SetControlsVisible(std::initializer_list<ControlName> names, bool visible) {
    for (const ControlName name : names)
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

namespace {

// The radio button that stands for its group in the tab order: the checked one, else the first.
bool StandsForGroup(const Control& radio, const std::vector<std::unique_ptr<Control>>& controls) {
    const Control* first = nullptr;
    for (const auto& other : controls) {
        if (other->GetKind() != Kind::RadioButton || other->Parent() != radio.Parent() ||
            !other->TabStop()) {
            continue;
        }
        if (other->Checked())
            return other.get() == &radio;
        if (first == nullptr)
            first = other.get();
    }
    return first == &radio;
}

}  // namespace

std::vector<Control*> Form::TabOrder() const {
    std::vector<Control*> order;
    for (const auto& control : controls_) {
        if (control->TabStop() &&
            (control->GetKind() != Kind::RadioButton || StandsForGroup(*control, controls_))) {
            order.push_back(control.get());
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        const Rect p = a->FormBounds();
        const Rect q = b->FormBounds();
        return p.top != q.top ? p.top < q.top : p.left < q.left;
    });
    return order;
}

bool Form::StartsGroup(const Control& control) const {
    if (!control.TakesInput())
        return false;
    const Control* before = nullptr;
    for (const auto& other : controls_) {
        if (other.get() == &control)
            break;
        if (other->TakesInput() && other->Parent() == control.Parent())
            before = other.get();
    }
    const Kind kind = control.GetKind();
    const bool joins = (kind == Kind::RadioButton || kind == Kind::CheckBox) && before != nullptr &&
                       before->GetKind() == kind;
    return !joins;
}

void Form::PressTab(bool backwards) {
    const std::vector<Control*> order = TabOrder();
    if (order.empty())
        return;
    auto at = std::find(order.begin(), order.end(), focused_);
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    // From outside the order (nothing focused, a radio button of the group): the first stop
    // after the focus's place, as if it were in the order.
    std::ptrdiff_t index = at != order.end() ? at - order.begin() : (backwards ? 0 : -1);
    if (at == order.end() && focused_ != nullptr) {
        const Rect p = focused_->FormBounds();
        index = std::count_if(order.begin(), order.end(),
                              [&](const Control* c) {
                                  const Rect q = c->FormBounds();
                                  return q.top != p.top ? q.top < p.top : q.left <= p.left;
                              }) -
                (backwards ? 0 : 1);
    }
    index = (index + (backwards ? count - 1 : 1)) % count;
    SetFocus(*order[static_cast<size_t>(index)]);
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
