// What the benchmarks share: a fine clock, order statistics, and the yardsticks every capture is measured
// against in the same run (a bare BitBlt of the screen into a 32-bit DIB section, FreeImage's bare rescale).
#pragma once
#include "Handles.h"

#include <windows.h>

#include <vector>

struct FIBITMAP;

double NowMs();
// The value below which `fraction` of the values lie (the nearest rank); 0 for none.
double Percentile(std::vector<double> values, double fraction);
double Median(const std::vector<double> &values);
double Max(const std::vector<double> &values);

// A bare BitBlt of the whole screen (the desktop window's DC, as the switcher takes it) into a 32-bit DIB section.
class ScreenBlit {
public:
    ScreenBlit();
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    GdiObject<HBITMAP> NewSection() const;
    // The milliseconds the copy took; a negative value when it failed.
    double Into(HBITMAP section) const;

private:
    WindowDC m_screen;
    MemoryDC m_memory;
    int m_width = 0, m_height = 0;
};

// FreeImage's bicubic rescale called bare from the FreeImage.dll beside the benchmark; the milliseconds it took,
// or a negative value when the DLL or the rescale failed.
double BareRescale(FIBITMAP *frame, int width, int height);
