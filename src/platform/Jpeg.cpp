#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// The message codes of libjpeg; after jpeglib.h.
#include <jerror.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

namespace pav {

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it
// jumps back to the decoder, which cleans up and reports the message.
struct TJpegState {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Errors;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  auto* state = reinterpret_cast<TJpegState*>(cinfo->client_data);
  (*cinfo->err->format_message)(cinfo, state->Message);
  std::longjmp(state->Jump, 1);
}

// Nothing is printed.
extern "C" void JpegOutputMessage(j_common_ptr) {}

// libjpeg only warns about a file cut short or a damaged segment and fills the
// rest of the picture with grey: that would be drawn as a fragment of a picture,
// so such a warning ends the decoding like an error. Only the warnings about
// information the game does not use (an unknown JFIF revision, an unknown Adobe
// colour transform) and about stray bytes between two segments, which many
// cameras write and which leave the picture whole, let it go on. Trace messages
// (level 1 and up) are ignored.
extern "C" void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  const int code = cinfo->err->msg_code;
  if (code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM || code == JWRN_EXTRANEOUS_DATA) return;
  JpegErrorExit(cinfo);
}

bool SetError(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

void PutU16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::string PictureSizeProblem(std::int64_t width, std::int64_t height) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (width <= 0 || height <= 0) return "the picture size " + size + " is not usable";
  if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels)
    return "the picture is " + size + "; the game reads at most " + std::to_string(MaxPictureSide) +
           " pixels a side and 16 million pixels in all";
  return {};
}

bool DecodeJpegData(const std::uint8_t* data, std::size_t size, TJpegPicture& out, std::string* error,
                    int neededSide) {
  out = TJpegPicture();
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return SetError(error, "not a JPEG file");
  // Everything libjpeg touches lives in this block, allocated before the jump
  // point, so nothing the jump skips needs cleaning up.
  auto state = std::make_unique<TJpegState>();
  TJpegState* s = state.get();
  s->Message[0] = '\0';
  s->Info.err = jpeg_std_error(&s->Errors);
  s->Errors.error_exit = JpegErrorExit;
  s->Errors.output_message = JpegOutputMessage;
  s->Errors.emit_message = JpegEmitMessage;
  s->Info.client_data = s;
  jpeg_create_decompress(&s->Info);
  if (setjmp(s->Jump) != 0) {
    jpeg_destroy_decompress(&s->Info);
    out = TJpegPicture();
    return SetError(error, std::string("the JPEG data is damaged (") + s->Message + ")");
  }
  jpeg_mem_src(&s->Info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&s->Info, TRUE);

  bool cmyk = false;
  switch (s->Info.jpeg_color_space) {
    case JCS_GRAYSCALE: s->Info.out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK:
      s->Info.out_color_space = JCS_CMYK;
      cmyk = true;
      break;
    default: s->Info.out_color_space = JCS_RGB; break;
  }
  if (s->Info.image_width == 0 || s->Info.image_height == 0) {
    jpeg_destroy_decompress(&s->Info);
    return SetError(error, PictureSizeProblem(s->Info.image_width, s->Info.image_height));
  }
  if (neededSide > 0) {
    const auto needed = static_cast<JDIMENSION>(neededSide);
    const JDIMENSION needW = std::min(s->Info.image_width, needed);
    const JDIMENSION needH = std::min(s->Info.image_height, needed);
    s->Info.scale_num = 1;
    s->Info.scale_denom = 1;
    // The decoder rounds a scaled side up.
    for (unsigned denom : {8u, 4u, 2u})
      if ((s->Info.image_width + denom - 1) / denom >= needW && (s->Info.image_height + denom - 1) / denom >= needH) {
        s->Info.scale_denom = denom;
        break;
      }
  }
  // The size the picture comes out at (after any scaling) is the one limited.
  jpeg_calc_output_dimensions(&s->Info);
  if (const std::string problem = PictureSizeProblem(s->Info.output_width, s->Info.output_height); !problem.empty()) {
    jpeg_destroy_decompress(&s->Info);
    return SetError(error, problem);
  }
  jpeg_start_decompress(&s->Info);

  const int components = cmyk ? 3 : (s->Info.out_color_space == JCS_GRAYSCALE ? 1 : 3);
  const std::size_t width = s->Info.output_width, height = s->Info.output_height;
  const std::size_t inRow = width * static_cast<std::size_t>(s->Info.output_components);
  try {
    out.Pixels.assign(width * height * static_cast<std::size_t>(components), 0);
  } catch (const std::bad_alloc&) {
    jpeg_destroy_decompress(&s->Info);
    out = TJpegPicture();
    return SetError(error, "not enough memory for the picture");
  }
  // One row buffer from libjpeg's own pool: released by jpeg_destroy_decompress.
  JSAMPARRAY row = (*s->Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s->Info), JPOOL_IMAGE,
                                                static_cast<JDIMENSION>(inRow), 1);
  // Adobe's CMYK files store the inks inverted.
  const bool inverted = cmyk && s->Info.saw_Adobe_marker;
  while (s->Info.output_scanline < s->Info.output_height) {
    const std::size_t y = s->Info.output_scanline;
    if (jpeg_read_scanlines(&s->Info, row, 1) != 1) {
      // The data source never suspends, so no row means the picture stops here.
      jpeg_destroy_decompress(&s->Info);
      out = TJpegPicture();
      return SetError(error, "the JPEG data is damaged (the picture stops at row " + std::to_string(y) + ")");
    }
    std::uint8_t* dst = out.Pixels.data() + y * width * static_cast<std::size_t>(components);
    const JSAMPLE* src = row[0];
    if (!cmyk) {
      for (std::size_t i = 0; i < inRow; ++i) dst[i] = src[i];
      continue;
    }
    for (std::size_t x = 0; x < width; ++x) {
      int c = src[4 * x], m = src[4 * x + 1], yy = src[4 * x + 2], k = src[4 * x + 3];
      if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        yy = 255 - yy;
        k = 255 - k;
      }
      dst[3 * x] = static_cast<std::uint8_t>(c * k / 255);
      dst[3 * x + 1] = static_cast<std::uint8_t>(m * k / 255);
      dst[3 * x + 2] = static_cast<std::uint8_t>(yy * k / 255);
    }
  }
  jpeg_finish_decompress(&s->Info);
  jpeg_destroy_decompress(&s->Info);
  out.Width = static_cast<int>(width);
  out.Height = static_cast<int>(height);
  out.Components = components;
  return true;
}

