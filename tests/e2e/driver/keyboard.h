#pragma once
// The keyboard as a person uses it: keys go to the window that has the focus.
#include <windows.h>

#include "remote_window.h"

namespace e2e {

// Presses and releases a key, with a modifier (VK_SHIFT) held when given; the window system
// hands it to the window with the focus.
void PressKey(WORD key, WORD modifier = 0);
// The window with the keyboard focus on the thread of this window (null when none has it).
HWND FocusOf(const RemoteWindow& window);
// Presses Tab until the focus is on the control; throws when it never gets there.
void TabTo(const RemoteWindow& window, const RemoteWindow& control);
// Presses Tab and waits for the focus to move; gives the window that has it then.
HWND Tab(const RemoteWindow& window);

}  // namespace e2e
