#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

// Start-up work that needs no widget, begun on threads of their own when the
// splash comes up, so that it runs while the splash and the main window are
// built: the system's serial ports (the enumeration walks every tty device
// and takes longer than building the main window) and the program's
// pictures. Only the user-interface thread begins and takes.
namespace StartupPrefetch {
// Starts enumerating the ports and decoding every PNG and JPEG picture of the folder.
void begin(const QString &pictureFolder);
// The ports begun by begin(), once, waiting for them if need be; otherwise
// the system's ports asked afresh.
QStringList takePorts();
// The picture of the file (a JPEG through libjpeg); null when it cannot be
// read. A picture decoded ahead is taken once, waiting for it if need be;
// any later call reads the file afresh.
QPixmap picture(const QString &path);
}
