// The screenshot writer of the UI tests and the demo: a window's image as a
// PNG file, as the screen shows it.
#pragma once

#include "base/Types.h"

#include <string>

namespace orv::shot {

// Writes the window's image, its frame included, to the file at path (a
// Windows path). False when the image or the file could not be made.
bool WriteWindowPng(HWND wnd, const std::string& path);

// Encodes rows of 8-bit red-green-blue pixels, top row first, as a PNG file.
bool WritePng(const std::string& path, int width, int height, const unsigned char* rgb);

} // namespace orv::shot
