#include "ui/win32/win32_backend.h"

#include <commctrl.h>
#include <oleacc.h>
#include <richedit.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "platform/win32/dib.h"
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
// The control with the focus was hidden or disabled: once the page is complete, the focus goes
// where a keyboard user can go on from.
constexpr UINT kFocusLost = WM_APP + 3;

// The platform's annotation service, by which a field gets the name screen readers read out.
constexpr CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kAccNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

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

// The window class and styles a control of its kind is made with.
struct WindowKind {
    const wchar_t* window_class = L"STATIC";
    DWORD style = 0;
    DWORD ex_style = 0;
};

WindowKind WindowKindOf(const Control& control) {
    const Style& s = control.GetStyle();
    switch (control.GetKind()) {
        case Kind::Label:
            return {L"STATIC", SS_NOPREFIX | (s.vertical_center ? SS_CENTERIMAGE : 0u) |
                                   (s.word_wrap ? SS_LEFT : SS_LEFTNOWORDWRAP)};
        case Kind::Button:
            // BS_NOTIFY: the button reports gaining and losing the focus.
            return {L"BUTTON", BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP};
        case Kind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP};
        case Kind::RadioButton:
            return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP};
        case Kind::ComboList:
            return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
        case Kind::ListBox:
            return {L"LISTBOX", LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case Kind::Edit:
            return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case Kind::RichText:
            return {RichEdit().window_class,
                    ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case Kind::ProgressBar:
            return {PROGRESS_CLASSW};
        case Kind::Picture:
            return {L"STATIC", SS_BITMAP};
        case Kind::Panel:
            return {kPanelClass, 0, WS_EX_CONTROLPARENT};
        case Kind::Bevel:
            return {L"STATIC", SS_ETCHEDHORZ};
    }
    return {};
}

// A drop-down list's window reaches below its field for the list it opens.
int DropDownHeight(const Control& control, int dpi) {
    return control.GetKind() == Kind::ComboList ? Scale(kDropDownHeight, dpi) : 0;
}

// Whether a control's notification says that the focus came to it or left it.
bool TellsFocus(Kind kind, WORD code) {
    switch (kind) {
        case Kind::Button:
            return code == BN_SETFOCUS || code == BN_KILLFOCUS;
        case Kind::Edit:
        case Kind::RichText:
            return code == EN_SETFOCUS || code == EN_KILLFOCUS;
        case Kind::ListBox:
            return code == LBN_SETFOCUS || code == LBN_KILLFOCUS;
        case Kind::ComboList:
            return code == CBN_SETFOCUS || code == CBN_KILLFOCUS;
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

// A bitmap of the picture that static controls show as it is.
platform::UniqueBitmap DibOf(const platform::Bitmap& picture) {
    const BITMAPINFO info = platform::TopDownDibFormat(picture.width, picture.height);
    void* bits = nullptr;
    platform::UniqueBitmap bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        throw std::runtime_error("CreateDIBSection failed");
    auto* out = static_cast<std::uint32_t*>(bits);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        out[i] = ToDibPixel(picture.pixels[i]);
    return bitmap;
}

// The form's background, and its labels and buttons drawn on the form's colour.
LRESULT InFormColor(const Form& form, HWND window, UINT message, HDC dc) {
    SetDCBrushColor(dc, ToColorRef(form.Color()));
    const auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    if (message == WM_ERASEBKGND) {
        RECT rect;
        GetClientRect(window, &rect);
        FillRect(dc, &rect, brush);
        return 1;
    }
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, ToColorRef(form.Color()));
    return reinterpret_cast<LRESULT>(brush);
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
}

// The control library and the screen readers' service load when the first window is made, not
// before: an unattended run that shows none starts without them.
void Win32Backend::Prepare() {
    if (prepared_)
        return;
    prepared_ = true;
    white_.reset(CreateSolidBrush(RGB(255, 255, 255)));
    INITCOMMONCONTROLSEX icc{sizeof(icc),
                             ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterClassOnce(kPanelClass, PanelProc, nullptr);
    // Without the service (an old system) fields keep their own names.
    com_.emplace();
    void* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   kIAccPropServices, &services))) {
        annotations_.reset(static_cast<IAccPropServices*>(services));
    }
}

Win32Backend::~Win32Backend() {
    for (auto& [form, window] : forms_) {
        const_cast<Form*>(form)->Attach(nullptr);
        DestroyWindow(window);
    }
    instance = nullptr;
}

