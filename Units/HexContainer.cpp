#include "HexContainer.h"

#include "Exceptions.h"
#include "FileErrors.h"
#include "HexDigits.h"
#include "HexFileReader.h"
#include "ListErrors.h"
#include "RegularFile.h"
#include "UiHooks.h"
#include "Utils.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
constexpr char emptyDigit = 'F';
}

QString THexLine::GetByte(int index) const
{
    const std::array<char, 2> chars = ByteChars(index);
    return QString::fromLatin1(chars.data(), 2);
}

std::array<char, 2> THexLine::ByteChars(int index) const
{
    if (index < 1 || index > m_pairs)
        return {emptyDigit, emptyDigit};
    const int offset = 2 * (index - 1);
    return {m_chars[offset], m_chars[offset + 1]};
}

QString THexLine::ByteCount() const
{
    return QString::number(m_pairs, 16).toUpper();
}

QString THexLine::LineData() const
{
    return QString::fromLatin1(m_chars.data(), 2 * m_pairs);
}

void THexLine::SetPair(int column, char high, char low)
{
    while (m_pairs < column) {
        m_chars[2 * m_pairs] = emptyDigit;
        m_chars[2 * m_pairs + 1] = emptyDigit;
        ++m_pairs;
    }
    m_chars[2 * column] = high;
    m_chars[2 * column + 1] = low;
    m_pairs = static_cast<std::uint8_t>(std::max<int>(m_pairs, column + 1));
}

bool THexContainer::GetBytes(std::uint8_t *buffer, int byteCount, int start) const
{
    bool hasData = false;
    const qint64 end = qint64(start) + byteCount;
    for (qint64 address = start; address < end;) {
        const qint64 lineIndex = address >= 0 ? address / THexLine::Columns : -1;
        if (lineIndex < 0 || lineIndex >= count())
            throw ListIndexError(lineIndex);
        const THexLine &line = m_lines[size_t(lineIndex)];
        const int first = int(address % THexLine::Columns);
        const int last = int(std::min<qint64>(THexLine::Columns, first + (end - address)));
        for (int column = first; column < last; ++column) {
            const std::array<char, 2> chars = line.ByteChars(column + 1);
            const int high = HexDigitValue(static_cast<unsigned char>(chars[0]));
            const int low = HexDigitValue(static_cast<unsigned char>(chars[1]));
            if (high < 0 || low < 0)
                throw EConvertError(QString::fromLatin1(NoHexNumberMessage));
            *buffer++ = static_cast<std::uint8_t>(high * 16 + low);
            hasData = hasData || chars[0] != emptyDigit || chars[1] != emptyDigit;
        }
        address += last - first;
    }
    return hasData;
}

void THexContainer::Resize(int lastAddress)
{
    // A definition with an absurd memory size must not make the image grow
    // past what an image can address.
    const int lastLine = std::min(lastAddress / THexLine::Columns, MaxLines - 1);
    if (lastLine >= count())
        m_lines.resize(size_t(lastLine) + 1);
    while (!m_lines.empty() && count() > lastLine + 1 && !m_lines.back().m_used)
        m_lines.pop_back();
}

void THexContainer::Clear()
{
    m_lines.clear();
    m_lines.shrink_to_fit();
}

const THexLine &THexContainer::Items(int index) const
{
    if (index < 0 || index >= count())
        throw ListIndexError(index);
    return m_lines[size_t(index)];
}

QDateTime THexContainer::FileTime(const QString &fileName)
{
    return QFileInfo(fileName).lastModified();
}

void THexContainer::LoadFromFile(const QString &fileName)
{
    BusyCursorGuard busy;
    // Whatever happens below, a failed read leaves no image that could be
    // programmed: the new lines are taken only when the whole file was read.
    m_lines.clear();
    ImageLoaded = false;
    QFile file;
    const RegularFile::OpenResult opened = RegularFile::Open(file, fileName);
    if (opened.outcome == RegularFile::Outcome::NotRegular)
        throw FileOpenError(fileName, Utility->Text(NotARegularFileTextId));
    if (opened.outcome != RegularFile::Outcome::Opened)
        throw FileOpenError(fileName, opened.reason);
    // The time of the file read, whatever the name stands for by now.
    ImageFileDate = file.fileTime(QFileDevice::FileModificationTime);
    m_lines = HexFileReader::Read(file, fileName);
    ImageLoaded = true;
}
