// VarnelControlPanel: the settings program. Starts the settings window and runs its message loop.
#include "FormMain.h"

#include "AppIcon.h"
#include "MessageLoop.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ::InitCommonControls();
    FormMain form;
    if (!form.Create())
        return 1;
    SetAppIcon(form.Hwnd(), "AAA", true);
    form.Form_Load();
    ::ShowWindow(form.Hwnd(), SW_SHOWNORMAL);
    ::UpdateWindow(form.Hwnd());
    form.FocusPage();
    // The Tab key moves between the controls and the access keys reach them, as in any settings window;
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages.
    return MessageLoop("ControlPanel: ").Run(form.Hwnd(), ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), "PAGEKEYS"));
}
