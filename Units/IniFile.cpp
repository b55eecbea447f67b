#include "IniFile.h"

#include "AsciiText.h"
#include "Exceptions.h"
#include "HexDigits.h"
#include "RegularFile.h"

#include <QDir>
#include <QList>
#include <QSaveFile>
#include <cstdint>

namespace {

// One line of the file with its own line end, so that untouched lines are
// written back byte for byte (CR LF stays CR LF).
struct Line {
    QByteArray text;
    QByteArray ending;
};

QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype newline = content.indexOf('\n', start);
        if (newline < 0) {
            lines.append({content.mid(start), {}});
            break;
        }
        const bool crlf = newline > start && content.at(newline - 1) == '\r';
        const qsizetype end = crlf ? newline - 1 : newline;
        lines.append({content.mid(start, end - start), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
    return lines;
}

QByteArray joinLines(const QList<Line> &lines)
{
    QByteArray content;
    for (const Line &line : lines)
        content += line.text + line.ending;
    return content;
}

// New lines follow the file's own convention, taken from its first line end.
QByteArray lineEndingOf(const QList<Line> &lines)
{
    for (const Line &line : lines)
        if (!line.ending.isEmpty())
            return line.ending;
    return "\n";
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QByteArray name;
    QByteArray value;
};

ParsedLine parseLine(const QByteArray &text)
{
    const QByteArray trimmed =
        (text.startsWith(Utf8ByteOrderMark) ? text.mid(Utf8ByteOrderMark.size()) : text).trimmed();
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.lastIndexOf(']');
        const QByteArray name = close > 0 ? trimmed.mid(1, close - 1) : trimmed.mid(1);
        return {LineKind::Section, name.trimmed(), {}};
    }
    const qsizetype equals = trimmed.indexOf('=');
    if (equals < 0)
        return {};
    return {LineKind::Key, trimmed.left(equals).trimmed(), trimmed.mid(equals + 1).trimmed()};
}

bool sameName(const QByteArray &inFile, const QString &wanted)
{
    return QString::fromUtf8(inFile).compare(wanted, Qt::CaseInsensitive) == 0;
}

// Where a key stands: its section's header line, the key's line, and the last
// line of that section that is not blank (where a new key goes behind).
struct Location {
    qsizetype sectionLine = -1;
    qsizetype keyLine = -1;
    qsizetype lastFilledLine = -1;
};

Location locate(const QList<Line> &lines, const QString &section, const QString &key)
{
    Location location;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parseLine(lines[i].text);
        if (parsed.kind == LineKind::Section) {
            if (location.sectionLine >= 0)
                break;  // only the first matching section counts
            if (sameName(parsed.name, section))
                location.sectionLine = location.lastFilledLine = i;
            continue;
        }
        if (location.sectionLine < 0)
            continue;
        if (!lines[i].text.trimmed().isEmpty())
            location.lastFilledLine = i;
        if (parsed.kind == LineKind::Key && sameName(parsed.name, key)) {
            location.keyLine = i;
            break;
        }
    }
    return location;
}

bool holdsLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString writeErrorText(const QString &path)
{
    return QStringLiteral("Unable to write to %1").arg(nativePath(path));
}

QString openErrorText(const QString &path)
{
    return QStringLiteral("Cannot open file \"%1\".").arg(nativePath(path));
}

// The file's bytes; nothing when it is missing or cannot be read, and then
// failureReason tells why. A file refused throws EIniFileRefused with
// refusalText, before a byte of it is read.
std::optional<QByteArray> readContent(const QString &path, const QString &refusalText, QString &failureReason)
{
    RegularFile::Content content = RegularFile::ReadWhole(path, IniFile::MaxFileSize);
    switch (content.outcome) {
    case RegularFile::Outcome::Opened:
        return std::move(content.bytes);
    case RegularFile::Outcome::Missing:
        return std::nullopt;
    case RegularFile::Outcome::NotRegular:
        throw EIniFileRefused(refusalText, EIniFileRefused::Reason::NotRegularFile);
    case RegularFile::Outcome::TooLarge:
        throw EIniFileRefused(refusalText, EIniFileRefused::Reason::TooLarge);
    case RegularFile::Outcome::Failed:
        failureReason = content.reason;
        return std::nullopt;
    }
    return std::nullopt;
}

