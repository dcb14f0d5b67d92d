#include "frmMain.h"

#include "core/EventNames.h"

#ifndef VARNEL_DESKNUM
#error "Each program defines VARNEL_DESKNUM: 1 to 4 for the switchers, 5 for the hub"
#endif
static_assert(VARNEL_DESKNUM >= 1 && VARNEL_DESKNUM <= 5);

int16_t DeskNum() {
    return VARNEL_DESKNUM;
}

std::string GetWindowTag() {
    return WindowTagName(DeskNum());
}

void TagWindow(HWND window) {
    ::SetPropA(window, GetWindowTag().c_str(), reinterpret_cast<HANDLE>(1));
}
