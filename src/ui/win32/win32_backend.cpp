#include "ui/win32/win32_backend.h"

#include <commctrl.h>
#include <richedit.h>

#include <stdexcept>
#include <string>

#include "platform/win32/libraries.h"
#include "platform/win32/wide.h"
#include "ui/scale.h"
#include "ui/win32/dpi.h"

namespace ui {
namespace {

using platform::Narrow;
using platform::Wide;

Win32Backend* instance = nullptr;
constexpr wchar_t kPanelClass[] = L"ZkPanel";
constexpr int kDropDownHeight = 200;
constexpr UINT kActivated = WM_APP + 1;
// The focus has moved: read where it is once the move is over (while a button loses it, the
// platform may still report the button as focused).
constexpr UINT kFocusMoved = WM_APP + 2;

struct RichEditLibrary {
    const wchar_t* window_class;
    bool rich;  // without a rich-text library the viewer shows texts as they are
};

// Loaded with the first viewer, as it takes tens of milliseconds to start and most windows have
// none; kept while the program runs, as its window class lives in it.
const RichEditLibrary& RichEdit() {
    static const RichEditLibrary library = [] {
        if (auto msftedit = platform::LoadSystemLibrary(L"msftedit.dll")) {
            msftedit.release();
            return RichEditLibrary{MSFTEDIT_CLASS, true};
        }
        if (auto riched20 = platform::LoadSystemLibrary(L"riched20.dll")) {
            riched20.release();
            return RichEditLibrary{RICHEDIT_CLASSW, true};
        }
        return RichEditLibrary{WC_EDITW, false};
    }();
    return library;
}

// Whether a control's notification says that the focus came to it or left it.
bool TellsFocus(Kind kind, WORD code) {
    switch (kind) {
        case Kind::Button:
            return code == BN_SETFOCUS || code == BN_KILLFOCUS;
        case Kind::Edit:
        case Kind::RichText:
            return code == EN_SETFOCUS || code == EN_KILLFOCUS;
        default:
            return false;
    }
}

// An exception must never unwind through the platform's window code: show it and end.
[[noreturn]] void Fail(const char* what) {
    MessageBoxW(nullptr, Wide(what).c_str(), L"Setup", MB_ICONERROR | MB_OK | MB_TOPMOST);
    ExitProcess(1);
}

COLORREF ToColorRef(std::uint32_t color) {
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

// 0x00BBGGRR to the DIB's 0xAARRGGBB, fully opaque so themed statics draw it as it is.
std::uint32_t ToDibPixel(std::uint32_t c) {
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto* source = reinterpret_cast<std::pair<const std::string*, size_t>*>(cookie);
    const size_t left = source->first->size() - source->second;
    const size_t n = left < static_cast<size_t>(size) ? left : static_cast<size_t>(size);
    memcpy(buffer, source->first->data() + source->second, n);
    source->second += n;
    *read = static_cast<LONG>(n);
    return 0;
}

void RegisterClassOnce(const std::wstring& name, WNDPROC proc, HBRUSH background) {
    WNDCLASSEXW existing{sizeof(existing)};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &existing))
        return;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.hbrBackground = background;
    wc.lpszClassName = name.c_str();
    if (RegisterClassExW(&wc) == 0)
        throw std::runtime_error("RegisterClassEx failed");
}

}  // namespace

