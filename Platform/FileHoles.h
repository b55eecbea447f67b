#pragma once

#include <QFile>

// Sparse files: a hole reads as zero bytes but costs a read as long as data
// would, so a reader that passes over zero bytes anyway jumps over it.
namespace FileHoles {

// Moves the open file from its position to the next byte that is not in a
// hole (to its reported end when only holes follow). It never moves back:
// where the file system does not tell its holes, or the file reports an end
// at or before the position (a file of /proc, a file cut short while it is
// read), the file stays where it is and its next read tells what follows.
void SkipHole(QFile &file);

}  // namespace FileHoles
