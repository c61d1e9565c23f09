// The bitmap reader the game uses for every ".BMP" picture and for the working
// bitmap of a JPEG: the input is the content of a file. It is read from memory
// (ReadBmp) and as a file (LoadBmp, which checks the header and the file size
// before reading the rest); both must agree. A picture comes back whole, as
// RGB32, within the game's limits; a refusal always says why.
#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "platform/Jpeg.h"
#include "platform/qt/Bmp.h"

using namespace pav;
using namespace pav::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TScratchFile file;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  std::string error = "unset";
  const QImage fromMemory = ReadBmp(bytes, &error);
  if (fromMemory.isNull()) {
    PAV_FUZZ_CHECK(!error.empty() && error != "unset");
  } else {
    PAV_FUZZ_CHECK(fromMemory.format() == QImage::Format_RGB32);
    PAV_FUZZ_CHECK(fromMemory.width() <= MaxPictureSide && fromMemory.height() <= MaxPictureSide);
    PAV_FUZZ_CHECK(static_cast<std::int64_t>(fromMemory.width()) * fromMemory.height() <= MaxPicturePixels);
    // Every pixel is opaque: no colour key can meet a half-transparent copy of itself.
    for (int y = 0; y < fromMemory.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(fromMemory.constScanLine(y));
      for (int x = 0; x < fromMemory.width(); ++x) PAV_FUZZ_CHECK(qAlpha(line[x]) == 255);
    }
  }

  std::string fileError = "unset";
  const QImage fromFile = LoadBmp(file.Write(data, size), &fileError);
  PAV_FUZZ_CHECK(fromFile.isNull() == fromMemory.isNull());
  if (fromFile.isNull())
    PAV_FUZZ_CHECK(fileError == error);
  else
    PAV_FUZZ_CHECK(fromFile == fromMemory);
  return 0;
}
