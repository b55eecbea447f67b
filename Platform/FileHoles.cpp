#include "FileHoles.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

void FileHoles::SkipHole(QFile &file)
{
    const qint64 position = file.pos();
    const off_t data = ::lseek(file.handle(), off_t(position), SEEK_DATA);
    // ENXIO: nothing but holes up to the reported size, or the position lies
    // at or past it: a file of /proc reports 0, a file may have shrunk since
    // it was read. Only a read tells where such a file ends.
    const qint64 next = data >= 0 ? qint64(data) : errno == ENXIO ? file.size() : position;
    // The descriptor may have moved either way: the file's own position is set anew.
    file.seek(std::max(next, position));
}
