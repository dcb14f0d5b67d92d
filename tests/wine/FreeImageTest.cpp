// The FreeImage.dll the build makes: loaded by name like the switcher does, with FreeImage's own export names.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Bitmap;  // FreeImage's FIBITMAP, opaque here

template <class F>
F Bind(HMODULE dll, const char *name) {
    return reinterpret_cast<F>(reinterpret_cast<void *>(::GetProcAddress(dll, name)));
}

}  // namespace

TEST(FreeImageDll, ExportsBothDecoratedAndPlainNames) {
    HMODULE dll = ::LoadLibraryW((ProgramFolder() + L"\\FreeImage.dll").c_str());
    ASSERT_NE(dll, nullptr) << ::GetLastError();
    const char *names[][2] = {
        {"_FreeImage_Allocate@24", "FreeImage_Allocate"},   {"_FreeImage_GetColorsUsed@4", "FreeImage_GetColorsUsed"},
        {"_FreeImage_GetWidth@4", "FreeImage_GetWidth"},     {"_FreeImage_GetHeight@4", "FreeImage_GetHeight"},
        {"_FreeImage_GetBits@4", "FreeImage_GetBits"},       {"_FreeImage_GetInfo@4", "FreeImage_GetInfo"},
        {"_FreeImage_GetInfoHeader@4", "FreeImage_GetInfoHeader"}, {"_FreeImage_Rescale@16", "FreeImage_Rescale"},
        {"_FreeImage_Unload@4", "FreeImage_Unload"}, {"_FreeImage_AllocateHeaderForBits@36", "FreeImage_AllocateHeaderForBits"},
    };
    for (const auto &pair : names) {
        EXPECT_NE(::GetProcAddress(dll, pair[0]), nullptr) << pair[0];
        EXPECT_EQ(::GetProcAddress(dll, pair[0]), ::GetProcAddress(dll, pair[1])) << pair[1];
    }
    ::FreeLibrary(dll);
}

TEST(FreeImageDll, BicubicRescaleOfAScreenSizedImage) {
    HMODULE dll = ::LoadLibraryW((ProgramFolder() + L"\\FreeImage.dll").c_str());
    ASSERT_NE(dll, nullptr);
    auto allocate = Bind<Bitmap *(__stdcall *)(int, int, int, unsigned, unsigned, unsigned)>(dll, "_FreeImage_Allocate@24");
    auto width = Bind<unsigned(__stdcall *)(Bitmap *)>(dll, "_FreeImage_GetWidth@4");
    auto height = Bind<unsigned(__stdcall *)(Bitmap *)>(dll, "_FreeImage_GetHeight@4");
    auto colours = Bind<unsigned(__stdcall *)(Bitmap *)>(dll, "_FreeImage_GetColorsUsed@4");
    auto bits = Bind<BYTE *(__stdcall *)(Bitmap *)>(dll, "_FreeImage_GetBits@4");
    auto info = Bind<BITMAPINFO *(__stdcall *)(Bitmap *)>(dll, "_FreeImage_GetInfo@4");
    auto infoHeader = Bind<BITMAPINFOHEADER *(__stdcall *)(Bitmap *)>(dll, "_FreeImage_GetInfoHeader@4");
    auto rescale = Bind<Bitmap *(__stdcall *)(Bitmap *, int, int, int)>(dll, "_FreeImage_Rescale@16");
    auto unload = Bind<void(__stdcall *)(Bitmap *)>(dll, "_FreeImage_Unload@4");
    ASSERT_TRUE(allocate && width && height && colours && bits && info && infoHeader && rescale && unload);

    Bitmap *source = allocate(1920, 1080, 24, 0, 0, 0);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(infoHeader(source)->biBitCount, 24);
    EXPECT_EQ(colours(source), 0u);
    EXPECT_EQ(static_cast<void *>(info(source)), static_cast<void *>(infoHeader(source)));
    // Blue constant, green rising bottom to top (rows are stored bottom-up), red rising left to right.
    const int pitch = (1920 * 3 + 3) & ~3;
    for (int row = 0; row < 1080; ++row) {
        BYTE *line = bits(source) + row * pitch;
        for (int x = 0; x < 1920; ++x) {
            line[3 * x] = 0x40;
            line[3 * x + 1] = static_cast<BYTE>(row * 255 / 1079);
            line[3 * x + 2] = static_cast<BYTE>(x * 255 / 1919);
        }
    }
    Bitmap *scaled = rescale(source, 879, 459, 1 /* FILTER_BICUBIC */);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(width(scaled), 879u);
    EXPECT_EQ(height(scaled), 459u);
    EXPECT_EQ(infoHeader(scaled)->biBitCount, 24);
    const int scaledPitch = (879 * 3 + 3) & ~3;
    const struct {
        int x, row;
    } probes[] = {{439, 229}, {100, 50}, {800, 400}, {10, 10}};
    for (const auto &p : probes) {
        const BYTE *pixel = bits(scaled) + p.row * scaledPitch + 3 * p.x;
        EXPECT_EQ(pixel[0], 0x40) << p.x << "," << p.row;
        EXPECT_LE(std::abs(pixel[1] - p.row * 255 / 458), 2) << p.x << "," << p.row;
        EXPECT_LE(std::abs(pixel[2] - p.x * 255 / 878), 2) << p.x << "," << p.row;
    }
    unload(scaled);
    unload(source);
    ::FreeLibrary(dll);
}
