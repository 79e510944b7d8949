#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace ui {

/// Decodes JPEG bytes with libjpeg. Damaged, truncated or unsupported data (CMYK, larger than
/// 16384 pixels a side) give a null image; the library's errors never end the program.
QImage decodeJpeg(const QByteArray& bytes);

/// Reads a JPEG from a file or a ":/..." resource; a null image when it cannot be read.
QImage loadJpeg(const QString& path);

/// The input panel's photograph and the wait notice's picture, compiled into the program.
QImage seaPhoto();
QImage waitPicture();

} // namespace ui
