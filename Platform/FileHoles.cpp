#include "FileHoles.h"

#include <cerrno>
#include <unistd.h>

void FileHoles::SkipHole(QFile &file)
{
    const qint64 position = file.pos();
    const off_t data = ::lseek(file.handle(), off_t(position), SEEK_DATA);
    // The descriptor may have moved either way: the file's own position is set anew.
    if (data >= 0)
        file.seek(data);
    else
        file.seek(errno == ENXIO ? file.size() : position);  // ENXIO: nothing but holes to the end
}
