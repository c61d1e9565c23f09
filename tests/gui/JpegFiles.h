// JPEG files written through libjpeg for the tests and the benchmarks: colour, or
// grey from the red channel.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace pav::test {

inline bool WriteJpeg(const std::string& path, const QImage& img, bool grey = false, int quality = 95) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = static_cast<JDIMENSION>(img.width());
  c.image_height = static_cast<JDIMENSION>(img.height());
  c.input_components = grey ? 1 : 3;
  c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
  std::vector<std::uint8_t> row;
  while (c.next_scanline < c.image_height) {
    row.clear();
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(static_cast<int>(c.next_scanline)));
    for (int x = 0; x < rgb.width(); ++x) {
      row.push_back(static_cast<std::uint8_t>(qRed(line[x])));
      if (!grey) row.insert(row.end(), {static_cast<std::uint8_t>(qGreen(line[x])), static_cast<std::uint8_t>(qBlue(line[x]))});
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  return std::fclose(f) == 0;
}

}  // namespace pav::test
