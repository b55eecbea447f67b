#pragma once

#include "Modul.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The readable table from which the definition file is built: one section
// per definition titled with its Name, "Key=Value" lines named after the
// definition's properties, FuseLow/FuseHigh/FuseExt/Lock with the eight bit
// names (bit 7 first), and "Base=<earlier section>" to start from a copy.
// Lines starting with '#' or ';' are comments. Any error raises Exception
// naming the line.
std::vector<TModul> ParseDefinitionTable(const QByteArray &text);
std::vector<TModul> ReadDefinitionTable(const QString &path);
