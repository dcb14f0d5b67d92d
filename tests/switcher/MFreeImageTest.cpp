// Capture, rescale, picture and the screenshot files, with the FreeImage.dll the build makes.
#include "MFreeImage.h"
#include "Screenshot.h"
#include "SwitcherTestSupport.h"
#include "TestSupport.h"
#include "ViewShots.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <ole2.h>

namespace {

// A borderless top-level window of one colour, shown above everything at a given place.
class ColourWindow : public Window {
public:
    ColourWindow(COLORREF colour, int x, int y, int size) : m_brush(::CreateSolidBrush(colour)) {
        CreateBound("VarnelTestColourWindow", WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "", WS_POPUP | WS_VISIBLE, x, y, size,
                    size, nullptr);
        ::UpdateWindow(Hwnd());
    }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND) {
            RECT client = {};
            ::GetClientRect(Hwnd(), &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, m_brush.Get());
            return 1;
        }
        return Default(message, wParam, lParam);
    }
    GdiObject<HBRUSH> m_brush;
};

// The pixel at (x, y) from the top of a 32-bit bottom-up image, as 0x00RRGGBB.
uint32_t PixelAt(const Image &image, int x, int y) {
    const uint8_t *row = image.Bits() + static_cast<size_t>(image.Height() - 1 - y) * image.Width() * 4;
    return row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16;
}

// The pixel at (x, y) from the top of a picture's bitmap, as 0x00RRGGBB.
uint32_t PixelAt(IPicture *picture, int x, int y) {
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    const MemoryDC dc(::CreateCompatibleDC(nullptr));
    const SelectedObject selected(dc.Get(), bitmap);
    const COLORREF colour = ::GetPixel(dc.Get(), x, y);
    return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}


class MFreeImageTest : public ::testing::Test {
protected:
    void SetUp() override { ::OleInitialize(nullptr); }
    void TearDown() override { ::OleUninitialize(); }
};

}  // namespace

TEST_F(MFreeImageTest, CaptureHoldsTheWholeScreenPixelForPixel) {
    ASSERT_TRUE(FreeImageAvailable());
    ColourWindow red(RGB(255, 0, 0), 200, 150, 60);
    ColourWindow blue(RGB(0, 0, 255), 900, 700, 60);
    const Image capture = CaptureScreen(nullptr);
    ASSERT_TRUE(capture);
    EXPECT_EQ(capture.Width(), ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(capture.Height(), ::GetSystemMetrics(SM_CYSCREEN));
    ASSERT_EQ(capture.BitsPerPixel(), 32);
    EXPECT_EQ(PixelAt(capture, 200, 150), 0xFF0000u);
    EXPECT_EQ(PixelAt(capture, 259, 209), 0xFF0000u);
    EXPECT_EQ(PixelAt(capture, 930, 730), 0x0000FFu);
    EXPECT_NE(PixelAt(capture, 199, 150), 0xFF0000u);
}

TEST_F(MFreeImageTest, RescaleThenPictureKeepsTheContentAtThumbnailSize) {
    ColourWindow red(RGB(255, 0, 0), 0, 0, 640);  // the top-left quarter of a 1280 x 1024 screen, and more
    Image capture = CaptureScreen(nullptr);
    ASSERT_TRUE(capture);
    Image scaled = RescaleToSize(std::move(capture), 559, 431, FilterBicubic);
    ASSERT_EQ(scaled.Width(), 559);
    ASSERT_EQ(scaled.Height(), 431);
    const FIBITMAP *before = scaled.Get();

    // No size to scale to: the image comes back as it was.
    Image same = RescaleToSize(std::move(scaled), 0, 0, FilterBicubic);
    EXPECT_EQ(same.Get(), before);
    const auto picture = ImageToPicture(std::move(same));
    ASSERT_TRUE(picture);
    short type = 0;
    picture->get_Type(&type);
    EXPECT_EQ(type, PICTYPE_BITMAP);
    EXPECT_EQ(PictureSize(picture.Get()).cx, 559);
    EXPECT_EQ(PictureSize(picture.Get()).cy, 431);
    EXPECT_EQ(PixelAt(picture.Get(), 100, 100), 0xFF0000u);
    EXPECT_FALSE(ImageToPicture(Image()));
}

TEST_F(MFreeImageTest, SavedFilesAre24BitAndLoadBackPixelForPixel) {
    TempFolder folder;
    ColourWindow green(RGB(0, 255, 0), 0, 0, 400);
    const auto picture = ImageToPicture(RescaleToSize(CaptureScreen(nullptr), 559, 431, FilterBicubic));
    ASSERT_TRUE(picture);
    const std::wstring path = folder.File(L"desktop1.bmp");
    ASSERT_TRUE(SavePictureFile(picture.Get(), path));
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(ReadBmpInfo(bytes), (BmpInfo{559, 431, 24, 54 + 1680 * 431}));
    EXPECT_EQ(bytes.size(), 54u + 1680u * 431u);
    EXPECT_FALSE(FileExists(path + L".new"));

    const auto loaded = LoadPictureFile(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(PictureSize(loaded.Get()).cx, 559);
    for (const POINT p : {POINT{10, 10}, POINT{150, 100}, POINT{558, 430}, POINT{300, 200}})
        EXPECT_EQ(PixelAt(loaded.Get(), p.x, p.y), PixelAt(picture.Get(), p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(PixelAt(loaded.Get(), 20, 20), 0x00FF00u);

    EXPECT_FALSE(LoadPictureFile(folder.File(L"desktop2.bmp")));
    EXPECT_FALSE(SavePictureFile(nullptr, folder.File(L"desktop2.bmp")));
    EXPECT_FALSE(FileExists(folder.File(L"desktop2.bmp")));
}

TEST_F(MFreeImageTest, ASaveThatCannotReplaceTheFileLeavesItAsItWas) {
    TempFolder folder;
    const std::wstring path = folder.File(L"desktop3.bmp");
    ASSERT_TRUE(WriteFileBytes(path, "the previous picture"));
    const auto picture = ImageToPicture(RescaleToSize(CaptureScreen(nullptr), 64, 48, FilterBicubic));
    ASSERT_TRUE(picture);
    {
        // A reader holds the file open without letting it be replaced.
        const FileHandle reader(
            ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader);
        EXPECT_FALSE(SavePictureFile(picture.Get(), path));
        EXPECT_EQ(ReadFileBytes(path), "the previous picture");
        EXPECT_FALSE(FileExists(path + L".new"));
    }
    // A file where the new picture is written first cannot be made: the old file stays too.
    ASSERT_TRUE(::CreateDirectoryW((path + L".new").c_str(), nullptr));
    EXPECT_FALSE(SavePictureFile(picture.Get(), path));
    EXPECT_EQ(ReadFileBytes(path), "the previous picture");
    ::RemoveDirectoryW((path + L".new").c_str());

    EXPECT_TRUE(SavePictureFile(picture.Get(), path));
    EXPECT_EQ(ReadBmpInfo(ReadFileBytes(path)), (BmpInfo{64, 48, 24, 54 + 192 * 48}));
}
