// Times the switcher's leave-desktop pipeline at the screen's size (capture into the kept buffer, bicubic rescale to
// the large view's thumbnail, save as a BMP file) beside the yardsticks of the same run, measured in turn with it so
// that all see the same load: a bare BitBlt of the screen into a 32-bit DIB section kept between runs and into a
// fresh one, and FreeImage's bare bicubic rescale of the same frame. Also what a fresh capture buffer costs, and the
// save through a picture (the large view's way) beside the save from the image, and the other switchers' load (into
// the picture they show, and into a new one). Prints medians and the ratios, and a "goal" line for the capture.
#include "BenchSupport.h"
#include "Lib.h"
#include "MFreeImage.h"
#include "Screenshot.h"
#include "core/BmpFile.h"
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
    ScreenCapture capturer;
    capturer.Prepare();
    std::vector<double> capture, fresh, prepare, scale, save, load, refill, pictureSave, total, keptBlit, freshBlit,
        bareRescale;
    ComPtr<IPicture> shown;  // another switcher's picture of this desktop, refilled at every update
    for (int run = 0; run < kRuns; ++run) {
        const double freshStart = NowMs();
        blit.Into(blit.NewSection().Get());
        freshBlit.push_back(NowMs() - freshStart);
        {
            ScreenCapture once;
            const double freshCapture = NowMs();
            const Image image = once.CaptureScreen(nullptr);
            fresh.push_back(NowMs() - freshCapture);
        }
        {
            ScreenCapture ahead;
            const double prepareStart = NowMs();
            ahead.Prepare();
            prepare.push_back(NowMs() - prepareStart);
        }

        // The capture and its yardstick back to back, each first in every other run, so both see the same.
        if (run % 2 == 0)
            keptBlit.push_back(blit.Into(kept.Get()));
        const double start = NowMs();
        Image image = capturer.CaptureScreen(nullptr);
        const double captured = NowMs();
        if (run % 2 == 1)
            keptBlit.push_back(blit.Into(kept.Get()));
        if (!image) {
            std::printf("capture failed in run %d\n", run + 1);
            return 1;
        }
        bareRescale.push_back(BareRescale(image.Get(), thumbWidth, thumbHeight));

        const double scaleStart = NowMs();
        const Image scaled = RescaleToSize(std::move(image), thumbWidth, thumbHeight, FilterBicubic);
        const double rescaled = NowMs();
        const bool saved = SaveImageFile(scaled, file);
        const double end = NowMs();
        const double loadStart = NowMs();
        const bool loaded = LoadPictureFile(file).Get() != nullptr;
        const double refillStart = NowMs();
        load.push_back(refillStart - loadStart);
        shown = LoadPictureFile(file, shown.Get());
        refill.push_back(NowMs() - refillStart);
        // The same picture saved as the large view saves its own: through a picture.
        Image again = RescaleToSize(capturer.CaptureScreen(nullptr), thumbWidth, thumbHeight, FilterBicubic);
        const double pictureStart = NowMs();
        const bool savedPicture = SavePictureFile(ImageToPicture(std::move(again)).Get(), file);
        pictureSave.push_back(NowMs() - pictureStart);
        if (!saved || !loaded || !shown || !savedPicture) {
            std::printf("saving failed in run %d\n", run + 1);
            return 1;
        }
        capture.push_back(captured - start);
        scale.push_back(rescaled - scaleStart);
        save.push_back(end - rescaled);
        total.push_back(captured - start + end - scaleStart);
    }
    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder.c_str());

    std::printf("leave-desktop pipeline, screen %ldx%ld, thumbnail %dx%d, median of %d runs (ms)\n",
                static_cast<long>(screen.Width), static_cast<long>(screen.Height), thumbWidth, thumbHeight, kRuns);
    std::printf("  capture  %8.2f   (%.2fx the bare BitBlt into a kept DIB section)\n", Median(capture),
                Median(capture) / Median(keptBlit));
    std::printf("  rescale  %8.2f\n  save     %8.2f   (through a picture, as the large view saves: %.2f)\n",
                Median(scale), Median(save), Median(pictureSave));
    std::printf("  total    %8.2f   (%.2fx the bare rescale)\n", Median(total), Median(total) / Median(bareRescale));
    std::printf(
        "  load     %8.2f   (each other switcher, on the update signal, into the picture it shows; into a new "
        "one %.2f)\n",
        Median(refill), Median(load));
    std::printf(
        "yardsticks of the same run: bare BitBlt into a kept 32-bit DIB section %.2f, into a fresh one %.2f; "
        "bare bicubic rescale of the same frame %.2f\n",
        Median(keptBlit), Median(freshBlit), Median(bareRescale));
    std::printf(
        "a fresh capture buffer: the capture into one %.2f (%.2f more than into the kept one); made ahead of "
        "need, every page touched, %.2f; it holds %.1f MB\n",
        Median(fresh), Median(fresh) - Median(capture), Median(prepare),
        static_cast<double>(BmpRowStride(screen.Width)) * screen.Height / (1024.0 * 1024.0));
    const double captureRatio = Median(capture) / Median(keptBlit);
    std::printf(
        "goal: capture median (%d in turn with their yardstick, in-process) %.2f ms, %.2fx the bare BitBlt into a kept "
        "DIB section %.2f ms (at most 1.05x): %s\n",
        kRuns, Median(capture), captureRatio, Median(keptBlit), captureRatio <= 1.05 ? "met" : "not met");
    ::OleUninitialize();
    return 0;
}
