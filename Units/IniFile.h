#pragma once

#include "Exceptions.h"

#include <QString>
#include <optional>

// A settings file read and written as the Windows profile functions do it:
// "[Section]" lines and "Key=Value" lines; section and key names compared
// without regard to case, surrounding blanks trimmed; the first matching
// section and, inside it, the first matching key count. A write changes only
// its own line (or adds one) and keeps every other byte of the file, line
// endings included, and replaces the file atomically: whenever a write is cut
// short, the file on disk is the old one or the new one, whole.
//
// Only a regular file is read or written (a link to one counts), and only up
// to MaxFileSizeMiB: anything else in its place is left exactly as it is.
class IniFile {
public:
    // Longest text value a read returns, in characters.
    static constexpr int MaxValueLength = 2047;
    // Far above any real settings file, which holds a few kilobytes.
    static constexpr qint64 MaxFileSizeMiB = 4;
    static constexpr qint64 MaxFileSize = MaxFileSizeMiB * 1024 * 1024;

    explicit IniFile(const QString &path) : m_path(path) {}

    // The key's value, or nothing when the file, the section or the key is missing.
    // Throws EIniFileRefused for a file that is there but refused, and
    // EFOpenError when it exists but cannot be read.
    std::optional<QString> read(const QString &section, const QString &key) const;

    // Sets the key, adding it at the end of its section, and the section at the
    // end of the file, when missing. Throws, naming the file and the reason, and
    // leaves the file as it was: EIniFileRefused for a file that is there but
    // refused, EFOpenError for one that cannot be read (a write meets what stands
    // under the name as a read does), and EIniFileException when it cannot be
    // written (no new file can be made beside it, as in a folder that cannot be
    // written) or when a name or the value holds a line break (it would add
    // lines of its own).
    void write(const QString &section, const QString &key, const QString &value) const;

private:
    QString m_path;
};

// A settings file that is there but neither read nor written: no regular
// file, or one larger than IniFile::MaxFileSize. The message names the file
// and the operation; the reason is the caller's to add in the user's
// language, because looking up a text reads the settings file again.
class EIniFileRefused : public Exception {
public:
    enum class Reason { NotRegularFile, TooLarge };
    EIniFileRefused(const QString &message, Reason reason) : Exception(message), m_reason(reason) {}
    Reason reason() const { return m_reason; }

private:
    Reason m_reason;
};

// An integer as the profile functions read it: optional sign, then decimal digits
// that fit 32 bits, or "$", "0x" or "0X" and hexadecimal digits whose value fits
// 32 bits (taken as they stand, so "$FFFFFFFF" is -1). Anything else, trailing
// text included, is no number.
std::optional<int> parseProfileInteger(const QString &text);
