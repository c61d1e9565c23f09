// pavilore-splashgen OUT.cpp: draws the splash picture once, at build time, and
// writes it as a C++ array the game links (PaviloreSplashPixels, 384 x 144 pixels of
// 32-bit RGB, rows top-down).
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/UnitSplash.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pavilore-splashgen OUT.cpp\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QImage picture = pav::TFormSplash::DrawPicture();
  if (picture.format() != QImage::Format_RGB32 || picture.width() != pav::TFormSplash::SplashWidth ||
      picture.height() != pav::TFormSplash::SplashHeight) {
    std::fprintf(stderr, "pavilore-splashgen: the picture is not %d x %d RGB32\n", pav::TFormSplash::SplashWidth,
                 pav::TFormSplash::SplashHeight);
    return 1;
  }
  std::string out = "// Drawn by pavilore-splashgen at build time.\nextern const unsigned char PaviloreSplashPixels[];\n"
                    "alignas(4) const unsigned char PaviloreSplashPixels[] = {\n";
  char number[8];
  for (int y = 0; y < picture.height(); ++y) {
    const uchar* line = picture.constScanLine(y);
    for (int i = 0; i < picture.width() * 4; ++i) {
      std::snprintf(number, sizeof number, "%u,", static_cast<unsigned>(line[i]));
      out += number;
      if (i % 32 == 31) out += '\n';
    }
  }
  out += "};\n";
  std::ofstream f(argv[1], std::ios::binary | std::ios::trunc);
  f << out;
  return f ? 0 : 1;
}
