#include "Files.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace assetgen {

QByteArray EncodeBmp(const QImage &image) {
  // Qt writes a 32-bit opaque image as a 24-bit BI_RGB bitmap.
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  rgb.save(&buffer, "BMP");
  return bytes;
}

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr cinfo) {
  auto *err = reinterpret_cast<JpegError *>(cinfo->err);
  std::longjmp(err->jump, 1);
}

// Plain buffers only between setjmp and longjmp.
bool Compress(const unsigned char *rgb, int w, int h, int quality, unsigned char **out, unsigned long *size) {
  jpeg_compress_struct cinfo;
  JpegError err;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, size);
  cinfo.image_width = JDIMENSION(w);
  cinfo.image_height = JDIMENSION(h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  for (int c = 0; c < 3; ++c) {
    cinfo.comp_info[c].h_samp_factor = 1;
    cinfo.comp_info[c].v_samp_factor = 1;
  }
  cinfo.optimize_coding = FALSE;
  cinfo.dct_method = JDCT_ISLOW;
  cinfo.write_JFIF_header = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<unsigned char *>(rgb + size_t(cinfo.next_scanline) * size_t(w) * 3);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

bool Decompress(const unsigned char *data, unsigned long size, std::vector<unsigned char> &rgb, int &w, int &h) {
  jpeg_decompress_struct cinfo;
  JpegError err;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, size);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  w = int(cinfo.output_width);
  h = int(cinfo.output_height);
  rgb.resize(size_t(w) * size_t(h) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = rgb.data() + size_t(cinfo.output_scanline) * size_t(w) * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

QByteArray EncodeJpeg(const QImage &image, int quality) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  std::vector<unsigned char> pixels(size_t(rgb.width()) * size_t(rgb.height()) * 3);
  for (int y = 0; y < rgb.height(); ++y)
    std::copy_n(rgb.constScanLine(y), size_t(rgb.width()) * 3, pixels.data() + size_t(y) * size_t(rgb.width()) * 3);
  unsigned char *out = nullptr;
  unsigned long size = 0;
  QByteArray bytes;
  if (Compress(pixels.data(), rgb.width(), rgb.height(), quality, &out, &size))
    bytes = QByteArray(reinterpret_cast<const char *>(out), qsizetype(size));
  std::free(out);
  return bytes;
}

QImage DecodeJpeg(const QByteArray &data) {
  std::vector<unsigned char> rgb;
  int w = 0, h = 0;
  if (data.isEmpty() ||
      !Decompress(reinterpret_cast<const unsigned char *>(data.constData()), static_cast<unsigned long>(data.size()),
                  rgb, w, h))
    return {};
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const unsigned char *src = rgb.data() + size_t(y) * size_t(w) * 3;
    auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
    for (int x = 0; x < w; ++x) line[x] = qRgb(src[3 * x], src[3 * x + 1], src[3 * x + 2]);
  }
  return img;
}

QImage ReadPicture(const QString &path) {
  if (path.toUpper().endsWith(QLatin1String(".JPG"))) return DecodeJpeg(ReadFile(path));
  QImage img;
  if (!img.load(path, "BMP")) return {};
  return img.convertToFormat(QImage::Format_RGB32);
}

bool WriteFile(const QString &path, const QByteArray &bytes) {
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  if (f.write(bytes) != bytes.size()) return false;
  return f.commit();
}

QByteArray ReadFile(const QString &path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace assetgen
