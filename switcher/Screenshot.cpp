#include "Screenshot.h"

#include "AnsiText.h"
#include "Handles.h"
#include "core/BmpFile.h"

#include <vector>

namespace {

// A screenshot of the largest screens is a few megabytes; anything far beyond that is not one.
constexpr LONGLONG kLargestFile = 256LL * 1024 * 1024;

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

bool WriteAll(const std::wstring &path, const std::vector<uint8_t> &headers, const std::vector<uint8_t> &rows) {
    const FileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), headers.data(), static_cast<DWORD>(headers.size()), &written, nullptr) &&
           written == headers.size() &&
           ::WriteFile(file.Get(), rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr) &&
           written == rows.size() && ::FlushFileBuffers(file.Get());
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
    // Read at once, sharing the file with other readers and with the writer's replacement; the picture is
    // made from the copy in memory.
    const FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestFile)
        return {};
    const auto length = static_cast<DWORD>(size.QuadPart);
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, length);
    if (memory == nullptr)
        return {};
    DWORD read = 0;
    void *bytes = ::GlobalLock(memory);
    const bool whole = bytes != nullptr && ::ReadFile(file.Get(), bytes, length, &read, nullptr) && read == length;
    ::GlobalUnlock(memory);
    ComPtr<IStream> stream;
    if (!whole || FAILED(::CreateStreamOnHGlobal(memory, TRUE, reinterpret_cast<IStream **>(stream.Put())))) {
        ::GlobalFree(memory);
        return {};
    }
    ComPtr<IPicture> picture;
    if (FAILED(::OleLoadPicture(stream.Get(), static_cast<LONG>(length), FALSE, IID_IPicture, picture.Put())))
        return {};
    return picture;
}
