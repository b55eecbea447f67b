#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QPalette>
#include <functional>
#include <utility>

class THexContainer;

// The cells of a hex view, read from the image at the moment they are asked
// for: row n is image line n, with its address, its 16 bytes in hexadecimal,
// a spacer and the same bytes as characters. Backgrounds tell unused lines,
// lines beyond the device's memory and the focused byte's two cells apart.
class HexViewModel : public QAbstractTableModel {
public:
    static constexpr int AddressColumn = 0;
    static constexpr int FirstHexColumn = 1;
    static constexpr int SpacerColumn = 17;
    static constexpr int FirstCharColumn = 18;
    static constexpr int ColumnCount = 34;
    // Distance from a byte's hex column to its character column.
    static constexpr int CharOffset = FirstCharColumn - FirstHexColumn;
    static constexpr int AddressDigits = 6;
    // Byte values shown as themselves in the character columns: '!' to '{'.
    static constexpr int FirstShownChar = 33;
    static constexpr int LastShownChar = 123;

    static constexpr QColor UnusedLineColour{0xC0, 0xC0, 0xC0};  // silver
    static constexpr QColor BeyondDeviceColour{0xFF, 0x00, 0x00};

    // deviceSize answers the selected device's memory size in bytes (0 for none).
    HexViewModel(const THexContainer &image, std::function<int()> deviceSize,
                 QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes the image's line count as the row count and repaints every cell.
    void refresh();

    // Columns 1..16 and 18..33 hold a byte; the address and the spacer do not.
    static bool isByteColumn(int column);
    // The most characters a cell of the column shows.
    static int textLength(int column);
    // The byte of cell becomes the focused one (an invalid index or a column
    // without a byte: none).
    void setFocusedCell(const QModelIndex &cell);
    // Hex column (1..16) and character column (18..33) of the focused byte, or -1, -1.
    std::pair<int, int> focusColumns() const { return m_focusColumns; }

    // Window, highlight and text colours come from the view's palette.
    void setPalette(const QPalette &palette);

private:
    QString cellText(int row, int column) const;
    QColor background(int row, int column) const;
    bool isFocused(int row, int column) const;

    const THexContainer &m_image;
    std::function<int()> m_deviceSize;
    int m_rows = 0;
    int m_focusRow = -1;
    std::pair<int, int> m_focusColumns{-1, -1};
    QPalette m_palette;
};
