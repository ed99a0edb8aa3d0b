#include <windows.h>

#include <commctrl.h>

#include "app/Form1.h"
#include "ui/win32/RealServices.h"
#include "ui/win32/Win32Form1View.h"

// The program reads no command line. Its window lives until the close ends the
// message loop; the keyboard moves between the window's controls as in a dialog.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    kestrava::ui::win32::RealServices real;
    kestrava::ui::win32::Win32Form1View view(instance);
    kestrava::app::Form1 form(view, real.services);
    view.attach(form);
    real.dialogs.setOwner(reinterpret_cast<kestrava::platform::WindowHandle>(view.window()));
    form.Form_Load();
    form.Show();
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageW(view.window(), &message) == FALSE) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return 0;
}
