#pragma once

#include <QString>
#include <QStringList>

// The languages that the libraries in a folder offer, as the options dialog
// lists them: "<language id> - <full name>", in the order of the file names.
// Only files named "<id>.lang.so" that are shared objects are loaded at all;
// everything else in the folder, and a candidate that does not load or lacks
// getLangID or getLangFull, is skipped.
QStringList ListLanguageEntries(const QString &folder);

// True when the file's name and first bytes make it a language library worth loading.
bool IsLanguageLibraryCandidate(const QString &path);

// The language id of an entry: its text up to the first " - ", trimmed;
// empty when it holds no " - ".
QString LanguageIdOfEntry(const QString &entry);
