#include "ui/win32/Win32Form1View.h"

#include <commctrl.h>

#include <memory>
#include <utility>

#include "platform/FreeMemory.h"
#include "platform/RuntimeError.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Icon.h"
#include "ui/win32/Resources.h"

namespace kestrava::ui::win32 {
namespace {

using app::Control;
using app::ControlKind;
using platform::FromUtf16;
using platform::ToUtf16;

constexpr wchar_t WindowClass[] = L"KestravaForm1";
constexpr UINT_PTR Timer1 = 1;
constexpr UINT_PTR RowCountTimer = 2;  // brings the snapshot list up to the rows added last
// The snapshot list learns of new rows at most this often: each time it repaints, which
// under wine cost as much as the snapshot itself when it happened at every publish.
constexpr std::chrono::milliseconds RowCountGap{100};
constexpr UINT RunSoon = WM_APP + 1;      // work waiting in soon_
constexpr UINT ResizeLater = WM_APP + 2;  // a state change, handled once the system is done
constexpr int ControlIdBase = 100;        // a control's id: the base plus its place in the design

std::size_t IndexOf(Control control) {
    return static_cast<std::size_t>(control);
}

int IdOf(Control control) {
    return ControlIdBase + static_cast<int>(control);
}

std::optional<Control> ControlOfId(int id) {
    const int index = id - ControlIdBase;
    if (index < 0 || index >= static_cast<int>(app::Form1Controls.size())) {
        return std::nullopt;
    }
    return static_cast<Control>(index);
}

std::size_t ListIndex(Control list) {
    return list == Control::ListView1 ? 0 : 1;
}

int ToPixels(int twips, UINT dpi) {
    return ::MulDiv(twips, static_cast<int>(dpi), 1440);
}

// Where a control sits in the window: the design places it in its container, and
// here every control is a child of the window itself, so that its notifications reach
// the window.
app::TwipsRect InWindow(Control control, const std::array<app::TwipsRect, 17>& places) {
    app::TwipsRect place = places[IndexOf(control)];
    for (Control container = app::DesignOf(control).container; container != Control::Form1;
         container = app::DesignOf(container).container) {
        place.left += places[IndexOf(container)].left;
        place.top += places[IndexOf(container)].top;
    }
    return place;
}

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle;
};

ControlClass ClassOf(ControlKind kind, Control control) {
    switch (kind) {
        case ControlKind::Frame:
            // A group box paints its edge and caption only; transparent, it lets the
            // window paint what lies inside it.
            return {L"BUTTON", BS_GROUPBOX, WS_EX_TRANSPARENT};
        case ControlKind::ProgressBar:
            return {PROGRESS_CLASSW, 0, 0};
        case ControlKind::TextBox:
            return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::PushButton:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case ControlKind::ReportList:
            return {WC_LISTVIEWW,
                    static_cast<DWORD>(
                        LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP |
                        (control == Control::ListView1 ? LVS_OWNERDATA : LVS_NOSORTHEADER)),
                    WS_EX_CLIENTEDGE};
        default:
            return {L"STATIC", 0, 0};
    }
}

HFONT MakeFont(const app::FontDesign& design, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight =
        -::MulDiv(static_cast<int>(design.points * 100 + 0.5), static_cast<int>(dpi), 7200);
    font.lfWeight = design.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring family = ToUtf16(design.family);
    ::lstrcpynW(font.lfFaceName, family.c_str(), LF_FACESIZE);
    return ::CreateFontIndirectW(&font);
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

Win32Form1View::Win32Form1View(HINSTANCE instance) : instance_(instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32Form1View::WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WindowClass;
    ::RegisterClassExW(&windowClass);
    window_ = ::CreateWindowExW(
        0, WindowClass, L"",
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
        this);
    dpi_ = ::GetDpiForWindow(window_);
    createControls();
}

Win32Form1View::~Win32Form1View() {
    if (rows_ != nullptr) {
        rows_->setObserver(nullptr);
    }
    ::DestroyWindow(window_);
    for (HFONT font : madeFonts_) {
        if (font != nullptr) {
            ::DeleteObject(font);
        }
    }
    if (handCursor_ != nullptr) {
        ::DestroyCursor(handCursor_);
    }
}

HWND Win32Form1View::control(Control control) const {
    return control == Control::Form1 ? window_ : controls_[IndexOf(control)];
}

void Win32Form1View::createControls() {
    for (const app::ControlDesign& design : app::Form1Controls) {
        if (design.kind == ControlKind::Window) {
            continue;
        }
        const ControlClass kind = ClassOf(design.kind, design.control);
        HWND made = ::CreateWindowExW(
            kind.extendedStyle, kind.className, L"", WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 0, 0,
            window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(design.control))), instance_,
            nullptr);
        controls_[IndexOf(design.control)] = made;
        ::SetWindowSubclass(made, &Win32Form1View::ControlProcedure, IndexOf(design.control),
                            reinterpret_cast<DWORD_PTR>(this));
        if (design.kind == ControlKind::ReportList) {
            ListView_SetExtendedListViewStyle(made, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
            ::SetWindowSubclass(ListView_GetHeader(made), &Win32Form1View::ControlProcedure,
                                IndexOf(design.control), reinterpret_cast<DWORD_PTR>(this));
        }
    }
}

// Places and fonts follow the window's DPI: 15 twips to a pixel at 96 dots an inch.
void Win32Form1View::layOut() {
    const app::TwipsRect& client = places_[IndexOf(Control::Form1)];
    RECT outer{0, 0, ToPixels(client.width, dpi_), ToPixels(client.height, dpi_)};
    ::AdjustWindowRectExForDpi(&outer, static_cast<DWORD>(::GetWindowLongW(window_, GWL_STYLE)),
                               FALSE, 0, dpi_);
    ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const app::ControlDesign& design : app::Form1Controls) {
        const std::size_t index = IndexOf(design.control);
        if (fonts_[index]) {
            if (madeFonts_[index] != nullptr) {
                ::DeleteObject(madeFonts_[index]);
            }
            madeFonts_[index] = MakeFont(*fonts_[index], dpi_);
            ::SendMessageW(control(design.control), WM_SETFONT,
                           reinterpret_cast<WPARAM>(madeFonts_[index]), TRUE);
        }
        if (design.kind == ControlKind::Window) {
            continue;
        }
        const app::TwipsRect place = InWindow(design.control, places_);
        ::SetWindowPos(control(design.control), nullptr, ToPixels(place.left, dpi_),
                       ToPixels(place.top, dpi_), ToPixels(place.width, dpi_),
                       ToPixels(place.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const Control list : {Control::ListView1, Control::ListView2}) {
        const auto& widths = columnWidthsTwips_[ListIndex(list)];
        for (std::size_t column = 0; column < widths.size(); ++column) {
            ListView_SetColumnWidth(control(list), static_cast<int>(column),
                                    ToPixels(widths[column], dpi_));
        }
    }
}

void Win32Form1View::place(Control control, const app::TwipsRect& place) {
    places_[IndexOf(control)] = place;
    layOut();
}

void Win32Form1View::setControlFont(Control control, const app::FontDesign& font) {
    fonts_[IndexOf(control)] = font;
    layOut();
}

std::string Win32Form1View::caption(Control control) const {
    return FromUtf16(TextOf(this->control(control)));
}

void Win32Form1View::setCaption(Control control, const std::string& caption) {
    ::SetWindowTextW(this->control(control), ToUtf16(caption).c_str());
}

// A control's own visibility, whether its window is shown or not.
bool Win32Form1View::isControlVisible(Control control) const {
    return (::GetWindowLongW(this->control(control), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Form1View::setControlVisible(Control control, bool visible) {
    ::ShowWindow(this->control(control), visible ? SW_SHOWNA : SW_HIDE);
}

bool Win32Form1View::isChecked(Control box) const {
    return ::SendMessageW(control(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Setting the value from the program raises the box's click handling too, as a click
// does, but only when the value changes.
void Win32Form1View::setChecked(Control box, bool checked) {
    if (isChecked(box) == checked) {
        return;
    }
    ::SendMessageW(control(box), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (form_ != nullptr) {
        box == Control::Check4 ? form_->Check4_Click() : form_->Check8_Click();
    }
}

std::string Win32Form1View::folderText() const {
    return FromUtf16(TextOf(control(Control::Text1)));
}

// The box reports the change itself (EN_CHANGE), from the program as from the keyboard.
void Win32Form1View::setFolderText(const std::string& text) {
    if (text != folderText()) {
        ::SetWindowTextW(control(Control::Text1), ToUtf16(text).c_str());
    }
}

void Win32Form1View::setProgressMaximum(int maximum) {
    ::SendMessageW(control(Control::ProgressBar1), PBM_SETRANGE32, 0, maximum);
}

void Win32Form1View::setProgressValue(int value) {
    ::SendMessageW(control(Control::ProgressBar1), PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void Win32Form1View::setProgressText(const std::string& text) {
    progressText_ = ToUtf16(text);
    ::InvalidateRect(control(Control::ProgressBar1), nullptr, TRUE);
}

void Win32Form1View::addListColumn(Control list, const std::string& caption) {
    std::wstring text = ToUtf16(caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text.data();
    column.cx = ToPixels(2000, dpi_);
    auto& widths = columnWidthsTwips_[ListIndex(list)];
    ListView_InsertColumn(control(list), static_cast<int>(widths.size()), &column);
    widths.push_back(2000);
}

void Win32Form1View::setListColumnWidth(Control list, int column, int widthTwips) {
    auto& widths = columnWidthsTwips_[ListIndex(list)];
    if (column >= 0 && static_cast<std::size_t>(column) < widths.size()) {
        widths[static_cast<std::size_t>(column)] = widthTwips;
    }
    ListView_SetColumnWidth(control(list), column, ToPixels(widthTwips, dpi_));
}

// Only the interval list holds rows of its own; the snapshot list shows the store.
void Win32Form1View::addListRow(Control list, const std::string& text) {
    std::wstring row = ToUtf16(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(control(list));
    item.pszText = row.data();
    ListView_InsertItem(control(list), &item);
}

int Win32Form1View::listRowCount(Control list) const {
    return ListView_GetItemCount(control(list));
}

std::string Win32Form1View::listRowText(Control list, int row) const {
    std::wstring text(512, L'\0');
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length =
        ::SendMessageW(control(list), LVM_GETITEMTEXTW, static_cast<WPARAM>(row - 1),
                       reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<std::size_t>(length));
    return FromUtf16(text);
}

void Win32Form1View::selectListRow(Control list, int row) {
    selectingInCode_ = true;
    ListView_SetItemState(control(list), row - 1, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(control(list), row - 1, FALSE);
    selectingInCode_ = false;
}

std::optional<int> Win32Form1View::selectedListRow(Control list) const {
    const int selected = ListView_GetNextItem(control(list), -1, LVNI_SELECTED);
    if (selected < 0) {
        return std::nullopt;
    }
    return selected + 1;
}

void Win32Form1View::showSnapshotRows(engine::SnapshotRows* rows) {
    if (rows_ != nullptr) {
        rows_->setObserver(nullptr);
    }
    rows_ = rows;
    if (rows_ != nullptr) {
        rows_->setObserver(this);
    }
    didRemoveRows();
}

void Win32Form1View::willAppendRows(std::size_t, std::size_t) {}

// The list asks for the rows it draws; it needs to know only how many there are, and
// it may know of fewer for a moment: it never asks for rows beyond its count. The last
// rows of a snapshot are shown at once.
void Win32Form1View::didAppendRows() {
    if (!rows_->takingSnapshot()) {
        showRowCount();
        // The snapshot's walk is over: what its helpers held goes back.
        platform::GiveBackFreeMemory();
    } else if (std::chrono::steady_clock::now() - rowCountShown_ >= RowCountGap) {
        showRowCount();
    } else if (!rowCountLate_) {
        rowCountLate_ = true;
        ::SetTimer(window_, RowCountTimer, static_cast<UINT>(RowCountGap.count()), nullptr);
    }
}

void Win32Form1View::showRowCount() {
    if (rowCountLate_) {
        rowCountLate_ = false;
        ::KillTimer(window_, RowCountTimer);
    }
    const auto count = rows_ == nullptr ? 0 : static_cast<int>(rows_->rowCount());
    ListView_SetItemCountEx(control(Control::ListView1), count,
                            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    rowCountShown_ = std::chrono::steady_clock::now();
}

void Win32Form1View::willRemoveRows(std::size_t, std::size_t) {}

// Rows that went must leave the list at once: it would ask for them.
void Win32Form1View::didRemoveRows() {
    showRowCount();
    ::InvalidateRect(control(Control::ListView1), nullptr, TRUE);
}

void Win32Form1View::setTimerInterval(int milliseconds) {
    timerInterval_ = milliseconds;
    restartTimer();
}

void Win32Form1View::setTimerEnabled(bool enabled) {
    timerEnabled_ = enabled;
    restartTimer();
}

// Changing either property starts the count of the next tick afresh.
void Win32Form1View::restartTimer() {
    ::KillTimer(window_, Timer1);
    if (timerEnabled_ && timerInterval_ > 0) {
        ::SetTimer(window_, Timer1, static_cast<UINT>(timerInterval_), nullptr);
    }
}

void Win32Form1View::setMousePointer(commands::MousePointer pointer) {
    pointer_ = pointer;
    POINT at{};
    ::GetCursorPos(&at);
    ::SetCursorPos(at.x, at.y);  // the pointer takes its new shape at once, not at the next move
}

void Win32Form1View::loadHandCursor(const std::string& path) {
    HCURSOR cursor = ::LoadCursorFromFileW(ToUtf16(path).c_str());
    if (cursor == nullptr) {
        throw platform::RuntimeError(platform::error_number::InvalidPicture);
    }
    if (handCursor_ != nullptr) {
        ::DestroyCursor(handCursor_);
    }
    handCursor_ = cursor;
}

void Win32Form1View::paintButtonFace(Control control) {
    buttonFace_.insert(control);
    ::InvalidateRect(this->control(control), nullptr, TRUE);
}

// The skin engine here only colours the controls, which paintButtonFace has done; the
// file must still be readable.
void Win32Form1View::applySkin(const std::string& path) {
    HANDLE skin = ::CreateFileW(ToUtf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (skin == INVALID_HANDLE_VALUE) {
        throw platform::RuntimeError(platform::error_number::PermissionDenied);
    }
    ::CloseHandle(skin);
}

void Win32Form1View::showProgramIcon() {
    for (const auto& [which, metric] :
         {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        const int size = ::GetSystemMetricsForDpi(metric, dpi_);
        auto* icon = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(ProgramIconId),
                                                     IMAGE_ICON, size, size, LR_SHARED));
        ::SendMessageW(window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
}

platform::PictureRef Win32Form1View::programIcon() const {
    const int size = ::GetSystemMetricsForDpi(SM_CXSMICON, dpi_);
    auto* icon = static_cast<HICON>(
        ::LoadImageW(instance_, MAKEINTRESOURCEW(ProgramIconId), IMAGE_ICON, size, size, 0));
    return std::make_shared<platform::Win32Icon>(icon, true);
}

bool Win32Form1View::isWindowVisible() const {
    return ::IsWindowVisible(window_) != FALSE;
}

void Win32Form1View::runSoon(std::function<void()> work) {
    soon_.push_back(std::move(work));
    ::PostMessageW(window_, RunSoon, 0, 0);
}

commands::WindowState Win32Form1View::windowState() const {
    if (stateWhenShown_) {
        return *stateWhenShown_;
    }
    if (::IsIconic(window_)) {
        return commands::WindowState::Minimized;
    }
    return ::IsZoomed(window_) ? commands::WindowState::Maximized : commands::WindowState::Normal;
}

// A hidden window takes its state when it is shown again: shown in a state, Windows
// would put it back on the screen.
void Win32Form1View::setWindowState(commands::WindowState state) {
    if (!isWindowVisible()) {
        stateWhenShown_ = state;
        return;
    }
    switch (state) {
        case commands::WindowState::Minimized:
            ::ShowWindow(window_, SW_MINIMIZE);
            break;
        case commands::WindowState::Maximized:
            ::ShowWindow(window_, SW_MAXIMIZE);
            break;
        default:
            ::ShowWindow(window_, SW_RESTORE);
            break;
    }
}

void Win32Form1View::hideWindow() {
    ::ShowWindow(window_, SW_HIDE);
}

void Win32Form1View::showWindow() {
    int command = SW_SHOW;
    if (stateWhenShown_) {
        switch (*std::exchange(stateWhenShown_, std::nullopt)) {
            case commands::WindowState::Minimized:
                command = SW_SHOWMINIMIZED;
                break;
            case commands::WindowState::Maximized:
                command = SW_SHOWMAXIMIZED;
                break;
            default:
                command = ::IsIconic(window_) || ::IsZoomed(window_) ? SW_RESTORE : SW_SHOWNORMAL;
                break;
        }
    }
    ::ShowWindow(window_, command);
}

void Win32Form1View::focusWindow() {
    ::SetForegroundWindow(window_);
}

LRESULT CALLBACK Win32Form1View::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* view = reinterpret_cast<Win32Form1View*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view == nullptr || view->window_ == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return view->handle(message, wParam, lParam);
}

LRESULT Win32Form1View::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return notify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_TIMER:
            if (wParam == Timer1 && form_ != nullptr) {
                form_->Timer1_Timer();
            } else if (wParam == RowCountTimer) {
                showRowCount();
            }
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && setCursor(reinterpret_cast<HWND>(wParam))) {
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            reportMouseMoveOverTheWindow(lParam);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            const auto over = ControlOfId(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
            if (over && buttonFace_.contains(*over)) {
                ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        }
        case WM_SIZE:
            // The window's resize handling runs once the system is done with the change,
            // as it may hide the window and wait for the balloon.
            if (isWindowVisible()) {
                ::PostMessageW(window_, ResizeLater, 0, 0);
            }
            break;
        case ResizeLater:
            if (form_ != nullptr) {
                form_->Form_Resize();
            }
            return 0;
        case RunSoon:
            if (!soon_.empty()) {
                const auto work = std::move(soon_.front());
                soon_.pop_front();
                work();
            }
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            layOut();
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_ENDSESSION:
            if (wParam == FALSE) {
                break;
            }
            [[fallthrough]];  // the session ends: the window closes, as at a close request
        case WM_CLOSE:
            // The close is never refused, whoever asks.
            if (form_ != nullptr) {
                form_->Form_QueryUnload();
                form_->Form_Unload();
            }
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Form1View::command(WORD id, WORD code) {
    const auto from = ControlOfId(id);
    if (!from || form_ == nullptr) {
        return;
    }
    using Handler = void (app::Form1::*)();
    Handler handler = nullptr;
    switch (*from) {
        case Control::PushButton1:
            handler = &app::Form1::PushButton1_Click;
            break;
        case Control::PushButton2:
            handler = &app::Form1::PushButton2_Click;
            break;
        case Control::PushButton3:
            handler = &app::Form1::PushButton3_Click;
            break;
        case Control::PushButton5:
            handler = &app::Form1::PushButton5_Click;
            break;
        case Control::PushButton6:
            handler = &app::Form1::PushButton6_Click;
            break;
        case Control::PushButton11:
            handler = &app::Form1::PushButton11_Click;
            break;
        case Control::PushButton12:
            handler = &app::Form1::PushButton12_Click;
            break;
        case Control::Check4:
            handler = &app::Form1::Check4_Click;
            break;
        case Control::Check8:
            handler = &app::Form1::Check8_Click;
            break;
        case Control::Text1:
            handler = code == EN_CHANGE ? &app::Form1::Text1_Change : nullptr;
            break;
        default:
            break;
    }
    const bool clicked = code == BN_CLICKED || *from == Control::Text1;
    if (handler != nullptr && clicked) {
        (form_->*handler)();
    }
}

LRESULT Win32Form1View::notify(const NMHDR& header) {
    const auto from = ControlOfId(static_cast<int>(header.idFrom));
    if (from == Control::ListView1 && header.code == LVN_GETDISPINFOW && rows_ != nullptr) {
        auto& item = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header))->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.cchTextMax > 0) {
            const std::wstring text =
                ToUtf16(rows_->text(static_cast<std::size_t>(item.iItem), item.iSubItem));
            ::lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
        }
        return 0;
    }
    if (from != Control::ListView2 || form_ == nullptr) {
        return 0;
    }
    // The user's choice of interval: a click anywhere in the list, or a move of the
    // selection with the keyboard; a selection made by the program is none.
    switch (header.code) {
        case NM_CLICK:
            form_->ListView2_Click();
            break;
        case LVN_KEYDOWN:
            keyboardMove_ = true;
            break;
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            const bool nowSelected =
                (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0;
            if (nowSelected && keyboardMove_ && !selectingInCode_) {
                keyboardMove_ = false;
                form_->ListView2_Click();
            }
            break;
        }
        default:
            break;
    }
    return 0;
}

// The busy pointer shows over the whole window; the hand over everything but the folder
// box, which keeps its own; otherwise each control shows its own pointer.
bool Win32Form1View::setCursor(HWND over) const {
    if (pointer_ == commands::MousePointer::Hourglass) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return true;
    }
    if (pointer_ == commands::MousePointer::Custom && handCursor_ != nullptr &&
        over != control(Control::Text1)) {
        ::SetCursor(handCursor_);
        return true;
    }
    return false;
}

// Group boxes let the mouse through to the window: a move over one is the frame's.
void Win32Form1View::reportMouseMoveOverTheWindow(LPARAM position) {
    if (form_ == nullptr) {
        return;
    }
    const POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    for (const app::ControlDesign& design : app::Form1Controls) {
        RECT frame{};
        if (design.kind == ControlKind::Frame &&
            ::GetWindowRect(control(design.control), &frame) != FALSE) {
            ::MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&frame), 2);
            if (::PtInRect(&frame, at) != FALSE) {
                form_->MouseMove(design.control);
                return;
            }
        }
    }
    form_->MouseMove(Control::Form1);
}

LRESULT CALLBACK Win32Form1View::ControlProcedure(HWND control, UINT message, WPARAM wParam,
                                                  LPARAM lParam, UINT_PTR id, DWORD_PTR view) {
    return reinterpret_cast<Win32Form1View*>(view)->handleControl(static_cast<Control>(id), control,
                                                                  message, wParam, lParam);
}

LRESULT Win32Form1View::handleControl(Control control, HWND handle, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
    if (message == WM_MOUSEMOVE && form_ != nullptr) {
        form_->MouseMove(control);
    }
    if (message == WM_PAINT && control == Control::ProgressBar1) {
        const LRESULT painted = ::DefSubclassProc(handle, message, wParam, lParam);
        drawProgressText(handle);
        return painted;
    }
    return ::DefSubclassProc(handle, message, wParam, lParam);
}

// The system's bar shows no text; the window's bar shows its text in its middle.
void Win32Form1View::drawProgressText(HWND bar) const {
    HDC context = ::GetDC(bar);
    RECT area{};
    ::GetClientRect(bar, &area);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(bar, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = ::SelectObject(context, font);
    ::SetBkMode(context, TRANSPARENT);
    ::SetTextColor(context, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextW(context, progressText_.c_str(), static_cast<int>(progressText_.size()), &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(context, previous);
    ::ReleaseDC(bar, context);
}

}  // namespace kestrava::ui::win32