HWND Win32Backend::Create(Form& form, HWND owner) {
    Prepare();
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
    for (const auto& control : form.Controls())
        NameByLabel(*control);
    Update(form, FormProperty::EnterButton);
    // The focus is always shown, not only once the keyboard has been used.
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
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
        Update(*control, Property::Bounds);  // with the font for the new density
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int Win32Backend::DpiOf(const Control& control) const {
    const Form* form = FormOf(controls_.at(&control));
    const auto found = form != nullptr ? dpis_.find(form) : dpis_.end();
    return found != dpis_.end() ? found->second : kLayoutDpi;
}

HFONT Win32Backend::FontFor(int height, bool bold) {
    auto& font = fonts_[{height, bold}];
    if (!font) {
        font.reset(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    }
    return font.get();
}

bool Win32Backend::TextFits(const Control& control, HWND window, int dpi, int height) {
    const Kind kind = control.GetKind();
    const Style& style = control.GetStyle();
    const Rect place = ScaledBounds(control, dpi);
    // A push button's edges; a check box's or radio button's square and its gap.
    const int room =
        place.width - (kind == Kind::Label ? 0 : Scale(kind == Kind::Button ? 6 : 17, dpi));
    // A vertically centred label shows one line.
    const bool wraps = kind == Kind::Label && style.word_wrap && !style.vertical_center;
    const platform::UniqueWindowDc dc = platform::GetWindowDc(window);
    const HGDIOBJ old = SelectObject(dc.get(), FontFor(height, style.bold));
    RECT extent{0, 0, room, 0};
    DrawTextW(dc.get(), Wide(control.Text()).c_str(), -1, &extent,
              DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc.get(), old);
    return extent.right <= room && extent.bottom <= place.height;
}

void Win32Backend::ApplyFont(const Control& control, HWND window) {
    const Style& style = control.GetStyle();
    const int layout_height = style.font_height != 0 ? style.font_height : kFormFontHeight;
    const int dpi = DpiOf(control);
    const int full = ScaleFont(layout_height, dpi);
    int height = full;
    const Kind kind = control.GetKind();
    const bool text = kind == Kind::Label || kind == Kind::Button || kind == Kind::CheckBox ||
                      kind == Kind::RadioButton;
    // Glyphs do not grow exactly with their height: a text that fits its control at 96 dpi may
    // not at another density, and gets a slightly smaller font rather than be cut. A text too
    // long for its control at 96 dpi (a long path) keeps its font, as it does there.
    if (text && dpi != kLayoutDpi && !control.Text().empty() &&
        TextFits(control, window, kLayoutDpi, layout_height)) {
        while (height > SmallestFittingFont(full) && !TextFits(control, window, dpi, height))
            --height;
    }
    HFONT font = FontFor(height, style.bold);
    if (reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)) != font)
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Win32Backend::CreateControl(Form& form, Control& control) {
    const WindowKind kind = WindowKindOf(control);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
    if (form.StartsGroup(control))
        style |= WS_GROUP;
    if (control.Visible())
        style |= WS_VISIBLE;
    if (!control.Enabled())
        style |= WS_DISABLED;
    const HWND parent =
        control.Parent() != nullptr ? controls_.at(control.Parent()) : forms_.at(&form);
    const int dpi = dpis_.at(&form);
    const Rect b = ScaledBounds(control, dpi);
    updating_ = true;
    HWND window =
        CreateWindowExW(kind.ex_style, kind.window_class, Wide(control.Text()).c_str(), style,
                        b.left, b.top, b.width, b.height + DropDownHeight(control, dpi), parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.Id())),
                        GetModuleHandleW(nullptr), nullptr);
    updating_ = false;
    if (window == nullptr)
        throw std::runtime_error("cannot create control " + control.Name());
    controls_[&control] = window;
    ApplyFont(control, window);
    for (Property p : {Property::Checked, Property::Items, Property::Content, Property::Picture}) {
        Update(control, p);
    }
}

void Win32Backend::NameByLabel(const Control& field) {
    const Control* label = field.LabelledBy();
    const auto window = controls_.find(&field);
    if (label == nullptr || annotations_ == nullptr || window == controls_.end())
        return;
    annotations_->SetHwndPropStr(window->second, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 kAccNameProperty, Wide(label->Text()).c_str());
}

