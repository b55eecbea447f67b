#pragma once

#include "Utils.h"

// Settings reads that return the value, for code that applies it at once.
inline int ReadIntSetting(const QString &section, const QString &key, int byDefault)
{
    int value = byDefault;
    Utility->IniRead(section, key, byDefault, value);
    return value;
}

inline bool ReadBoolSetting(const QString &section, const QString &key, bool byDefault)
{
    bool value = byDefault;
    Utility->IniRead(section, key, byDefault, value);
    return value;
}

inline QString ReadTextSetting(const QString &section, const QString &key, const QString &byDefault)
{
    QString value = byDefault;
    Utility->IniRead(section, key, byDefault, value);
    return value;
}
