// JPEG pictures through libjpeg: decoding baseline (and progressive) colour and
// grey-scale files, and converting them to the working bitmap the game loads.
// A damaged file is reported as an error, a file cut short or with a damaged
// segment too (libjpeg would only warn and decode the rest as grey); the decoder
// never ends the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pav {

// The largest picture the game reads, JPEG or bitmap: no side above 16384 pixels
// and no more than 16 million pixels (64 MB as a 32-bit picture). Larger ones are
// refused from their headers, before their pixels are read or memory is taken.
constexpr int MaxPictureSide = 16384;
constexpr std::int64_t MaxPicturePixels = 16LL * 1024 * 1024;
// "the picture is W x H pixels; the game reads at most ..." when W x H passes
// those limits (or a side is not positive), else "".
std::string PictureSizeProblem(std::int64_t width, std::int64_t height);

struct TJpegPicture {
  int Width = 0;
  int Height = 0;
  int Components = 0;                // 1 grey, 3 RGB
  std::vector<std::uint8_t> Pixels;  // rows top-down, Width * Components bytes each
};

// Decodes a whole file. False with *error set when it is not a usable JPEG.
// With neededSide > 0 a large picture is decoded at 1/2, 1/4 or 1/8 of its size
// (the decoder's own scaling, far quicker than decoding it whole), the smallest
// of those whose width and height stay at least min(the picture's, neededSide).
bool DecodeJpeg(const std::string& path, TJpegPicture& out, std::string* error = nullptr, int neededSide = 0);
bool DecodeJpegData(const std::uint8_t* data, std::size_t size, TJpegPicture& out, std::string* error = nullptr,
                    int neededSide = 0);

// Writes an uncompressed bottom-up Windows bitmap: grey pictures as 8 bits with a
// grey palette, colour ones as 24 bits. The file is replaced.
bool WriteWorkingBitmap(const TJpegPicture& picture, const std::string& bmpPath, std::string* error = nullptr);

// DecodeJpeg then WriteWorkingBitmap.
bool ConvertJpegToBitmap(const std::string& jpegPath, const std::string& bmpPath, std::string* error = nullptr,
                         int neededSide = 0);

}  // namespace pav
