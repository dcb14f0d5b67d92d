// view_on_virtual_desktop.exe OUT: the switcher's windows (as switcher 3) on a Wine virtual desktop, whose
// resolution, unlike a plain X screen's, can be changed. Opens the large view with a picture of desktop 1,
// changes the resolution to 800 x 600 and back, and writes what the view looked like at each step to OUT, a
// line "STEP WHAT numbers..." for each thing noted. Exit code 0 when it got through, 1 when it could not start.
#include "HiddenForm.h"
#include "TestSupport.h"
#include "ViewShots.h"

#include <ole2.h>

#include <fstream>
#include <sstream>

namespace {

std::string Rect(const RECT &r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
           std::to_string(r.bottom);
}

std::string Size(SIZE size) {
    return std::to_string(size.cx) + " " + std::to_string(size.cy);
}

void Note(std::ostream &out, const std::string &step, const HiddenForm &form) {
    const frmLargeView &view = form.LargeView();
    out << step << " pic " << view.picWidth() << " " << view.picHeight() << "\n";
    RECT whole = {};
    ::GetWindowRect(view.Hwnd(), &whole);
    out << step << " view " << Rect(whole) << "\n";
    for (size_t k = 0; k < 4; ++k)
        out << step << " frame" << k + 1 << " " << Rect(ChildRect(view.Back1(k).Hwnd())) << "\n";
    out << step << " box " << Rect(ChildRect(view.Desk1(0).Hwnd())) << "\n";
    out << step << " picture1 " << Size(PictureSize(view.DesktopPicture(1))) << "\n";
    out << step << " picture3 " << Size(PictureSize(view.DesktopPicture(3))) << "\n";
}

bool ChangeTo(const HiddenForm &form, int width, int height) {
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    const LONG changed = width == 0 ? ::ChangeDisplaySettingsW(nullptr, 0) : ::ChangeDisplaySettingsW(&mode, 0);
    const int32_t wanted = ((width == 0 ? 1024 : width) - 150) / 2;
    return changed == DISP_CHANGE_SUCCESSFUL && WaitFor([&] { return form.LargeView().picWidth() == wanted; }, 5000);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2)
        return 2;
    std::ofstream out(argv[1], std::ios::binary);
    ::OleInitialize(nullptr);
    int result = 1;
    {
        HiddenForm form;
        if (form.Load()) {
            SendCopyData(form.Hwnd(), "UpdateScreenshot1");
            ::SendMessageA(form.Hwnd(), WM_MOUSEMOVE, 0, 0x202);  // opened from the tray: this desktop captured
            Note(out, "before", form);
            out << "change " << (ChangeTo(form, 800, 600) ? "done" : "failed") << "\n";
            Note(out, "after", form);
            RenderWindow(form.LargeView().Hwnd()).Keep("largeview-800x600");
            out << "restore " << (ChangeTo(form, 0, 0) ? "done" : "failed") << "\n";
            Note(out, "restored", form);
            result = 0;
        }
    }
    ::OleUninitialize();
    return result;
}
