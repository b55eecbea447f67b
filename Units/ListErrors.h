#pragma once

#include "Exceptions.h"

#include <QString>

// The object list's error for an index outside the list.
inline EListError ListIndexError(qint64 index)
{
    return EListError(QStringLiteral("Listenindex überschreitet das Maximum (%1)").arg(index));
}