Win32Backend::Win32Backend() {
    instance = this;
    INITCOMMONCONTROLSEX icc{sizeof(icc),
                             ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterClassOnce(kPanelClass, PanelProc, nullptr);
}

Win32Backend::~Win32Backend() {
    for (auto& [form, window] : forms_) {
        const_cast<Form*>(form)->Attach(nullptr);
        DestroyWindow(window);
    }
    for (auto& [control, bitmap] : bitmaps_)
        DeleteObject(bitmap);
    for (auto& [key, font] : fonts_)
        DeleteObject(font);
    DeleteObject(white_);
    instance = nullptr;
}

HWND Win32Backend::Create(Form& form, HWND owner) {
    const Form::Options& o = form.GetOptions();
    RegisterClassOnce(Wide(o.class_name), FormProc, nullptr);
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD ex_style = WS_EX_CONTROLPARENT;
    if (o.dialog_frame) {
        style |= WS_CAPTION | (o.system_menu ? WS_SYSMENU : 0);
        ex_style |= WS_EX_DLGMODALFRAME;
    }
    if (o.topmost)
        ex_style |= WS_EX_TOPMOST;
    HWND window =
        CreateWindowExW(ex_style, Wide(o.class_name).c_str(), Wide(form.Caption()).c_str(), style,
                        0, 0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), &form);
    if (window == nullptr)
        throw std::runtime_error("CreateWindowEx failed for " + o.class_name);
    forms_[&form] = window;
    dpis_[&form] = WindowDpi(window);
    PlaceForm(form, window, nullptr);
    form.Attach(this);
    for (const auto& control : form.Controls())
        CreateControl(form, *control);
    // Labels and panels may overlap other controls, as windowless labels and group panels of a
    // form designer do: panels go under the controls, labels under the panels, a later one of a
    // kind above an earlier one.
    const auto& controls = form.Controls();
    for (const Kind bottom : {Kind::Panel, Kind::Label, Kind::Bevel}) {
        for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
            if ((*it)->GetKind() == bottom && (*it)->Parent() == nullptr) {
                SetWindowPos(controls_[it->get()], HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
    }
    Update(form, FormProperty::EnterButton);
    if (form.Visible())
        Update(form, FormProperty::Visible);
    return window;
}

Form* Win32Backend::FormOf(HWND window) const {
    const HWND root = GetAncestor(window, GA_ROOT);
    for (const auto& [form, hwnd] : forms_) {
        if (hwnd == root)
            return const_cast<Form*>(form);
    }
    return nullptr;
}

void Win32Backend::PlaceForm(Form& form, HWND window, const RECT* suggested) {
    const Form::Options& o = form.GetOptions();
    const int dpi = dpis_.at(&form);
    RECT rect{0, 0, Scale(o.client_width, dpi), Scale(o.client_height, dpi)};
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    if (suggested != nullptr)
        monitor = MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST);
    MONITORINFO screen{sizeof(screen)};
    GetMonitorInfoW(monitor, &screen);
    const RECT& area = screen.rcMonitor;
    if (o.full_screen) {
        rect = area;
    } else if (o.dialog_frame) {
        AdjustFrame(rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                    static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        // Moved to another monitor: where the platform proposes; else centred on the screen.
        rect.left = suggested != nullptr ? suggested->left
                                         : area.left + (area.right - area.left - width) / 2;
        rect.top = suggested != nullptr ? suggested->top
                                        : area.top + (area.bottom - area.top - height) / 2;
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
    }
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Backend::Rescale(Form& form, HWND window, const RECT& suggested) {
    PlaceForm(form, window, &suggested);
    for (const auto& control : form.Controls()) {
        const auto found = controls_.find(control.get());
        if (found == controls_.end())
            continue;
        SendMessageW(found->second, WM_SETFONT,
                     reinterpret_cast<WPARAM>(FontFor(control->GetStyle(), dpis_.at(&form))),
                     FALSE);
        Update(*control, Property::Bounds);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int Win32Backend::DpiOf(const Control& control) const {
    const Form* form = FormOf(controls_.at(&control));
    const auto found = form != nullptr ? dpis_.find(form) : dpis_.end();
    return found != dpis_.end() ? found->second : kLayoutDpi;
}

HFONT Win32Backend::FontFor(const Style& style, int dpi) {
    const int height = Scale(style.font_height != 0 ? style.font_height : kFormFontHeight, dpi);
    auto& font = fonts_[{height, style.bold}];
    if (font == nullptr) {
        font = CreateFontW(-height, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    }
    return font;
}

void Win32Backend::CreateControl(Form& form, Control& control) {
    const Style& s = control.GetStyle();
    const wchar_t* window_class = L"STATIC";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex_style = 0;
    int extra_height = 0;
    switch (control.GetKind()) {
        case Kind::Label:
            style |= SS_NOPREFIX | (s.vertical_center ? SS_CENTERIMAGE : 0) |
                     (s.word_wrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
            break;
        case Kind::Button:
            window_class = L"BUTTON";
            // BS_NOTIFY: the button reports gaining and losing the focus.
            style |= BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP;
            break;
        case Kind::CheckBox:
            window_class = L"BUTTON";
            style |= BS_AUTOCHECKBOX | (s.tab_stop ? WS_TABSTOP : 0);
            break;
        case Kind::RadioButton:
            window_class = L"BUTTON";
            style |= BS_AUTORADIOBUTTON | WS_TABSTOP;
            break;
        case Kind::ComboList:
            window_class = L"COMBOBOX";
            style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
            extra_height = kDropDownHeight;
            break;
        case Kind::ListBox:
            window_class = L"LISTBOX";
            style |= LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
            ex_style |= WS_EX_CLIENTEDGE;
            break;
        case Kind::Edit:
            window_class = L"EDIT";
            style |= ES_AUTOHSCROLL | WS_TABSTOP;
            ex_style |= WS_EX_CLIENTEDGE;
            break;
        case Kind::RichText:
            window_class = RichEdit().window_class;
            style |= ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_TABSTOP;
            ex_style |= WS_EX_CLIENTEDGE;
            break;
        case Kind::ProgressBar:
            window_class = PROGRESS_CLASSW;
            break;
        case Kind::Picture:
            style |= SS_BITMAP;
            break;
        case Kind::Panel:
            window_class = kPanelClass;
            ex_style |= WS_EX_CONTROLPARENT;
            break;
        case Kind::Bevel:
            style |= SS_ETCHEDHORZ;
            break;
    }
    if (control.Visible())
        style |= WS_VISIBLE;
    if (!control.Enabled())
        style |= WS_DISABLED;
    const HWND parent =
        control.Parent() != nullptr ? controls_.at(control.Parent()) : forms_.at(&form);
    const int dpi = dpis_.at(&form);
    const Rect b = Scale(control.Bounds(), dpi);
    extra_height = Scale(extra_height, dpi);
    updating_ = true;
    HWND window = CreateWindowExW(ex_style, window_class, Wide(control.Text()).c_str(), style,
                                  b.left, b.top, b.width, b.height + extra_height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.Id())),
                                  GetModuleHandleW(nullptr), nullptr);
    updating_ = false;
    if (window == nullptr)
        throw std::runtime_error("cannot create control " + control.Name());
    controls_[&control] = window;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(s, dpi)), FALSE);
    for (Property p : {Property::Checked, Property::Items, Property::Content, Property::Picture}) {
        Update(control, p);
    }
}

void Win32Backend::SetPicture(Control& control, HWND window) {
    HBITMAP bitmap = nullptr;
    if (control.Picture()) {
        // Drawn at the size its place has at this density, resampled smoothly once here.
        const int dpi = DpiOf(control);
        const Rect place = control.Bounds();
        const platform::Bitmap& source = *control.Picture();
        const auto picture =
            Resample(source, Scale(place.width > 0 ? place.width : source.width, dpi),
                     Scale(place.height > 0 ? place.height : source.height, dpi));
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = picture.width;
        info.bmiHeader.biHeight = -picture.height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap == nullptr)
            throw std::runtime_error("CreateDIBSection failed");
        auto* out = static_cast<std::uint32_t*>(bits);
        for (size_t i = 0; i < picture.pixels.size(); ++i)
            out[i] = ToDibPixel(picture.pixels[i]);
    }
    SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    if (const auto old = bitmaps_.find(&control); old != bitmaps_.end())
        DeleteObject(old->second);
    bitmaps_[&control] = bitmap;
}

void Win32Backend::SetContent(Control& control, HWND window) {
    const std::string& content = control.Content();
    if (RichEdit().rich && content.rfind("{\\rtf", 0) == 0) {
        std::pair<const std::string*, size_t> source{&content, 0};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, StreamIn};
        SendMessageW(window, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    } else {
        SetWindowTextW(window, Wide(content).c_str());
    }
}

void Win32Backend::SetItems(Control& control, HWND window) {
    const bool combo = control.GetKind() == Kind::ComboList;
    SendMessageW(window, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (const auto& item : control.Items()) {
        SendMessageW(window, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Wide(item).c_str()));
    }
    SendMessageW(window, combo ? CB_SETCURSEL : LB_SETCURSEL, control.ItemIndex(), 0);
}

void Win32Backend::Update(Control& control, Property property) {
    const auto found = controls_.find(&control);
    if (found == controls_.end())
        return;
    HWND window = found->second;
    const bool was_updating = updating_;
    updating_ = true;
    const Kind kind = control.GetKind();
    switch (property) {
        case Property::Text:
            SetWindowTextW(window, Wide(control.Text()).c_str());
            break;
        case Property::Visible:
            ShowWindow(window, control.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case Property::Enabled:
            EnableWindow(window, control.Enabled());
            break;
        case Property::Checked:
            if (kind == Kind::CheckBox || kind == Kind::RadioButton) {
                SendMessageW(window, BM_SETCHECK, control.Checked() ? BST_CHECKED : BST_UNCHECKED,
                             0);
            }
            break;
        case Property::Bounds: {
            const int dpi = DpiOf(control);
            const Rect b = Scale(control.Bounds(), dpi);
            const int extra = kind == Kind::ComboList ? Scale(kDropDownHeight, dpi) : 0;
            MoveWindow(window, b.left, b.top, b.width, b.height + extra, TRUE);
            if (kind == Kind::Picture)
                SetPicture(control, window);
            break;
        }
        case Property::Items:
            if (kind == Kind::ComboList || kind == Kind::ListBox)
                SetItems(control, window);
            break;
        case Property::ItemIndex:
            SendMessageW(window, kind == Kind::ComboList ? CB_SETCURSEL : LB_SETCURSEL,
                         control.ItemIndex(), 0);
            break;
        case Property::Content:
            if (kind == Kind::RichText)
                SetContent(control, window);
            break;
        case Property::Picture:
            if (kind == Kind::Picture)
                SetPicture(control, window);
            break;
        case Property::Progress:
            SendMessageW(window, PBM_SETRANGE32, 0, control.ProgressMaximum());
            SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(control.ProgressPosition()), 0);
            break;
    }
    updating_ = was_updating;
}

void Win32Backend::Update(Form& form, FormProperty property) {
    const auto found = forms_.find(&form);
    if (found == forms_.end())
        return;
    HWND window = found->second;
    switch (property) {
        case FormProperty::Caption:
            SetWindowTextW(window, Wide(form.Caption()).c_str());
            break;
        case FormProperty::Visible:
            if (form.Visible()) {
                ShowWindow(window, SW_SHOW);
                SetForegroundWindow(window);
                UpdateWindow(window);
            } else {
                ShowWindow(window, SW_HIDE);
            }
            break;
        case FormProperty::Color:
            InvalidateRect(window, nullptr, TRUE);
            break;
        case FormProperty::Focus:
            if (Control* focused = form.Focused(); focused != nullptr && form.Visible()) {
                if (const auto c = controls_.find(focused); c != controls_.end())
                    SetFocus(c->second);
            }
            break;
        case FormProperty::EnterButton:
            ShowEnterButton(form);
            break;
    }
}

void Win32Backend::ShowEnterButton(Form& form) {
    const Control* enter = form.EnterButton();
    for (const auto& control : form.Controls()) {
        const auto found = controls_.find(control.get());
        if (control->GetKind() != Kind::Button || found == controls_.end())
            continue;
        const LONG_PTR type = control.get() == enter ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((GetWindowLongPtrW(found->second, GWL_STYLE) & BS_TYPEMASK) != type)
            SendMessageW(found->second, BM_SETSTYLE, type | BS_NOTIFY, TRUE);
    }
}

void Win32Backend::FocusMoved(Form& form) {
    const HWND focus = GetFocus();
    Control* focused = nullptr;
    for (const auto& control : form.Controls()) {
        const auto found = controls_.find(control.get());
        if (found != controls_.end() && found->second == focus)
            focused = control.get();
    }
    form.UserFocused(focused);
}

void Win32Backend::Repaint(Form& form, bool only_changes) {
    if (const auto found = forms_.find(&form); found != forms_.end()) {
        // A changed text or bar has invalidated itself.
        const UINT whole = only_changes ? 0 : RDW_INVALIDATE | RDW_ERASE;
        RedrawWindow(found->second, nullptr, nullptr, whole | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

void Win32Backend::Command(Form& form, WPARAM w, LPARAM) {
    Control* control = form.FindById(LOWORD(w));
    if (control == nullptr)
        return;
    const WORD code = HIWORD(w);
    // Also while the program changes the windows: hiding or disabling may move the focus.
    if (TellsFocus(control->GetKind(), code)) {
        if (const auto window = forms_.find(&form); window != forms_.end())
            PostMessageW(window->second, kFocusMoved, 0, 0);
        return;
    }
    if (updating_)
        return;
    const HWND window = controls_.at(control);
    switch (control->GetKind()) {
        case Kind::Button:
            // With BS_NOTIFY the second click of a double click comes as BN_DOUBLECLICKED.
            if (code == BN_CLICKED || code == BN_DOUBLECLICKED)
                control->Click();
            break;
        case Kind::CheckBox:
        case Kind::RadioButton:
            if (code == BN_CLICKED) {
                control->UserChecked(SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED);
            }
            break;
        case Kind::ComboList:
            if (code == CBN_SELCHANGE) {
                control->UserItemIndex(static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0)));
            }
            break;
        case Kind::ListBox:
            if (code == LBN_SELCHANGE) {
                control->UserItemIndex(static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0)));
            }
            break;
        case Kind::Edit:
            if (code == EN_CHANGE) {
                std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
                text.resize(static_cast<size_t>(
                    GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
                control->UserText(Narrow(text));
            }
            break;
        default:
            break;
    }
}

bool Win32Backend::TranslateKeys(MSG& message) {
    Form* form = FormOf(message.hwnd);
    if (form == nullptr)
        return false;
    if (message.message == WM_KEYDOWN &&
        (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        // An open drop-down list takes its own Enter and Escape.
        wchar_t name[32] = {};
        const HWND focus = GetFocus();
        GetClassNameW(focus, name, 32);
        if (lstrcmpiW(name, L"ComboBox") == 0 && SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0)) {
            return false;
        }
        try {
            if (message.wParam == VK_RETURN) {
                FocusMoved(*form);
                form->PressEnter();
            } else {
                form->PressEscape();
            }
        } catch (const std::exception& e) {
            Fail(e.what());
        }
        return true;
    }
    return IsDialogMessageW(forms_.at(form), &message) != FALSE;
}

LRESULT CALLBACK Win32Backend::PanelProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetParent(window), message, w, l);
        case WM_ERASEBKGND: {
            RECT rect;
            GetClientRect(window, &rect);
            FillRect(reinterpret_cast<HDC>(w), &rect, instance->white_);
            return 1;
        }
        default:
            return DefWindowProcW(window, message, w, l);
    }
}

