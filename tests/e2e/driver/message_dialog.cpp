#include "message_dialog.h"

#include <stdexcept>

namespace e2e {
namespace {

bool ClassIs(const RemoteWindow& window, const wchar_t* name) {
    wchar_t actual[64] = {};
    GetClassNameW(window.Handle(), actual, 64);
    return CompareStringOrdinal(actual, -1, name, -1, TRUE) == CSTR_EQUAL;
}

bool IsPushButton(const RemoteWindow& window) {
    if (!ClassIs(window, L"Button")) {
        return false;
    }
    const auto type = GetWindowLongW(window.Handle(), GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

std::string MessageDialog::Text() const {
    std::string text;
    for (const RemoteWindow& child : window_.Children()) {
        if (!ClassIs(child, L"Static") || !child.Visible()) {
            continue;
        }
        const std::string line = child.Text();
        if (line.empty()) {
            continue;  // the icon
        }
        text += text.empty() ? line : "\n" + line;
    }
    return text;
}

std::vector<std::string> MessageDialog::Buttons() const {
    std::vector<std::string> captions;
    for (const RemoteWindow& child : window_.Children()) {
        if (IsPushButton(child) && child.Visible()) {
            captions.push_back(child.Text());
        }
    }
    return captions;
}

void MessageDialog::Press(std::string_view caption) const {
    for (const RemoteWindow& child : window_.Children()) {
        if (IsPushButton(child) && child.Visible() && child.Text() == caption) {
            child.Click();
            return;
        }
    }
    throw std::runtime_error("the dialog \"" + Title() + "\" has no button \"" +
                             std::string(caption) + "\"");
}

}  // namespace e2e
