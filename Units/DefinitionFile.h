#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "Modul.h"

// "Microcontroller.kvt": the 16 bytes "FileVersion: 1.0", then one TModul
// component record after another up to the end of the file.
inline constexpr const char *DefinitionFileName = "Microcontroller.kvt";
inline constexpr const char *DefinitionFileHeader = "FileVersion: 1.0";
inline constexpr int DefinitionFileHeaderSize = 16;

enum class DefinitionFileResult {
    Missing,       // no such file: nothing read
    WrongVersion,  // the first 16 bytes are not the header (a shorter file too)
    Read,          // every record was read
};

// Reads every record of the file in order and hands each to `take` as soon
// as it is read, so that the records before an error stay with the caller.
// A file that cannot be opened raises EFOpenError; a bad record EReadError.
DefinitionFileResult ReadDefinitionFile(const QString &path,
                                        const std::function<void(std::unique_ptr<TModul>)> &take);

// The same on the file's content.
DefinitionFileResult ReadDefinitionData(const QByteArray &data,
                                        const std::function<void(std::unique_ptr<TModul>)> &take);

// The header followed by one record per definition.
QByteArray WriteDefinitionData(const std::vector<TModul> &definitions);
// Writes that content to path (replacing it); false when it cannot be written.
bool WriteDefinitionFile(const QString &path, const std::vector<TModul> &definitions);
