#include "HexViewModel.h"

#include "HexContainer.h"
#include "HexDigits.h"

namespace {
constexpr int ByteDigits = 2;
const QString NotShown = QStringLiteral(".");

QString charText(const std::array<char, 2> &digits)
{
    const int high = HexDigitValue(static_cast<unsigned char>(digits[0]));
    const int low = HexDigitValue(static_cast<unsigned char>(digits[1]));
    // The reader keeps whatever stood in the file's data field, so a byte
    // may not be hexadecimal at all; such a byte has no character.
    if (high < 0 || low < 0)
        return NotShown;
    const int value = high * 16 + low;
    if (value < HexViewModel::FirstShownChar || value > HexViewModel::LastShownChar)
        return NotShown;
    return QString(QChar(value));
}

QString headerText(int column)
{
    static const QString charHeading = QStringLiteral("ASCII");
    if (column == HexViewModel::AddressColumn)
        return QStringLiteral("Address");
    if (column < HexViewModel::SpacerColumn)
        return QStringLiteral("%1").arg(column - HexViewModel::FirstHexColumn, 2, 16, QLatin1Char('0')).toUpper();
    const int letter = column - HexViewModel::FirstCharColumn;
    return letter >= 0 && letter < charHeading.size() ? charHeading.mid(letter, 1) : QString();
}
}

HexViewModel::HexViewModel(const THexContainer &image, std::function<int()> deviceSize,
                           QObject *parent)
    : QAbstractTableModel(parent), m_image(image), m_deviceSize(std::move(deviceSize)),
      m_rows(image.count())
{
}

int HexViewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int HexViewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HexViewModel::data(const QModelIndex &index, int role) const
{
    // Between a change of the image and refresh() the view may still ask for
    // rows the image no longer has: they stay blank.
    if (!index.isValid() || index.row() >= m_image.count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::BackgroundRole:
        return background(index.row(), index.column());
    case Qt::ForegroundRole:
        return m_palette.color(isFocused(index.row(), index.column()) ? QPalette::HighlightedText
                                                                       : QPalette::Text);
    default:
        return {};
    }
}

QVariant HexViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return headerText(section);
}

void HexViewModel::refresh()
{
    const int rows = m_image.count();
    // Rows are added or taken at the end, so the focused byte stays where it is when its line does.
    if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}

bool HexViewModel::isByteColumn(int column)
{
    return column >= FirstHexColumn && column < ColumnCount && column != SpacerColumn;
}

int HexViewModel::textLength(int column)
{
    if (column == AddressColumn)
        return AddressDigits;
    if (column == SpacerColumn)
        return 0;
    return column < SpacerColumn ? ByteDigits : 1;
}

void HexViewModel::setFocusedCell(const QModelIndex &cell)
{
    if (!cell.isValid() || !isByteColumn(cell.column())) {
        m_focusRow = -1;
        m_focusColumns = {-1, -1};
        return;
    }
    m_focusRow = cell.row();
    const int hexColumn = cell.column() < SpacerColumn ? cell.column() : cell.column() - CharOffset;
    m_focusColumns = {hexColumn, hexColumn + CharOffset};
}

void HexViewModel::setPalette(const QPalette &palette)
{
    m_palette = palette;
}

QString HexViewModel::cellText(int row, int column) const
{
    if (column == AddressColumn)
        return QStringLiteral("%1").arg(row * THexLine::Columns, AddressDigits, 16, QLatin1Char('0')).toUpper();
    if (column == SpacerColumn)
        return {};
    const THexLine &line = m_image.Items(row);
    if (column < SpacerColumn)
        return line.GetByte(column);
    return charText(line.ByteChars(column - CharOffset));
}

QColor HexViewModel::background(int row, int column) const
{
    if (!isByteColumn(column))
        return m_palette.color(QPalette::Base);
    if (isFocused(row, column))
        return m_palette.color(QPalette::Highlight);
    if (!m_image.Items(row).LineUsed())
        return UnusedLineColour;
    if (row * THexLine::Columns >= m_deviceSize())
        return BeyondDeviceColour;
    return m_palette.color(QPalette::Base);
}

bool HexViewModel::isFocused(int row, int column) const
{
    return row == m_focusRow && (column == m_focusColumns.first || column == m_focusColumns.second);
}