void setKey(QList<Line> &lines, const QString &section, const QString &key, const QString &value)
{
    const Location location = locate(lines, section, key);
    const QByteArray ending = lineEndingOf(lines);
    if (location.keyLine >= 0) {
        Line &line = lines[location.keyLine];
        line.text = parseLine(line.text).name + '=' + value.toUtf8();  // the key keeps its spelling
        return;
    }
    const QByteArray keyLine = key.toUtf8() + '=' + value.toUtf8();
    if (location.sectionLine >= 0) {
        Line &last = lines[location.lastFilledLine];
        if (last.ending.isEmpty())
            last.ending = ending;
        lines.insert(location.lastFilledLine + 1, {keyLine, ending});
        return;
    }
    if (!lines.isEmpty()) {
        if (lines.last().ending.isEmpty())
            lines.last().ending = ending;
        if (!lines.last().text.trimmed().isEmpty())
            lines.append({{}, ending});  // a blank line between sections, for the reader's eye
    }
    lines.append({'[' + section.toUtf8() + ']', ending});
    lines.append({keyLine, ending});
}

}  // namespace

std::optional<QString> IniFile::read(const QString &section, const QString &key) const
{
    QString failureReason;
    const std::optional<QByteArray> content = readContent(m_path, openErrorText(m_path), failureReason);
    if (!failureReason.isEmpty())
        throw EFOpenError(openErrorText(m_path) + QLatin1Char(' ') + failureReason);
    if (!content)
        return std::nullopt;
    const QList<Line> lines = splitLines(*content);
    const Location location = locate(lines, section, key);
    if (location.keyLine < 0)
        return std::nullopt;
    return QString::fromUtf8(parseLine(lines[location.keyLine].text).value).left(MaxValueLength);
}

void IniFile::write(const QString &section, const QString &key, const QString &value) const
{
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value))
        throw EIniFileException(writeErrorText(m_path) +
                                QStringLiteral(": the value of %1 holds a line break").arg(key));
    // What is there is checked before anything is written: a write neither
    // replaces nor empties a file it refuses or could not read.
    QString failureReason;
    const QByteArray content =
        readContent(m_path, writeErrorText(m_path) + QLatin1Char('.'), failureReason).value_or(QByteArray());
    if (!failureReason.isEmpty())
        throw EFOpenError(writeErrorText(m_path) + QStringLiteral(". ") + failureReason);

    QList<Line> lines = splitLines(content);
    setKey(lines, section, key, value);

    // Never the direct-write fallback: where no temporary file can be made
    // beside the settings file, a write refused keeps the old file, while one
    // cut short in place would leave it empty or half written.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(joinLines(lines)) < 0 || !file.commit())
        throw EIniFileException(writeErrorText(m_path) + QStringLiteral(". ") + file.errorString());
}

std::optional<int> parseProfileInteger(const QString &text)
{
    QStringView digits = QStringView(text).trimmed();
    bool negative = false;
    if (digits.startsWith(QLatin1Char('+')) || digits.startsWith(QLatin1Char('-'))) {
        negative = digits.front() == QLatin1Char('-');
        digits = digits.mid(1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits = digits.mid(1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits = digits.mid(2);
    }
    if (digits.isEmpty())
        return std::nullopt;

    // Decimal must fit a signed 32-bit value; hexadecimal must fit 32 bits (leading
    // zeros do not count) and is taken as it stands.
    const std::int64_t decimalLimit = negative ? 2147483648LL : 2147483647LL;
    constexpr std::int64_t hexLimit = 0xFFFFFFFFLL;
    std::int64_t value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        const int digit = u < 0x80 ? HexDigitValue(static_cast<unsigned char>(u)) : -1;
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > (base == 10 ? decimalLimit : hexLimit))
            return std::nullopt;
    }
    if (base == 16)
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return static_cast<int>(negative ? -value : value);
}
