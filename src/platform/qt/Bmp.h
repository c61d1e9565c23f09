// Reading Windows bitmap files (".BMP") into 32-bit pictures.
//
// Every common form is read: 1-, 2-, 4- and 8-bit palette pictures (grey ones are
// palette pictures too), 8- and 4-bit run-length compressed ones, 16-bit (5-5-5
// by default, any masks with BI_BITFIELDS such as 5-6-5), 24-bit and 32-bit
// (BI_RGB or BI_BITFIELDS), stored bottom-up or top-down, with the core, info,
// V4 and V5 headers. A damaged file never crashes the reader: it returns a null
// picture and says why. A file whose pixels stop early (plain or run-length
// compressed) is refused, never returned as a fragment; so is a picture beyond
// MaxPictureSide / MaxPicturePixels (platform/Jpeg.h), from its header alone.
//
// Why the game has its own reader rather than Qt's (QImageReader, "BMP"): Qt 6.4
// was compared with it on every form above, pixel by pixel. Palette, 24-bit and
// 32-bit pictures come out the same, but
// - 16-bit pictures differ in nearly every pixel: Qt widens a 5-bit channel by
//   shifting it (31 becomes 248, so white is never white), where this reader
//   scales it to 0..255 (31 becomes 255). The colour key of a tile set and the
//   colours a player painted depend on those exact values;
// - Qt returns a picture cut short as a whole picture with the rest filled in,
//   which the game would draw as a fragment;
// - Qt leaves the pixels a run-length picture skips (a delta, an early end of
//   line) unset, so they came out as arbitrary palette entries, where this
//   reader gives them palette entry 0;
// - Qt refuses 2-bit pictures and palette pictures whose palette is shorter than
//   the depth allows without saying so in the header.
#pragma once

#include <QByteArray>
#include <QImage>
#include <string>

namespace pav {

// The picture in QImage::Format_RGB32, or a null image with *error set.
QImage ReadBmp(const QByteArray& data, std::string* error = nullptr);
// Reads the whole file first; a missing or unreadable file is an error too.
QImage LoadBmp(const std::string& path, std::string* error = nullptr);

}  // namespace pav
