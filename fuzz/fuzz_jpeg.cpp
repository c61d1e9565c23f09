// The JPEG wrapper as the game loads a ".JPG" picture: the input is the content
// of a file, decoded from memory (DecodeJpegData) and converted as a file to the
// working bitmap (ConvertJpegToBitmap), which is then read back by the game's
// bitmap reader. Both decodings agree; a converted picture comes back whole with
// the decoded pixels; a refusal always says why and leaves no picture behind.
// The files live in the scratch folder under /dev/shm/pavilore-fuzz-<pid>/.
#include <QImage>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzSupport.h"
#include "platform/Jpeg.h"
#include "platform/qt/Bmp.h"

using namespace pav;
using namespace pav::fuzz;

namespace {

// The decoded pixel (x, y) as the working bitmap holds it.
QRgb Decoded(const TJpegPicture& p, int x, int y) {
  const std::size_t at =
      (static_cast<std::size_t>(y) * static_cast<std::size_t>(p.Width) + static_cast<std::size_t>(x)) *
      static_cast<std::size_t>(p.Components);
  const std::uint8_t* v = p.Pixels.data() + at;
  return p.Components == 1 ? qRgb(v[0], v[0], v[0]) : qRgb(v[0], v[1], v[2]);
}

void CheckPicture(const TJpegPicture& p) {
  PAV_FUZZ_CHECK(p.Width > 0 && p.Height > 0 && p.Width <= MaxPictureSide && p.Height <= MaxPictureSide);
  PAV_FUZZ_CHECK(static_cast<std::int64_t>(p.Width) * p.Height <= MaxPicturePixels);
  PAV_FUZZ_CHECK(p.Components == 1 || p.Components == 3);
  PAV_FUZZ_CHECK(p.Pixels.size() == static_cast<std::size_t>(p.Width) * static_cast<std::size_t>(p.Height) *
                                        static_cast<std::size_t>(p.Components));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TScratchFile file;
  TJpegPicture picture;
  std::string error;
  const bool decoded = DecodeJpegData(data, size, picture, &error);
  if (!decoded) {
    PAV_FUZZ_CHECK(!error.empty() && picture.Pixels.empty() && picture.Width == 0);
  } else {
    CheckPicture(picture);
  }

  // As LoadPicture does: an old working file first, the conversion, the bitmap read back.
  const std::string& jpeg = file.Write(data, size);
  const std::string work = file.Sibling("Temp.BMP");
  std::remove(work.c_str());
  std::string convertError;
  const bool converted = ConvertJpegToBitmap(jpeg, work, &convertError);
  PAV_FUZZ_CHECK(converted == decoded);
  if (!converted) {
    PAV_FUZZ_CHECK(convertError == error);
    return 0;
  }
  std::string readError;
  const QImage img = LoadBmp(work, &readError);
  std::remove(work.c_str());
  PAV_FUZZ_CHECK(!img.isNull());
  PAV_FUZZ_CHECK(img.width() == picture.Width && img.height() == picture.Height);
  PAV_FUZZ_CHECK(img.format() == QImage::Format_RGB32);
  // Every row of a picture up to a million pixels; of a larger one (a few bytes of
  // arithmetic coding can declare ten million) some sixty rows and the last.
  const bool everyRow = static_cast<std::int64_t>(img.width()) * img.height() <= (1 << 20);
  const int step = everyRow ? 1 : std::max(1, img.height() / 64);
  const auto checkRow = [&](int y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) PAV_FUZZ_CHECK(line[x] == Decoded(picture, x, y));
  };
  for (int y = 0; y < img.height(); y += step) checkRow(y);
  if ((img.height() - 1) % step != 0) checkRow(img.height() - 1);

  // Decoded at a smaller scale, as a large custom picture is: never below the side asked for.
  constexpr int Needed = 16;
  TJpegPicture small;
  if (DecodeJpegData(data, size, small, &error, Needed)) {
    CheckPicture(small);
    PAV_FUZZ_CHECK(small.Width <= picture.Width && small.Height <= picture.Height);
    PAV_FUZZ_CHECK(small.Width >= std::min(picture.Width, Needed) && small.Height >= std::min(picture.Height, Needed));
  }
  return 0;
}
