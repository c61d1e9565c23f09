#include "Generator.h"

#include "Files.h"
#include "Skin.h"
#include "TileSets.h"

namespace assetgen {

std::vector<GeneratedFile> GenerateGraphics() {
  std::vector<GeneratedFile> files;
  files.push_back({QStringLiteral("GB - Default.BMP"), EncodeBmp(BoardGraphics(DefaultTheme()))});
  files.push_back({QStringLiteral("TS - Default.BMP"), EncodeBmp(DefaultTiles())});
  files.push_back({QStringLiteral("GB - Slate.BMP"), EncodeBmp(BoardGraphics(SlateTheme()))});
  files.push_back({QStringLiteral("BK - Slate.JPG"), EncodeJpeg(WallBackground(SlateTheme()), kJpegQuality)});
  files.push_back({QStringLiteral("TS - Marble.JPG"), EncodeJpeg(MarbleTiles(), kJpegQuality)});
  files.push_back({QStringLiteral("TS - Dots.BMP"), EncodeBmp(DotsTiles())});
  files.push_back({QStringLiteral("TS - Pips.BMP"), EncodeBmp(PipsTiles())});
  return files;
}

}  // namespace assetgen
