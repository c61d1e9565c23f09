// The game's pixel art on screens with more device pixels than logical ones
// (HiDPI). At a whole ratio (2, 3) each picture pixel becomes a square of device
// pixels, nearest neighbour, and the art stays as sharp as it was drawn. At a
// fractional ratio (1.25, 1.5) squares of unequal sizes would make frame lines and
// the skin's letters uneven, so pictures are smoothed there instead.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

class QPainter;

namespace pav {

// True for a whole device-pixel ratio: 1, 2, 3...
bool WholePixelRatio(qreal ratio);
// Sets how `painter` scales pictures, by the ratio of device to logical pixels it
// draws with (its device's, or the one of the image a widget is rendered into).
void SetPictureScaling(QPainter& painter);
// `picture` to be shown at `size` logical pixels on a device of `ratio`: made of
// size * ratio device pixels and marked with the ratio. Enlarged by a whole factor it
// is repeated pixel by pixel; any other change of size is smoothed.
QPixmap DevicePixmap(const QImage& picture, QSize size, qreal ratio);

}  // namespace pav
