#include "BmpFile.h"

namespace {

void Put16(std::vector<uint8_t> &bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}
void Put32(std::vector<uint8_t> &bytes, uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

}  // namespace

std::string ScreenshotFileName(int16_t desk) {
    return "desktop" + std::to_string(desk) + ".bmp";
}

uint32_t BmpRowStride(int32_t width) {
    return (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
}

std::vector<uint8_t> BmpHeaders(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        return {};
    const uint64_t pixelBytes = static_cast<uint64_t>(BmpRowStride(width)) * static_cast<uint64_t>(height);
    const uint64_t fileSize = pixelBytes + kFileHeaderSize + kInfoHeaderSize;
    if (fileSize > 0xFFFFFFFFu)
        return {};
    std::vector<uint8_t> bytes;
    bytes.reserve(kFileHeaderSize + kInfoHeaderSize);
    bytes.push_back('B');
    bytes.push_back('M');
    Put32(bytes, static_cast<uint32_t>(fileSize));
    Put32(bytes, 0);  // reserved
    Put32(bytes, kFileHeaderSize + kInfoHeaderSize);
    Put32(bytes, kInfoHeaderSize);
    Put32(bytes, static_cast<uint32_t>(width));
    Put32(bytes, static_cast<uint32_t>(height));  // positive: rows bottom-up
    Put16(bytes, 1);                              // planes
    Put16(bytes, 24);
    Put32(bytes, 0);  // BI_RGB
    Put32(bytes, static_cast<uint32_t>(pixelBytes));
    Put32(bytes, 3780);  // 96 dots per inch, as pixels per metre
    Put32(bytes, 3780);
    Put32(bytes, 0);  // colours used
    Put32(bytes, 0);  // colours important
    return bytes;
}