void Win32Backend::SetPicture(Control& control, HWND window) {
    platform::UniqueBitmap bitmap;
    if (control.Picture()) {
        // Drawn at the size its place has at this density, resampled smoothly once here.
        const int dpi = DpiOf(control);
        const Rect place = control.Bounds();
        const Rect scaled = ScaledBounds(control, dpi);
        const platform::Bitmap& source = *control.Picture();
        bitmap = DibOf(Resample(source, place.width > 0 ? scaled.width : Scale(source.width, dpi),
                                place.height > 0 ? scaled.height : Scale(source.height, dpi)));
    }
    SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
    bitmaps_[&control] = std::move(bitmap);  // the one shown before goes
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

void Win32Backend::SetText(const Control& control, HWND window) {
    SetWindowTextW(window, Wide(control.Text()).c_str());
    ApplyFont(control, window);
    if (control.GetKind() != Kind::Label)
        return;
    // The fields it labels are named by it.
    if (const Form* form = FormOf(window)) {
        for (const auto& field : form->Controls()) {
            if (field->LabelledBy() == &control)
                NameByLabel(*field);
        }
    }
}

void Win32Backend::Place(Control& control, HWND window) {
    const int dpi = DpiOf(control);
    const Rect b = ScaledBounds(control, dpi);
    MoveWindow(window, b.left, b.top, b.width, b.height + DropDownHeight(control, dpi), TRUE);
    ApplyFont(control, window);
    if (control.GetKind() == Kind::Picture)
        SetPicture(control, window);
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
            SetText(control, window);
            break;
        case Property::Visible:
            if (!control.Visible())
                TellFocusLost(window);
            ShowWindow(window, control.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case Property::Enabled:
            if (!control.Enabled())
                TellFocusLost(window);
            EnableWindow(window, control.Enabled());
            break;
        case Property::Checked:
            if (kind == Kind::CheckBox || kind == Kind::RadioButton) {
                SendMessageW(window, BM_SETCHECK, control.Checked() ? BST_CHECKED : BST_UNCHECKED,
                             0);
            }
            break;
        case Property::Bounds:
            Place(control, window);
            break;
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

void Win32Backend::TellFocusLost(HWND window) {
    const HWND focus = GetFocus();
    if (focus != nullptr && (focus == window || IsChild(window, focus)))
        PostMessageW(GetAncestor(window, GA_ROOT), kFocusLost, 0, 0);
}

void Win32Backend::KeepFocus(Form& form, HWND window) {
    if (GetActiveWindow() != window)
        return;  // a message dialog of the program has it; given back on the activation
    Control* target = form.Focused();
    if (target == nullptr || !target->TabStop()) {
        target = form.EnterButton();
        if (target == nullptr || !target->TabStop()) {
            const std::vector<Control*> order = form.TabOrder();
            target = order.empty() ? nullptr : order.front();
        }
    }
    if (target != nullptr)
        form.SetFocus(*target);
}

void Win32Backend::FocusMoved(Form& form) {
    const HWND focus = GetFocus();
    // Gone to another window (a message dialog): the form's focus stays for its return.
    if (focus == nullptr || FormOf(focus) != &form)
        return;
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

void Win32Backend::Tab(Form& form, bool backwards) {
    FocusMoved(form);
    form.PressTab(backwards);
    // As in the platform's dialogs, a field reached by Tab has its text selected, so typing
    // replaces it.
    if (Control* focused = form.Focused(); focused != nullptr && focused->GetKind() == Kind::Edit)
        SendMessageW(controls_.at(focused), EM_SETSEL, 0, -1);
}

bool Win32Backend::TranslateKeys(MSG& message) {
    Form* form = FormOf(message.hwnd);
    if (form == nullptr)
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        // The form's own order, the layout's, rather than the order the windows were made in.
        try {
            Tab(*form, GetKeyState(VK_SHIFT) < 0);
        } catch (const std::exception& e) {
            Fail(e.what());
        }
        return true;
    }
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
            FillRect(reinterpret_cast<HDC>(w), &rect, instance->white_.get());
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
        case WM_CTLCOLORBTN:
        case WM_ERASEBKGND:
            return InFormColor(form, window, message, reinterpret_cast<HDC>(w));
        case WM_DPICHANGED:
            dpis_[&form] = LOWORD(w);
            Rescale(form, window, *reinterpret_cast<const RECT*>(l));
            return 0;
        case WM_CLOSE:
            form.RequestClose();
            return 0;
        case WM_NEXTDLGCTL:
            // A multi-line edit, the licence viewer among them, may take Tab itself and ask its
            // parent to move the focus on, as a dialog would.
            if (LOWORD(l) != 0) {
                SetFocus(reinterpret_cast<HWND>(w));
            } else {
                Tab(form, w != 0);
            }
            return 0;
        case WM_ACTIVATE:
            // Reported once the activation is complete, so the handler may activate another
            // window itself.
            if (LOWORD(w) != WA_INACTIVE) {
                PostMessageW(window, kActivated, 0, 0);
                // Back from a message dialog or another program: the focus where it was.
                DefWindowProcW(window, message, w, l);
                KeepFocus(form, window);
                return 0;
            }
            return DefWindowProcW(window, message, w, l);
        case kFocusLost:
            KeepFocus(form, window);
            return 0;
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
