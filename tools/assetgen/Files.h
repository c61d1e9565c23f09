// Reading and writing the picture files of a graphics set: uncompressed
// 24-bit BMP and baseline JPEG, byte for byte the same on every run.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace assetgen {

// A 24-bit bottom-up BMP with no compression.
QByteArray EncodeBmp(const QImage &image);

// A baseline JPEG (Huffman coding, standard tables), colour components
// sampled at full resolution. quality 1..100.
QByteArray EncodeJpeg(const QImage &image, int quality);

// Decodes a baseline JPEG as the game does (libjpeg defaults); null on error.
QImage DecodeJpeg(const QByteArray &data);

// Loads a ".BMP" or ".JPG" picture by its extension (case-insensitive).
QImage ReadPicture(const QString &path);

bool WriteFile(const QString &path, const QByteArray &bytes);
QByteArray ReadFile(const QString &path);

}  // namespace assetgen
