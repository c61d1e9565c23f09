// Graphics sets: the board-graphics, tile-set and wall-background pictures cut
// into the skin bitmaps, and the custom picture laid over the tile set.
#pragma once

#include <QImage>
#include <QRgb>
#include <QStringList>
#include <string>

namespace pav {

// Loads "<path>.BMP" or a JPEG through the working file "\Graphics\Temp.BMP"
// (removed afterwards). Returns a null image and sets *error when it cannot.
QImage LoadPicture(const std::string& path, std::string* error = nullptr);

void CreateSkinBitmaps();
// "BK - " + the board-graphics name after "GB - ": sets App().BackgroundLoaded.
void LoadBackgroundPicture();
// Refills every skin bitmap from the configured pictures. Shows
// "Unable to open the image '...'." and keeps the old skin when a picture is missing.
bool LoadGraphicsSet();
// Lays Config.PicturePath over tiles 6-10, 16-20, ... 46-50 when Config.PictureOn.
void ApplyCustomPicture();
void BevelTile(QImage& tile);
QRgb ShiftColour(QRgb colour, int amount);

// Picture names in "\Graphics\" matching mask (e.g. "*.BMP") without their
// extension, skipping names that begin with skip1 or skip2 (case-insensitive).
QStringList ListGraphics(const QString& mask, const QString& skip1, const QString& skip2);

}  // namespace pav
