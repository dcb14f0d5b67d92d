// Times the switcher's leave-desktop pipeline at the screen's size: capture, bicubic rescale to the large
// view's thumbnail, picture, save as a BMP file. Prints each stage's median over 50 runs.
#include "Lib.h"
#include "MFreeImage.h"
#include "Screenshot.h"
#include "core/Geometry.h"

#include <windows.h>

#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 50;

double Now() {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / perMs;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main() {
    ::OleInitialize(nullptr);
    if (!FreeImageAvailable()) {
        std::printf("FreeImage.dll is missing beside the benchmark\n");
        return 1;
    }
    const ScreenSize screen = DesktopWindowSize();
    const LargeViewLayout layout = ArrangeFrames(screen.Width, screen.Height);
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"varnel-switcher-bench-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\desktop1.bmp";

    std::vector<double> capture, rescale, picture, save, total;
    for (int run = 0; run < kRuns; ++run) {
        const double start = Now();
        Image image = CaptureScreen(nullptr);
        const double captured = Now();
        Image scaled = RescaleToSize(std::move(image), layout.picWidth - 6, layout.picHeight - 6, FilterBicubic);
        const double rescaled = Now();
        const auto shown = ImageToPicture(std::move(scaled));
        const double pictured = Now();
        const bool saved = SavePictureFile(shown.Get(), file);
        const double end = Now();
        if (!saved) {
            std::printf("saving failed in run %d\n", run + 1);
            return 1;
        }
        capture.push_back(captured - start);
        rescale.push_back(rescaled - captured);
        picture.push_back(pictured - rescaled);
        save.push_back(end - pictured);
        total.push_back(end - start);
    }
    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder.c_str());

    std::printf("leave-desktop pipeline, screen %ldx%ld, thumbnail %ldx%ld, median of %d runs (ms)\n",
                static_cast<long>(screen.Width), static_cast<long>(screen.Height),
                static_cast<long>(layout.picture.width), static_cast<long>(layout.picture.height), kRuns);
    std::printf("  capture  %8.2f\n  rescale  %8.2f\n  picture  %8.2f\n  save     %8.2f\n  total    %8.2f\n",
                Median(capture), Median(rescale), Median(picture), Median(save), Median(total));
    ::OleUninitialize();
    return 0;
}
