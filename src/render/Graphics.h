// Graphics sets: the board-graphics, tile-set and wall-background pictures cut
// into the skin bitmaps, and the custom picture laid over the tile set.
#pragma once

#include <QImage>
#include <QRgb>
#include <QStringList>
#include <string>

#include "files/Records.h"

class QComboBox;

namespace pav {

// Loads a picture file: when the last three characters of the path, upper-cased,
// are "JPG" it is converted through the working file "\Graphics\Temp.BMP" (an
// old one is deleted first; the new one is removed afterwards), else it is read
// as a bitmap. The picture comes back as RGB32, or null with *error set.
// With neededSide, a large JPEG may be decoded at a half, a quarter or an eighth
// of its size, but never with a side below min(that side, neededSide).
QImage LoadPicture(const std::string& path, std::string* error = nullptr, int neededSide = 0);
// AppFolder + "\Graphics\" + name with ".JPG" when that exists, else ".BMP" when
// that exists, else "".
std::string GraphicsFile(const std::string& name);

// Every skin bitmap at its size (black), before the first load.
void CreateSkinBitmaps();
// The picture CutPiece copies from.
void SetSourcePicture(const QImage& source);
// target := the width x height rectangle of the source picture at (left, top);
// parts outside the source are black.
void CutPiece(int left, int top, int width, int height, QImage& target);
void CutPiece(const QImage& source, int left, int top, int width, int height, QImage& target);

// "BK - " + the board-graphics name after its first five characters, as ".BMP"
// and then ".JPG" (the JPEG wins): sets App().BackgroundLoaded.
void LoadBackgroundPicture();
// The loaded wall-background picture (null when none).
const QImage& BackgroundPicture();
// Which configured picture LoadGraphicsSet could not use.
enum class TGraphicsFault { None, BoardGraphics, TileSet };
// Refills every skin bitmap from the configured pictures. Shows
// "Unable to open the image '...'." and keeps the whole old skin when a picture
// is missing; a picture that cannot be used is reported with its reason the same
// way: a damaged or cut-short file, a board-graphics picture under 480 x 192, a
// tile set under 480 x 240 that is not a half set of 240 x 240 or more (the
// default set completing a half set needs 480 x 240). Both pictures are checked
// before anything is cut. *fault says which picture was refused.
bool LoadGraphicsSet(TGraphicsFault* fault = nullptr);
// The 50 tile pictures from Config.TileSet alone (the board pieces stay), with
// the same checks and messages.
bool LoadTileSet();

// The largest side a custom picture is kept at: the widest rectangle, 20 cells.
// A larger picture is shrunk on loading (each side on its own, since the picture
// is stretched over its rectangle anyway), so nothing later works on millions of pixels.
constexpr int LargestPictureSide = 20 * 48;

// Lays Config.PicturePath over tiles 6-10, 16-20, ... 46-50 when Config.PictureOn.
// A picture that cannot be read is reported and leaves the tiles as they were.
void ApplyCustomPicture();
// The tile set a board asks for. With the configuration's option on (and `recommend`),
// a recommended set whose file exists and that differs from the set in use, or any
// while the custom picture is on, becomes the set in use and the custom picture goes
// off; a board that names none brings back the player's own set and picture choice.
// The graphics are loaded again when anything changed; returns whether it did.
// A recommended set that is refused (damaged, too small) leaves everything as it was.
bool ChooseBoardTileSet(const TBoard& board, bool recommend = true);
// The custom picture as ApplyCustomPicture loads it (JPEG through the working
// file, no side beyond LargestPictureSide), reporting nothing; null with *error
// set when it cannot be read.
QImage LoadCustomPicture(const std::string& path, std::string* error = nullptr);
// The file a stored picture path names on the disk: its bytes as they are, or
// read as Windows-1252; "" when there is no such file.
std::string CustomPictureFile(const std::string& stored);
// "Unable to open the image '<file name>' : <why>." in an error box.
void ReportPictureProblem(const std::string& path, const std::string& why);
// The 240 x 240 composition of the tile pictures of the 5 x 5 block
// (block cell (a, b) is tile a + 5 + 10*(b-1)).
QImage BlockPicture();
// `base` (a block picture) with `picture` stretched over the cell rectangle
// (x, y, w, h), cut back into the block's tile pictures; those inside the
// rectangle are bevelled.
void LayPictureOnBlock(const QImage& base, const QImage& picture, int x, int y, int w, int h);
void BevelTile(QImage& tile);
QRgb ShiftColour(QRgb colour, int amount);

// Picture names in "\Graphics\" matching mask (e.g. "*.BMP") without their
// extension, skipping names that begin with skip1 or skip2 (case-insensitive).
QStringList ListGraphics(const QString& mask, const QString& skip1, const QString& skip2);
// The pick-list form: empties `list` when `clear` is set, adds the names, keeps
// the entries sorted and selects the first one equal to `current` (or none).
void ListGraphics(QComboBox* list, const QString& mask, const QString& current, bool clear, const QString& skip1,
                  const QString& skip2);

}  // namespace pav
