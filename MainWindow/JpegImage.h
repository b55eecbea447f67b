#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG pictures decoded with libjpeg (the start page's picture).
// A corrupt or truncated file gives a null image and the decoder's message
// in `error`; libjpeg's "premature end" warning counts as an error, since
// the picture would otherwise show grey where data is missing.
// The image is in the format the screen's pixmaps use (32-bit RGB), so that
// showing it converts nothing.
QImage DecodeJpeg(const QByteArray &data, QString *error = nullptr);
QImage LoadJpegFile(const QString &fileName, QString *error = nullptr);