bool DecodeJpeg(const std::string& path, TJpegPicture& out, std::string* error, int neededSide) {
  out = TJpegPicture();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return SetError(error, "the file cannot be opened");
  // Even a photograph far larger than the game shows (it is decoded at a smaller
  // scale) fits in this; a larger file is refused from its size, before it is read.
  constexpr std::uintmax_t MaxFile = 64u * 1024 * 1024;
  auto tooLarge = [error](std::uintmax_t size) {
    return SetError(error, "the file is " + std::to_string(size / (1024 * 1024)) + " MB; the game reads at most " +
                               std::to_string(MaxFile / (1024 * 1024)) + " MB for a JPEG");
  };
  std::error_code sizeError;
  if (const std::uintmax_t size = std::filesystem::file_size(path, sizeError); !sizeError && size > MaxFile) {
    std::fclose(f);
    return tooLarge(size);
  }
  std::vector<std::uint8_t> data;
  std::uint8_t buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    if (data.size() + n > MaxFile) {
      std::fclose(f);
      return tooLarge(data.size() + n);
    }
    data.insert(data.end(), buf, buf + n);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return SetError(error, "the file cannot be read");
  return DecodeJpegData(data.data(), data.size(), out, error, neededSide);
}

bool WriteWorkingBitmap(const TJpegPicture& picture, const std::string& bmpPath, std::string* error) {
  const bool grey = picture.Components == 1;
  if (picture.Width <= 0 || picture.Height <= 0 || (picture.Components != 1 && picture.Components != 3) ||
      picture.Pixels.size() != static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height) *
                                   static_cast<std::size_t>(picture.Components))
    return SetError(error, "no picture to write");
  const std::size_t w = static_cast<std::size_t>(picture.Width), h = static_cast<std::size_t>(picture.Height);
  const std::size_t bpp = grey ? 8 : 24;
  const std::size_t stride = (w * bpp + 31) / 32 * 4;
  const std::size_t paletteSize = grey ? 256 * 4 : 0;
  const std::size_t offBits = 14 + 40 + paletteSize;
  const std::size_t fileSize = offBits + stride * h;
  if (fileSize > 0xFFFFFFFFu) return SetError(error, "the picture is too large for a bitmap");

  std::vector<std::uint8_t> head(offBits, 0);
  head[0] = 'B';
  head[1] = 'M';
  PutU32(&head[2], static_cast<std::uint32_t>(fileSize));
  PutU32(&head[10], static_cast<std::uint32_t>(offBits));
  PutU32(&head[14], 40);
  PutU32(&head[18], static_cast<std::uint32_t>(w));
  PutU32(&head[22], static_cast<std::uint32_t>(h));  // positive: bottom-up
  PutU16(&head[26], 1);
  PutU16(&head[28], static_cast<std::uint32_t>(bpp));
  PutU32(&head[30], 0);  // BI_RGB
  PutU32(&head[34], static_cast<std::uint32_t>(stride * h));
  PutU32(&head[38], 2835);  // 72 dpi
  PutU32(&head[42], 2835);
  PutU32(&head[46], grey ? 256 : 0);
  if (grey)
    for (std::size_t i = 0; i < 256; ++i) {
      head[54 + 4 * i] = head[54 + 4 * i + 1] = head[54 + 4 * i + 2] = static_cast<std::uint8_t>(i);
    }

  std::FILE* f = std::fopen(bmpPath.c_str(), "wb");
  if (!f) return SetError(error, "the working bitmap '" + bmpPath + "' cannot be created");
  bool ok = std::fwrite(head.data(), 1, head.size(), f) == head.size();
  std::vector<std::uint8_t> line(stride, 0);
  for (std::size_t r = 0; ok && r < h; ++r) {
    const std::uint8_t* src = picture.Pixels.data() + (h - 1 - r) * w * static_cast<std::size_t>(picture.Components);
    if (grey) {
      for (std::size_t x = 0; x < w; ++x) line[x] = src[x];
    } else {
      for (std::size_t x = 0; x < w; ++x) {
        line[3 * x] = src[3 * x + 2];
        line[3 * x + 1] = src[3 * x + 1];
        line[3 * x + 2] = src[3 * x];
      }
    }
    ok = std::fwrite(line.data(), 1, stride, f) == stride;
  }
  if (std::fclose(f) != 0) ok = false;
  if (!ok) {
    std::remove(bmpPath.c_str());
    return SetError(error, "the working bitmap '" + bmpPath + "' cannot be written");
  }
  return true;
}

bool ConvertJpegToBitmap(const std::string& jpegPath, const std::string& bmpPath, std::string* error,
                         int neededSide) {
  TJpegPicture picture;
  if (!DecodeJpeg(jpegPath, picture, error, neededSide)) return false;
  return WriteWorkingBitmap(picture, bmpPath, error);
}

}  // namespace pav
