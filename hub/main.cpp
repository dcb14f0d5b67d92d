// Varnel.exe, the hub: creates the desktops, starts the programs on them, owns the hot keys and switches.
#include "Handles.h"
#include "Log.h"
#include "MessageLoop.h"
#include "frmMulti.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A second hub would start a second set of programs on every desktop.
    KernelHandle instance(::CreateMutexA(nullptr, FALSE, "Local\\nuvoq_VarnelHub"));
    if (instance && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        LogError("Varnel: Varnel is already running; this copy ends.");
        return 0;
    }
    frmMulti hub;
    if (!hub.Created()) {
        LogError("Varnel: Failed to create the hub window");
        return 1;
    }
    if (!hub.Form_Load()) {
        hub.Unload();
        return 1;
    }
    return MessageLoop("Varnel: ", &hub.Supervision()).Run();
}
