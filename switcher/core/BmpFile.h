// The screenshot files: their names, the headers of a bottom-up 24-bit Windows bitmap file, and the check a
// file passes before it is decoded. Pure: no Windows header.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// "desktop" + n + ".bmp", in the program folder.
std::string ScreenshotFileName(int16_t desk);
// Bytes of one pixel row: three a pixel, padded to a multiple of four.
uint32_t BmpRowStride(int32_t width);
// File header (14 bytes) and info header (40 bytes) of a width x height 24-bit file, little-endian; empty when
// the size is not positive or the file would pass 4 GB.
std::vector<uint8_t> BmpHeaders(int32_t width, int32_t height);

// Bytes a reader needs to check a file: the file header and the smallest info header.
inline constexpr size_t BmpHeadersSize = 54;

// Where the pixels of a checked file lie and how they are laid out.
struct BmpPixels {
    int32_t width = 0;
    int32_t height = 0;  // negative: rows top-down
    uint16_t bitCount = 0;
    uint32_t offset = 0;  // of the first row in the file
    uint32_t size = 0;    // stride x rows
    bool operator==(const BmpPixels &) const = default;
};
// The pixels of a file of `fileSize` bytes that begins with `headers` (at least BmpHeadersSize bytes), when it
// is a well-formed uncompressed 24- or 32-bit bitmap ("BM", a known info header size, one plane, no compression,
// every row within the file) of at most maxWidth x maxHeight pixels; nothing for anything else.
std::optional<BmpPixels> CheckBmpFile(const uint8_t *headers, uint64_t fileSize, int32_t maxWidth, int32_t maxHeight);
