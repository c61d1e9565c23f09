// Sample views assembled from the generated files, for looking at the art.
#pragma once

#include "Board.h"
#include "Generator.h"

#include <QImage>
#include <QString>

#include <vector>

namespace assetgen {

// A small board with blocks, inner corners, two neighbouring blocks of
// different values, an inscription, jump mouths and corner pieces.
SampleBoard DemoBoard();

// The skin of a graphics set as the game loads it from the files given:
// board graphics "GB - name", its "BK - name" if present, and a tile set.
SkinSet LoadFromFiles(const std::vector<GeneratedFile> &files, const QString &boardGraphics,
                      const QString &tileSet);

// The demo board in the default set, side panel shown, a game running.
QImage MainPreview(const std::vector<GeneratedFile> &files);

// Writes zoomed PNG copies of every picture and several sample views to dir.
bool WriteSheets(const std::vector<GeneratedFile> &files, const QString &dir);

}  // namespace assetgen
