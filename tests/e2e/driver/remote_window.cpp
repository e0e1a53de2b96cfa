#include "remote_window.h"

#include <stdexcept>

#include "strings.h"

namespace e2e {
namespace {

// A hung program must fail the test, not hang the driver.
constexpr UINT kSendTimeoutMs = 5000;

// The enumeration hands its context over as an integer.
BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

std::string RemoteWindow::ClassName() const {
    wchar_t name[256] = {};
    GetClassNameW(handle_, name, 256);
    return Utf8(name);
}

LRESULT RemoteWindow::Send(UINT message, WPARAM w, LPARAM l) const {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(handle_, message, w, l, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) ==
        0) {
        throw std::runtime_error("no answer to message " + std::to_string(message) + " from " +
                                 Describe());
    }
    return static_cast<LRESULT>(result);
}

std::string RemoteWindow::Text() const {
    const auto length = static_cast<size_t>(Send(WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    const auto copied =
        static_cast<size_t>(Send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied);
    return Utf8(text);
}

RECT RemoteWindow::ScreenRect() const {
    RECT rect{};
    GetWindowRect(handle_, &rect);
    return rect;
}

RemoteWindow RemoteWindow::Control(int id) const {
    std::vector<HWND> all;
    EnumChildWindows(handle_, CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND child : all) {
        if (GetDlgCtrlID(child) == id) {
            return RemoteWindow(child);
        }
    }
    throw std::runtime_error("no control " + std::to_string(id) + " in " + Describe());
}

std::vector<RemoteWindow> RemoteWindow::Children() const {
    std::vector<RemoteWindow> children;
    for (HWND child = GetWindow(handle_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.emplace_back(child);
    }
    return children;
}

bool RemoteWindow::Checked() const {
    return Send(BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void RemoteWindow::RequireUsable(const char* action) const {
    if (!Exists() || !Visible() || !Enabled()) {
        throw std::runtime_error(std::string("cannot ") + action + " " + Describe() +
                                 ": it is not shown or not enabled");
    }
}

void RemoteWindow::Click() const {
    RequireUsable("click");
    PostMessageW(handle_, BM_CLICK, 0, 0);
}

bool RemoteWindow::IsComboBox() const {
    return CompareStringOrdinal(Wide(ClassName()).c_str(), -1, L"ComboBox", -1, TRUE) == CSTR_EQUAL;
}

std::vector<std::string> RemoteWindow::Items() const {
    const bool combo = IsComboBox();
    const auto count = Send(combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    std::vector<std::string> items;
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = Send(combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        const auto copied =
            Send(combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        items.push_back(Utf8(item));
    }
    return items;
}

int RemoteWindow::SelectedIndex() const {
    return static_cast<int>(Send(IsComboBox() ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

void RemoteWindow::Choose(int index) const {
    RequireUsable("choose in");
    const bool combo = IsComboBox();
    Send(combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    // CBN_SELCHANGE and LBN_SELCHANGE are the same code.
    PostMessageW(GetParent(handle_), WM_COMMAND, MAKEWPARAM(Id(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(handle_));
}

void RemoteWindow::Type(std::string_view text) const {
    RequireUsable("type into");
    const std::wstring wide = Wide(text);
    Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string RemoteWindow::Describe() const {
    char handle[32];
    wsprintfA(handle, "%p", static_cast<void*>(handle_));
    if (!Exists()) {
        return std::string("gone window ") + handle;
    }
    return "window " + std::string(handle) + " (" + ClassName() + ", id " + std::to_string(Id()) +
           ")";
}

}  // namespace e2e
