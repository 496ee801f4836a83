#pragma once

#include <windows.h>

#include <string>

#include "ui/canvas.h"

// Pictures written to files and to the clipboard, from a canvas's pixels.

// Whether the Windows Imaging Component can write PNG files here (it is
// bound at run time; systems before Vista may lack it).
bool CanWritePng();
// The pixels as a PNG file; false when it cannot be written.
bool WritePng(const std::string& path, const TPixels& pixels);
// The pixels as a 24-bit BMP file; false when it cannot be written.
bool WriteBmp(const std::string& path, const TPixels& pixels);
// The pixels on the clipboard as a device-independent bitmap.
bool CopyPixelsToClipboard(HWND owner, const TPixels& pixels);
