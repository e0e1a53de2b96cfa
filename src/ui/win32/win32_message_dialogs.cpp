#include "ui/win32/win32_message_dialogs.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "ui/scale.h"
#include "ui/win32/dpi.h"

namespace ui {
namespace {

using platform::Wide;

constexpr int kLayoutMargin = 12;
constexpr int kLayoutIconSize = 32;
constexpr int kLayoutButtonWidth = 75;
constexpr int kLayoutButtonHeight = 23;
constexpr int kLayoutButtonGap = 6;
constexpr int kLayoutMaxTextWidth = 400;
constexpr int kTextId = 100;
constexpr int kIconId = 101;

int IdOf(DialogButton button) {
    switch (button) {
        case DialogButton::Yes:
            return IDYES;
        case DialogButton::No:
            return IDNO;
        case DialogButton::Ok:
            return IDOK;
        case DialogButton::Cancel:
            return IDCANCEL;
        case DialogButton::Retry:
            return IDRETRY;
    }
    return IDOK;
}

const wchar_t* IconOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning:
            return IDI_WARNING;
        case DialogKind::Error:
            return IDI_ERROR;
        case DialogKind::Information:
            return IDI_INFORMATION;
        case DialogKind::Confirmation:
            return IDI_QUESTION;
    }
    return IDI_INFORMATION;
}

UINT SoundOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Warning:
            return MB_ICONWARNING;
        case DialogKind::Error:
            return MB_ICONERROR;
        case DialogKind::Information:
            return MB_ICONINFORMATION;
        case DialogKind::Confirmation:
            return MB_ICONQUESTION;
    }
    return MB_OK;
}

struct Context {
    const DialogRequest* request;
    HFONT font;
};

bool Has(const DialogRequest& request, DialogButton button) {
    return std::find(request.buttons.begin(), request.buttons.end(), button) !=
           request.buttons.end();
}

void Layout(HWND dialog, const Context& context) {
    const DialogRequest& r = *context.request;
    SetWindowTextW(dialog, Wide(r.title).c_str());
    // The measures above are the layout's at 96 dpi.
    const int dpi = WindowDpi(dialog);
    const int margin = Scale(kLayoutMargin, dpi);
    const int icon_size = Scale(kLayoutIconSize, dpi);
    const int button_width = Scale(kLayoutButtonWidth, dpi);
    const int button_height = Scale(kLayoutButtonHeight, dpi);
    const int button_gap = Scale(kLayoutButtonGap, dpi);
    const int max_text_width = Scale(kLayoutMaxTextWidth, dpi);
    const std::wstring text = Wide(r.text);
    const platform::UniqueWindowDc dc = platform::GetWindowDc(dialog);
    const HGDIOBJ old = SelectObject(dc.get(), context.font);
    RECT text_rect{0, 0, max_text_width, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &text_rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc.get(), old);

    const int text_left = margin * 2 + icon_size;
    const int text_height = std::max<int>(text_rect.bottom, 1);
    const int text_top = margin + std::max(0, (icon_size - text_height) / 2);
    const int buttons = static_cast<int>(r.buttons.size());
    const int buttons_width = buttons * button_width + (buttons - 1) * button_gap;
    const int width =
        std::max<int>(text_left + text_rect.right + margin, buttons_width + 2 * margin);
    const int buttons_top = std::max(text_top + text_height, margin + icon_size) + margin + 4;
    const int height = buttons_top + button_height + margin;

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND icon = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, margin,
                                margin, icon_size, icon_size, dialog,
                                reinterpret_cast<HMENU>(kIconId), instance, nullptr);
    SendMessageW(icon, STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadImageW(nullptr, IconOf(r.kind), IMAGE_ICON, icon_size,
                                                     icon_size, LR_SHARED)),
                 0);
    HWND label =
        CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                        text_left, text_top, text_rect.right, text_height, dialog,
                        reinterpret_cast<HMENU>(kTextId), instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(context.font), FALSE);
    int left = (width - buttons_width) / 2;
    for (int i = 0; i < buttons; ++i) {
        const std::string& caption =
            i < static_cast<int>(r.captions.size()) ? r.captions[i] : std::string();
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                            (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
        HWND button = CreateWindowExW(
            0, L"BUTTON", Wide(caption).c_str(), style, left, buttons_top, button_width,
            button_height, dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(r.buttons[i]))), instance, nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(context.font), FALSE);
        if (i == 0)
            SetFocus(button);
        left += button_width + button_gap;
    }
    // Without a way to cancel, the close box could only give an answer the caller did not offer.
    if (!Has(r, DialogButton::Cancel) && !(buttons == 1 && r.buttons[0] == DialogButton::Ok)) {
        EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }

    RECT frame{0, 0, width, height};
    AdjustFrame(frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)),
                static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)), dpi);
    const int frame_width = frame.right - frame.left;
    const int frame_height = frame.bottom - frame.top;
    RECT area;
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - frame_width) / 2,
                 area.top + (area.bottom - area.top - frame_height) / 2, frame_width, frame_height,
                 SWP_NOZORDER);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* context = reinterpret_cast<const Context*>(l);
            SetWindowLongPtrW(dialog, DWLP_USER, l);
            Layout(dialog, *context);
            MessageBeep(SoundOf(context->request->kind));
            return FALSE;  // focus was set on the first button
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC: {
            SetBkMode(reinterpret_cast<HDC>(w), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
        }
        case WM_COMMAND: {
            const auto* context =
                reinterpret_cast<const Context*>(GetWindowLongPtrW(dialog, DWLP_USER));
            const DialogRequest& r = *context->request;
            const int id = LOWORD(w);
            if (id == IDCANCEL && !Has(r, DialogButton::Cancel)) {
                // Escape or the close box: only a dialog with just OK takes it as OK.
                if (r.buttons.size() == 1 && r.buttons[0] == DialogButton::Ok)
                    EndDialog(dialog, IDOK);
                return TRUE;
            }
            for (DialogButton b : r.buttons) {
                if (IdOf(b) == id) {
                    EndDialog(dialog, id);
                    return TRUE;
                }
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

// An empty dialog template in memory: the controls are made when it opens, sized to the text.
std::vector<WORD> Template(bool topmost) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* t = reinterpret_cast<DLGTEMPLATE*>(words.data());
    t->style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_SETFOREGROUND;
    t->dwExtendedStyle = topmost ? WS_EX_TOPMOST : 0;
    t->cdit = 0;
    t->cx = 100;
    t->cy = 50;
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    words.push_back(0);  // no title yet
    words.push_back(8);  // point size
    for (const wchar_t* f = L"MS Shell Dlg"; *f != 0; ++f)
        words.push_back(static_cast<WORD>(*f));
    words.push_back(0);
    return words;
}

}  // namespace

DialogButton Win32MessageDialogs::Show(const DialogRequest& request) {
    if (request.buttons.empty())
        throw std::invalid_argument("a message dialog needs a button");
    HWND owner = GetActiveWindow();
    if (owner != nullptr && !IsWindowVisible(owner))
        owner = nullptr;
    const std::vector<WORD> words = Template(owner == nullptr);
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const platform::UniqueFont font(CreateFontIndirectW(&metrics.lfMessageFont));
    Context context{&request, font.get()};
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner,
        DialogProc, reinterpret_cast<LPARAM>(&context));
    for (DialogButton b : request.buttons) {
        if (IdOf(b) == result)
            return b;
    }
    return request.buttons.back();
}

}  // namespace ui
