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
    platform::UniqueFont font;  // the message font at the dialog's density, made with it
};

bool Has(const DialogRequest& request, DialogButton button) {
    return std::find(request.buttons.begin(), request.buttons.end(), button) !=
           request.buttons.end();
}

// The layout's measures (at 96 dpi) at the dialog's density.
struct Measures {
    int margin;
    int icon_size;
    int button_width;
    int button_height;
    int button_gap;
    int max_text_width;
};

Measures MeasuresAt(int dpi) {
    return {Scale(kLayoutMargin, dpi),      Scale(kLayoutIconSize, dpi),
            Scale(kLayoutButtonWidth, dpi), Scale(kLayoutButtonHeight, dpi),
            Scale(kLayoutButtonGap, dpi),   Scale(kLayoutMaxTextWidth, dpi)};
}

// The message's extent in the font, broken into lines no wider than the layout allows.
SIZE TextExtent(HWND dialog, HFONT font, const std::wstring& text, int max_width) {
    const platform::UniqueWindowDc dc = platform::GetWindowDc(dialog);
    const HGDIOBJ old = SelectObject(dc.get(), font);
    RECT extent{0, 0, max_width, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &extent,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc.get(), old);
    return {extent.right, std::max<LONG>(extent.bottom, 1)};
}

HWND AddChild(HWND dialog, const wchar_t* window_class, const wchar_t* text, DWORD style,
              const RECT& place, int id, HFONT font) {
    HWND child = CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | style, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top,
                                 dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (font != nullptr)
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

void AddIcon(HWND dialog, DialogKind kind, const Measures& m) {
    const HWND icon = AddChild(dialog, L"STATIC", nullptr, SS_ICON,
                               {m.margin, m.margin, m.margin + m.icon_size, m.margin + m.icon_size},
                               kIconId, nullptr);
    // A shared icon of the system, at the size of the density: never destroyed.
    SendMessageW(icon, STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadImageW(nullptr, IconOf(kind), IMAGE_ICON, m.icon_size,
                                                     m.icon_size, LR_SHARED)),
                 0);
}

// The buttons side by side, centred in the width, the first one Enter's and focused.
void AddButtons(HWND dialog, const DialogRequest& r, HFONT font, const Measures& m, int width,
                int top) {
    const int buttons = static_cast<int>(r.buttons.size());
    int left = (width - (buttons * m.button_width + (buttons - 1) * m.button_gap)) / 2;
    for (int i = 0; i < buttons; ++i) {
        const std::string& caption =
            i < static_cast<int>(r.captions.size()) ? r.captions[i] : std::string();
        const DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
        const HWND button = AddChild(dialog, L"BUTTON", Wide(caption).c_str(), style,
                                     {left, top, left + m.button_width, top + m.button_height},
                                     IdOf(r.buttons[i]), font);
        if (i == 0)
            SetFocus(button);
        left += m.button_width + m.button_gap;
    }
}

// Sizes the dialog around its client area and centres it on its owner, else on the screen.
void PlaceDialog(HWND dialog, int width, int height, int dpi) {
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

void Layout(HWND dialog, Context& context) {
    const DialogRequest& r = *context.request;
    SetWindowTextW(dialog, Wide(r.title).c_str());
    const int dpi = WindowDpi(dialog);
    const Measures m = MeasuresAt(dpi);
    context.font = MessageFont(dpi);
    const std::wstring text = Wide(r.text);
    const SIZE extent = TextExtent(dialog, context.font.get(), text, m.max_text_width);

    const int text_left = m.margin * 2 + m.icon_size;
    const int text_top = m.margin + std::max<int>(0, (m.icon_size - extent.cy) / 2);
    const int buttons = static_cast<int>(r.buttons.size());
    const int buttons_width = buttons * m.button_width + (buttons - 1) * m.button_gap;
    const int width = std::max<int>(text_left + extent.cx + m.margin, buttons_width + 2 * m.margin);
    const int buttons_top =
        std::max<int>(text_top + extent.cy, m.margin + m.icon_size) + m.margin + 4;

    AddIcon(dialog, r.kind, m);
    AddChild(dialog, L"STATIC", text.c_str(), SS_LEFT | SS_NOPREFIX,
             {text_left, text_top, text_left + extent.cx, text_top + extent.cy}, kTextId,
             context.font.get());
    AddButtons(dialog, r, context.font.get(), m, width, buttons_top);
    // Without a way to cancel, the close box could only give an answer the caller did not offer.
    if (!Has(r, DialogButton::Cancel) && !(buttons == 1 && r.buttons[0] == DialogButton::Ok)) {
        EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
    PlaceDialog(dialog, width, buttons_top + m.button_height + m.margin, dpi);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* context = reinterpret_cast<Context*>(l);
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
    Context context{&request, {}};
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
