// Tavik1..Tavik4: the switcher of one desktop. Its hidden window does all the work; the program ends when it
// is unloaded.
#include "HiddenForm.h"
#include "MessageLoop.h"
#include "frmMain.h"

#include <windows.h>

#include <ole2.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Pictures are OLE objects.
    const bool ole = SUCCEEDED(::OleInitialize(nullptr));
    int result = 1;
    {
        HiddenForm form;
        if (form.Load())
            result = MessageLoop("Tavik" + std::to_string(DeskNum()) + ": ").Run();
    }
    if (ole)
        ::OleUninitialize();
    return result;
}
