#pragma once

// Memory images for the device tests, made the way a user's are: written as
// Intel HEX and read through the image's own reader.
#include <QByteArray>
#include <QMap>

class THexContainer;

// Bytes that change from one address to the next and with the seed, so that
// a misplaced, repeated or dropped block shows.
QByteArray pattern(int size, int seed);

// Fills `image` with `size` bytes, empty except for the given blocks
// (start address -> bytes).
void makeImage(THexContainer &image, int size, const QMap<int, QByteArray> &blocks);
