// Times the switcher's leave-desktop pipeline at the screen's size (capture, bicubic rescale to the large view's
// thumbnail, picture, save as a BMP file) beside the yardsticks of the same run, measured in turn with it so
// that all see the same load: a bare BitBlt of the screen into a 32-bit DIB section kept between runs and into
// a fresh one, and FreeImage's bare bicubic rescale of the same frame. Prints medians and the ratios.
#include "BenchSupport.h"
#include "Lib.h"
#include "MFreeImage.h"
#include "Screenshot.h"
#include "core/Geometry.h"

#include <windows.h>

#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 50;

}  // namespace

int main() {
    ::OleInitialize(nullptr);
    if (!FreeImageAvailable()) {
        std::printf("FreeImage.dll is missing beside the benchmark\n");
        return 1;
    }
    const ScreenSize screen = DesktopWindowSize();
    const LargeViewLayout layout = ArrangeFrames(screen.Width, screen.Height);
    const int thumbWidth = layout.picWidth - 6, thumbHeight = layout.picHeight - 6;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"varnel-switcher-bench-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\desktop1.bmp";

    const ScreenBlit blit;
    const GdiObject<HBITMAP> kept = blit.NewSection();
    std::vector<double> capture, scale, picture, save, total, keptBlit, freshBlit, bareRescale;
    for (int run = 0; run < kRuns; ++run) {
        keptBlit.push_back(blit.Into(kept.Get()));
        const double freshStart = NowMs();
        blit.Into(blit.NewSection().Get());
        freshBlit.push_back(NowMs() - freshStart);

        const double start = NowMs();
        Image image = CaptureScreen(nullptr);
        const double captured = NowMs();
        if (!image) {
            std::printf("capture failed in run %d\n", run + 1);
            return 1;
        }
        bareRescale.push_back(BareRescale(image.Get(), thumbWidth, thumbHeight));

        const double scaleStart = NowMs();
        Image scaled = RescaleToSize(std::move(image), thumbWidth, thumbHeight, FilterBicubic);
        const double rescaled = NowMs();
        const auto shown = ImageToPicture(std::move(scaled));
        const double pictured = NowMs();
        const bool saved = SavePictureFile(shown.Get(), file);
        const double end = NowMs();
        if (!saved) {
            std::printf("saving failed in run %d\n", run + 1);
            return 1;
        }
        capture.push_back(captured - start);
        scale.push_back(rescaled - scaleStart);
        picture.push_back(pictured - rescaled);
        save.push_back(end - pictured);
        total.push_back(captured - start + end - scaleStart);
    }
    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder.c_str());

    std::printf("leave-desktop pipeline, screen %ldx%ld, thumbnail %dx%d, median of %d runs (ms)\n",
                static_cast<long>(screen.Width), static_cast<long>(screen.Height), thumbWidth, thumbHeight, kRuns);
    std::printf("  capture  %8.2f   (%.2fx the bare BitBlt into a kept DIB section)\n", Median(capture),
                Median(capture) / Median(keptBlit));
    std::printf("  rescale  %8.2f\n  picture  %8.2f\n  save     %8.2f\n", Median(scale), Median(picture), Median(save));
    std::printf("  total    %8.2f   (%.2fx the bare rescale)\n", Median(total), Median(total) / Median(bareRescale));
    std::printf(
        "yardsticks of the same run: bare BitBlt into a kept 32-bit DIB section %.2f, into a fresh one %.2f; "
        "bare bicubic rescale of the same frame %.2f\n",
        Median(keptBlit), Median(freshBlit), Median(bareRescale));
    std::printf("a kept capture buffer would hold %.1f MB\n",
                static_cast<double>(screen.Width) * screen.Height * 4 / (1024.0 * 1024.0));
    ::OleUninitialize();
    return 0;
}
