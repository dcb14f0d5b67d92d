// Tavik1..Tavik4: the switcher of one desktop. Its hidden window does all the work; the program ends when it
// is unloaded.
#include "HiddenForm.h"
#include "MessageLoop.h"
#include "SetWatch.h"
#include "frmMain.h"

#include <windows.h>

#include <ole2.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Pictures are OLE objects.
    const bool ole = SUCCEEDED(::OleInitialize(nullptr));
    int result = 1;
    {
        HiddenForm form;
        // The set ends with the hub that started it.
        ProcessWatch hub(OpenStartingHub(), [&form](DWORD exitCode) { form.HubEnded(exitCode); });
        if (form.Load())
            result = MessageLoop("Tavik" + std::to_string(DeskNum()) + ": ", &hub).Run();
    }
    if (ole)
        ::OleUninitialize();
    return result;
}
