#include "Screenshot.h"

#include "AnsiText.h"
#include "Handles.h"
#include "MFreeImage.h"
#include "core/BmpFile.h"

#include <vector>

namespace {

// The 24-bit rows of a bitmap, bottom-up, each padded to four bytes.
bool ReadRows(HBITMAP bitmap, int32_t width, int32_t height, std::vector<uint8_t> &rows) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    rows.resize(static_cast<size_t>(BmpRowStride(width)) * static_cast<size_t>(height));
    const WindowDC screen(nullptr);
    return screen && ::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), rows.data(), &info,
                                 DIB_RGB_COLORS) == height;
}

// Not flushed to the disk: readers see the file whole once it is renamed, and one cut short by a power loss is
// refused by their check and written again at the next leave.
bool WriteAll(const std::wstring &path, const std::vector<uint8_t> &headers, const std::vector<uint8_t> &rows) {
    const FileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), headers.data(), static_cast<DWORD>(headers.size()), &written, nullptr) &&
           written == headers.size() &&
           ::WriteFile(file.Get(), rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr) &&
           written == rows.size();
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
    const std::vector<uint8_t> headers = BmpHeaders(description.bmWidth, description.bmHeight);
    std::vector<uint8_t> rows;
    if (headers.empty() || !ReadRows(bitmap, description.bmWidth, description.bmHeight, rows))
        return false;
    // Only switcher N writes desktop N's file, so the name beside it is its own.
    const std::wstring beside = path + L".new";
    if (WriteAll(beside, headers, rows) && ::MoveFileExW(beside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    ::DeleteFileW(beside.c_str());
    return false;
}

ComPtr<IPicture> LoadPictureFile(const std::wstring &path) {
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
    // The rows go from the file straight into a bitmap of the same layout, which the picture then owns.
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, pixels->width, pixels->height, 1, pixels->bitCount, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    GdiObject<HBITMAP> bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    LARGE_INTEGER offset = {};
    offset.QuadPart = pixels->offset;
    if (!bitmap || !::SetFilePointerEx(file.Get(), offset, nullptr, FILE_BEGIN) ||
        !::ReadFile(file.Get(), bits, pixels->size, &read, nullptr) || read != pixels->size)
        return {};
    return PictureOfBitmap(std::move(bitmap));
}
