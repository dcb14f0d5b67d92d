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

uint32_t Get32(const uint8_t *bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}
uint16_t Get16(const uint8_t *bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

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

std::optional<BmpPixels> CheckBmpFile(const uint8_t *headers, uint64_t fileSize, int32_t maxWidth, int32_t maxHeight) {
    if (headers == nullptr || fileSize < BmpHeadersSize || headers[0] != 'B' || headers[1] != 'M')
        return std::nullopt;
    const uint32_t offset = Get32(headers + 10);
    const uint32_t infoSize = Get32(headers + 14);
    // BITMAPINFOHEADER and its later versions (V2, V3, V4, V5) all begin with the same fields.
    const bool knownInfo = infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124;
    const auto width = static_cast<int32_t>(Get32(headers + 18));
    const auto height = static_cast<int32_t>(Get32(headers + 22));
    const uint16_t bitCount = Get16(headers + 28);
    if (!knownInfo || offset < kFileHeaderSize + infoSize || Get16(headers + 26) != 1 ||
        (bitCount != 24 && bitCount != 32) || Get32(headers + 30) != 0 /* BI_RGB */)
        return std::nullopt;
    const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    if (width <= 0 || rows == 0 || width > maxWidth || rows > maxHeight)
        return std::nullopt;
    const uint64_t stride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    const uint64_t size = stride * static_cast<uint64_t>(rows);
    if (offset + size > fileSize)
        return std::nullopt;
    return BmpPixels{width, height, bitCount, offset, static_cast<uint32_t>(size)};
}
