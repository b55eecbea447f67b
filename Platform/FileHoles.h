#pragma once

#include <QFile>

// Sparse files: a hole reads as zero bytes but costs a read as long as data
// would, so a reader that passes over zero bytes anyway jumps over it.
namespace FileHoles {

// Moves the open file from its position to the next byte that is not in a
// hole (to its end when only holes follow). Where the file system does not
// tell its holes, the file stays where it is.
void SkipHole(QFile &file);

}  // namespace FileHoles
