// Reading Windows bitmap files (".BMP") into 32-bit pictures.
//
// Every common form is read: 1-, 4- and 8-bit palette pictures (grey ones are
// palette pictures too), 8- and 4-bit run-length compressed ones, 16-bit (5-5-5
// by default, any masks with BI_BITFIELDS such as 5-6-5), 24-bit and 32-bit
// (BI_RGB or BI_BITFIELDS), stored bottom-up or top-down, with the core, info,
// V4 and V5 headers. A damaged file never crashes the reader: it returns a null
// picture and says why.
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
