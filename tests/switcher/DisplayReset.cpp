// display_reset.exe WIDTH HEIGHT: sets that display mode on its desktop and answers the screen's width as its
// exit code. Wine lends a virtual desktop's mode to the whole session, so a test that changed one sets the
// plain screen's own mode again from a program of that screen.
#include <windows.h>

#include <cstdlib>

int main(int argc, char **argv) {
    if (argc != 3)
        return 0;
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(std::atoi(argv[1]));
    mode.dmPelsHeight = static_cast<DWORD>(std::atoi(argv[2]));
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ::ChangeDisplaySettingsW(&mode, 0);
    return ::GetSystemMetrics(SM_CXSCREEN);
}
