// The screenshot files the switchers share: desktop N's picture, written by switcher N, read by the others.
#pragma once
#include "ComPtr.h"
#include "MFreeImage.h"

#include <windows.h>

#include <olectl.h>

#include <cstdint>
#include <string>

// The program folder + "\desktop" + n + ".bmp".
std::wstring ScreenshotPath(int16_t desk);
// Writes the picture as a 24-bit BMP beside `path` and then puts it in its place in one step, so a reader never
// sees half a file and a failed save leaves the previous file as it was.
bool SavePictureFile(IPicture *picture, const std::wstring &path);
// The same from a 24-bit image, without a picture in between.
bool SaveImageFile(const Image &image, const std::wstring &path);
// No picture when the file is missing, unreadable or damaged (anything but a whole uncompressed 24- or 32-bit
// bitmap no larger than the screen). A picture to refill, loaded from such a file before and of the same size,
// takes the new rows into its own bitmap and comes back; it is written only once the file passed its check, so only
// a read error of the disk after that can leave it part old, part new.
ComPtr<IPicture> LoadPictureFile(const std::wstring &path, IPicture *refill = nullptr);
