#pragma once

#include <QString>
#include <optional>

// A settings file read and written as the Windows profile functions do it:
// "[Section]" lines and "Key=Value" lines; section and key names compared
// without regard to case, surrounding blanks trimmed; the first matching
// section and, inside it, the first matching key count. A write changes only
// its own line (or adds one) and keeps every other byte of the file, line
// endings included, and replaces the file atomically: whenever a write is cut
// short, the file on disk is the old one or the new one, whole.
class IniFile {
public:
    // Longest text value a read returns, in characters.
    static constexpr int MaxValueLength = 2047;

    explicit IniFile(const QString &path) : m_path(path) {}

    // The key's value, or nothing when the file, the section or the key is missing.
    // Throws EFOpenError when the file exists but cannot be read.
    std::optional<QString> read(const QString &section, const QString &key) const;

    // Sets the key, adding it at the end of its section, and the section at the
    // end of the file, when missing. Throws EIniFileException naming the file when
    // it cannot be read or written (no new file can be made beside it, as in a
    // folder that cannot be written), or when a name or the value holds a line
    // break (it would add lines of its own); the file is then left as it was.
    void write(const QString &section, const QString &key, const QString &value) const;

private:
    QString m_path;
};

// An integer as the profile functions read it: optional sign, then decimal digits
// that fit 32 bits, or "$", "0x" or "0X" and hexadecimal digits whose value fits
// 32 bits (taken as they stand, so "$FFFFFFFF" is -1). Anything else, trailing
// text included, is no number.
std::optional<int> parseProfileInteger(const QString &text);
