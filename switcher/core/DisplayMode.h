// The display-change monitor's rules: the last known display mode, what a WM_DISPLAYCHANGE reports, and which
// of the two events a report raises. Pure: no Windows header.
#pragma once
#include <cstdint>

class DisplayChangeEvents {
public:
    virtual void MonitorDisplay_ColourDepthChange(int32_t lNewBitsPixel, int32_t lOldBitsPixel) = 0;
    virtual void MonitorDisplay_WindowSizeChange(int32_t lNewWidth, int32_t lNewHeight, int32_t lOldWidth,
                                                 int32_t lOldHeight) = 0;

protected:
    ~DisplayChangeEvents() = default;
};

struct DisplayMode {
    int32_t BitsPerPixel = 0;
    int32_t WidthPixels = 0;
    int32_t HeightPixels = 0;
    bool operator==(const DisplayMode &) const = default;

    // The mode a display change reports: the depth in wParam, the width in the low word of lParam, the
    // height in bits 16 to 30 (the top bit is dropped).
    static DisplayMode Reported(uint32_t wParam, uint32_t lParam);
    // Takes the reported mode over. A new depth raises ColourDepthChange, then a new width or height raises
    // WindowSizeChange; each value is stored before its event, so a handler reads the new mode.
    void Change(const DisplayMode &reported, DisplayChangeEvents &events);
};
