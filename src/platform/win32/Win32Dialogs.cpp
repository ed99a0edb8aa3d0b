#include "platform/win32/Win32Dialogs.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/Utf16.h"

namespace kestrava::platform {
namespace {

// Selects the preselection, which comes as the chooser's caller data, once the chooser
// is up. An empty one selects nothing.
int CALLBACK BrowseCallback(HWND chooser, UINT message, LPARAM, LPARAM data) {
    const auto* preselection = reinterpret_cast<const std::wstring*>(data);
    if (message == BFFM_INITIALIZED && preselection != nullptr && !preselection->empty()) {
        ::SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE,
                       reinterpret_cast<LPARAM>(preselection->c_str()));
    }
    return 0;
}

// The shell's chooser wants COM on the calling thread; a thread that has it already
// keeps it as it is.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

}  // namespace

MessageAnswer Win32Dialogs::showMessage(const MessageBoxRequest& request) {
    events_.endHereIfEnding();
    UINT style = request.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    if (request.icon == MessageIcon::Warning) {
        style |= MB_ICONEXCLAMATION;
    }
    switch (::MessageBoxW(reinterpret_cast<HWND>(owner_), ToUtf16(request.text).c_str(),
                          ToUtf16(request.caption).c_str(), style)) {
        case IDYES:
            return MessageAnswer::Yes;
        case IDNO:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Ok;
    }
}

std::string Win32Dialogs::chooseFolder(const std::string& title, const std::string& preselection) {
    events_.endHereIfEnding();
    const ComApartment com;
    const std::wstring instruction = ToUtf16(title);
    const std::wstring start = ToUtf16(preselection);
    BROWSEINFOW chooser{};
    chooser.hwndOwner = reinterpret_cast<HWND>(owner_);
    chooser.lpszTitle = instruction.c_str();
    chooser.ulFlags = BIF_RETURNONLYFSDIRS;
    chooser.lpfn = BrowseCallback;
    chooser.lParam = reinterpret_cast<LPARAM>(&start);
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&chooser);
    if (chosen == nullptr) {
        return {};
    }
    wchar_t path[MAX_PATH] = {};
    const bool named = ::SHGetPathFromIDListW(chosen, path);
    ::CoTaskMemFree(chosen);
    return named ? FromUtf16(path) : std::string();
}

}  // namespace kestrava::platform
