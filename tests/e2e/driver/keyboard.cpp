#include "keyboard.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "wait.h"

namespace e2e {

void PressKey(WORD key, WORD modifier) {
    std::vector<INPUT> input;
    const auto add = [&](WORD k, DWORD flags) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = flags;
        input.push_back(i);
    };
    if (modifier != 0)
        add(modifier, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (modifier != 0)
        add(modifier, KEYEVENTF_KEYUP);
    const auto count = static_cast<UINT>(input.size());
    if (SendInput(count, input.data(), sizeof(INPUT)) != count)
        throw std::runtime_error("SendInput failed");
}

HWND FocusOf(const RemoteWindow& window) {
    GUITHREADINFO info{sizeof(info)};
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window.Handle(), nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

HWND Tab(const RemoteWindow& window) {
    const HWND before = FocusOf(window);
    PressKey(VK_TAB);
    return WaitFor(
        [&] {
            const HWND now = FocusOf(window);
            return now != before && now != nullptr ? std::optional<HWND>(now) : std::nullopt;
        },
        5s, "Tab to move the focus");
}

void TabTo(const RemoteWindow& window, const RemoteWindow& control) {
    for (int tabs = 0; FocusOf(window) != control.Handle(); ++tabs) {
        if (tabs == 20)
            throw std::runtime_error("Tab never reached control " + std::to_string(control.Id()));
        Tab(window);
    }
}

}  // namespace e2e
