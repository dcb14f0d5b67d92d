// The screenshot files: their names and the headers of a bottom-up 24-bit Windows bitmap file.
// Pure: no Windows header.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// "desktop" + n + ".bmp", in the program folder.
std::string ScreenshotFileName(int16_t desk);
// Bytes of one pixel row: three a pixel, padded to a multiple of four.
uint32_t BmpRowStride(int32_t width);
// File header (14 bytes) and info header (40 bytes) of a width x height 24-bit file, little-endian; empty when
// the size is not positive or the file would pass 4 GB.
std::vector<uint8_t> BmpHeaders(int32_t width, int32_t height);