LRESULT CALLBACK Win32Backend::FormProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr || instance == nullptr)
        return DefWindowProcW(window, message, w, l);
    try {
        return instance->Handle(*form, window, message, w, l);
    } catch (const std::exception& e) {
        Fail(e.what());
    }
}

LRESULT Win32Backend::Handle(Form& form, HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            Command(form, w, l);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            auto dc = reinterpret_cast<HDC>(w);
            SetBkMode(dc, TRANSPARENT);
            SetBkColor(dc, ToColorRef(form.Color()));
            SetDCBrushColor(dc, ToColorRef(form.Color()));
            return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
        }
        case WM_ERASEBKGND: {
            RECT rect;
            GetClientRect(window, &rect);
            auto dc = reinterpret_cast<HDC>(w);
            SetDCBrushColor(dc, ToColorRef(form.Color()));
            FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            return 1;
        }
        case WM_DPICHANGED:
            dpis_[&form] = LOWORD(w);
            Rescale(form, window, *reinterpret_cast<const RECT*>(l));
            return 0;
        case WM_CLOSE:
            form.RequestClose();
            return 0;
        case WM_NEXTDLGCTL: {
            // A multi-line edit, the licence viewer among them, takes Tab itself and asks its
            // parent to move the focus on, as a dialog would.
            const HWND next = LOWORD(l) != 0 ? reinterpret_cast<HWND>(w)
                                             : GetNextDlgTabItem(window, GetFocus(), w != 0);
            if (next != nullptr)
                SetFocus(next);
            return 0;
        }
        case WM_ACTIVATE:
            // Reported once the activation is complete, so the handler may activate another
            // window itself.
            if (LOWORD(w) != WA_INACTIVE)
                PostMessageW(window, kActivated, 0, 0);
            return DefWindowProcW(window, message, w, l);
        case kFocusMoved:
            FocusMoved(form);
            return 0;
        case kActivated:
            if (form.on_activate)
                form.on_activate();
            return 0;
        default:
            return DefWindowProcW(window, message, w, l);
    }
}

}  // namespace ui
