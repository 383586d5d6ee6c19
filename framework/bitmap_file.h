// Bitmap files and bitmap resources as pictures, and their stretched drawing.
// The parsing and every check live in dib_reader; this part only reads the
// bytes and hands the checked picture to StretchDIBits.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "framework/dib_reader.h"

namespace fw {

// The picture in a bitmap file named by an ANSI path; nothing when the file
// cannot be read or held in memory, or is not a complete bitmap of a
// supported kind within the picture limit.
std::optional<Dib> LoadBitmapFile(const std::string& path);

// A bitmap resource of a module; nothing when there is none of that name.
std::optional<Dib> LoadBitmapResource(HMODULE module, const wchar_t* name);

// Draws the whole picture stretched into dest, whole pixels dropped or
// repeated (colour on colour), never blended.
void DrawDib(HDC dc, const RECT& dest, const Dib& dib);

}  // namespace fw
