// The graphics of the default installation, as the files the game reads.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace assetgen {

struct GeneratedFile {
  QString name;  // file name inside the Graphics folder
  QByteArray bytes;
};

// Every picture of the Graphics folder: two board-graphics sets (one with a
// wall background) and four tile sets, one of them half a set. The same bytes on every run.
std::vector<GeneratedFile> GenerateGraphics();

// Quality of the JPEG pictures.
inline constexpr int kJpegQuality = 92;

}  // namespace assetgen
