#include "ScreenCursor.h"

#include <QGuiApplication>
#include <QPixmap>

namespace {
// Qt does not read the hot spot of a .cur file; the stop sign's centre serves.
constexpr int NotAllowedHotSpot = 16;

QCursor &notAllowed()
{
    static QCursor cursor(Qt::ForbiddenCursor);
    return cursor;
}
}

namespace ScreenCursor {
void set(const QCursor &cursor)
{
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(cursor);
    else
        QGuiApplication::setOverrideCursor(cursor);
}

void setDefault()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool isOverridden()
{
    return QGuiApplication::overrideCursor() != nullptr;
}

void loadNotAllowedCursor(const QString &fileName)
{
    const QPixmap picture(fileName);
    notAllowed() = picture.isNull() ? QCursor(Qt::ForbiddenCursor)
                                    : QCursor(picture, NotAllowedHotSpot, NotAllowedHotSpot);
}

QCursor notAllowedCursor()
{
    return notAllowed();
}
}
