#include "Screenshot.h"

#include "AnsiText.h"
#include "Handles.h"
#include "MFreeImage.h"
#include "core/BmpFile.h"

#include <vector>

namespace {

bool WriteBytes(HANDLE file, const uint8_t *bytes, size_t size) {
    DWORD written = 0;
    return ::WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

// Written beside `path` and then put in its place in one step. Only switcher N writes desktop N's file, so the name
// beside it is its own. Not flushed to the disk: readers see the file whole once it is renamed, and one cut short by
// a power loss is refused by their check and written again at the next leave.
template <class Write>
bool WriteReplacing(const std::wstring &path, Write write) {
    const std::wstring beside = path + L".new";
    bool written = false;
    {
        const FileHandle file(
            ::CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file && write(file.Get());
    }
    if (written && ::MoveFileExW(beside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    ::DeleteFileW(beside.c_str());
    return false;
}

// The pixels of the picture's bitmap when it is a DIB section laid out as the file's rows; none otherwise.
void *PixelsLaidOutAs(IPicture *picture, const BmpPixels &pixels) {
    OLE_HANDLE handle = 0;
    short type = PICTYPE_NONE;
    DIBSECTION section = {};
    if (picture == nullptr || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture->get_Handle(&handle)) ||
        ::GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof section, &section) !=
            sizeof section)
        return nullptr;
    const BITMAPINFOHEADER &header = section.dsBmih;
    const bool same = header.biWidth == pixels.width && header.biHeight == pixels.height &&
                      header.biBitCount == pixels.bitCount && header.biCompression == BI_RGB;
    return same ? section.dsBm.bmBits : nullptr;
}

}  // namespace

std::wstring ScreenshotPath(int16_t desk) {
    return ProgramDirectory() + L"\\" + ToWide(ScreenshotFileName(desk));
}

bool SavePictureFile(IPicture *picture, const std::wstring &path) {
    OLE_HANDLE handle = 0;
    short type = PICTYPE_NONE;
    if (picture == nullptr || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture->get_Handle(&handle)))
        return false;
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP description = {};
    if (::GetObjectW(bitmap, sizeof description, &description) == 0)
        return false;
    const int32_t width = description.bmWidth, height = description.bmHeight;
    std::vector<uint8_t> bytes = BmpHeaders(width, height);
    if (bytes.empty())
        return false;
    // The rows follow the headers in the one buffer that is written.
    bytes.resize(bytes.size() + static_cast<size_t>(BmpRowStride(width)) * static_cast<size_t>(height));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const WindowDC screen(nullptr);
    if (!screen || ::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), bytes.data() + BmpHeadersSize, &info,
                               DIB_RGB_COLORS) != height)
        return false;
    return WriteReplacing(path, [&](HANDLE file) { return WriteBytes(file, bytes.data(), bytes.size()); });
}

bool SaveImageFile(const Image &image, const std::wstring &path) {
    if (!image || image.BitsPerPixel() != 24)
        return false;
    const std::vector<uint8_t> headers = BmpHeaders(image.Width(), image.Height());
    // A 24-bit image keeps its rows bottom-up and padded to four bytes, as the file does: they are written as they are.
    const size_t rows = static_cast<size_t>(BmpRowStride(image.Width())) * static_cast<size_t>(image.Height());
    return !headers.empty() && WriteReplacing(path, [&](HANDLE file) {
        return WriteBytes(file, headers.data(), headers.size()) && WriteBytes(file, image.Bits(), rows);
    });
}

ComPtr<IPicture> LoadPictureFile(const std::wstring &path, IPicture *refill) {
    // Shared with other readers and with the writer's replacement, which leaves this handle on the old file.
    const FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    uint8_t headers[BmpHeadersSize] = {};
    DWORD read = 0;
    if (!file || !::GetFileSizeEx(file.Get(), &size) ||
        !::ReadFile(file.Get(), headers, sizeof headers, &read, nullptr) || read != sizeof headers)
        return {};
    // Anything but a well-formed file no larger than the screen is a damaged one: it is never decoded.
    const auto pixels = CheckBmpFile(headers, static_cast<uint64_t>(size.QuadPart), ::GetSystemMetrics(SM_CXSCREEN),
                                     ::GetSystemMetrics(SM_CYSCREEN));
    if (!pixels)
        return {};
    // The rows go from the file straight into a bitmap of the same layout: the picture's own when it has one (the
    // pages of a new bitmap cost several times the read in page faults), else a new one that the picture then owns.
    void *bits = PixelsLaidOutAs(refill, *pixels);
    GdiObject<HBITMAP> bitmap;
    if (bits != nullptr) {
        ::GdiFlush();  // drawing still batched for the bitmap happens before its pixels are written
    } else {
        BITMAPINFO info = {};
        info.bmiHeader = {
            sizeof info.bmiHeader, pixels->width, pixels->height, 1, pixels->bitCount, BI_RGB, 0, 0, 0, 0, 0};
        bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    LARGE_INTEGER offset = {};
    offset.QuadPart = pixels->offset;
    if (bits == nullptr || !::SetFilePointerEx(file.Get(), offset, nullptr, FILE_BEGIN) ||
        !::ReadFile(file.Get(), bits, pixels->size, &read, nullptr) || read != pixels->size)
        return {};
    if (bitmap)
        return PictureOfBitmap(std::move(bitmap));
    ComPtr<IPicture> same;
    refill->AddRef();
    *same.Put() = refill;
    return same;
}
