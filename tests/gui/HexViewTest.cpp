// The hex view on its own: cell texts, colours, the focused byte and image changes.
#include "GuiFixture.h"
#include "HexView.h"
#include "HexViewModel.h"

#include <QTemporaryFile>

namespace {
class HexViewTest : public ::testing::Test {
protected:
    void SetUp() override { view.resize(900, 400); }
    QModelIndex cell(int row, int column) const { return view.model()->index(row, column); }
    QColor colour(int row, int column) const { return cell(row, column).data(Qt::BackgroundRole).value<QColor>(); }
    void click(int row, int column)
    {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(cell(row, column)).center());
    }

    THexContainer image;
    int deviceSize = 0;
    HexView view{image, [this] { return deviceSize; }};
    const QColor window = view.palette().color(QPalette::Base);
    const QColor highlight = view.palette().color(QPalette::Highlight);
    const QColor silver = HexViewModel::UnusedLineColour;
    const QColor red = HexViewModel::BeyondDeviceColour;
};
}

TEST_F(HexViewTest, CellTextsAndHeaders)
{
    // Bytes 20 21 7B 7C 7D 7E 7F 41 ab 4G 00 7A 80 FF 09 30 (checksums are not checked),
    // grown to the largest image.
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(":1000000020217B7C7D7E7F41ab4G007A80FF093000\n:00000001FF\n");
    file.close();
    image.LoadFromFile(file.fileName());
    image.Resize(0x40000F);
    view.imageChanged();
    ASSERT_EQ(view.model()->rowCount(), 262145);
    const struct { int row; int column; const char *text; } cases[] = {  // row -1: the header
        {-1, 0, "Address"}, {-1, 1, "00"}, {-1, 16, "0F"}, {-1, 17, ""}, {-1, 18, "A"},
        {-1, 22, "I"}, {-1, 23, ""}, {0, 0, "000000"}, {31, 0, "0001F0"}, {262144, 0, "400000"},
        {0, 1, "20"}, {0, 9, "ab"}, {0, 10, "4G"}, {5, 16, "FF"}, {0, 17, ""},
        {0, 18, "."}, {0, 19, "!"}, {0, 20, "{"}, {0, 21, "."}, {0, 22, "."}, {0, 23, "."},
        {0, 24, "."}, {0, 25, "A"}, {0, 26, "."}, {0, 27, "."}, {0, 28, "."}, {0, 29, "z"},
        {0, 30, "."}, {0, 31, "."}, {0, 32, "."}, {0, 33, "0"}, {5, 33, "."},
    };
    for (const auto &c : cases) {
        const QVariant text = c.row < 0 ? view.model()->headerData(c.column, Qt::Horizontal, Qt::DisplayRole)
                                        : cell(c.row, c.column).data();
        EXPECT_EQ(text.toString(), QString::fromLatin1(c.text)) << "row " << c.row << " column " << c.column;
        EXPECT_LT(view.fontMetrics().horizontalAdvance(text.toString()), view.columnWidth(c.column));  // with room
    }
    view.show();  // a byte that is not hexadecimal paints like any other
    EXPECT_FALSE(view.grab().isNull());
}

TEST_F(HexViewTest, RangeColours)
{
    // Every image is 1 KB: dataBytes of data, then added lines.
    const struct { const char *name; int dataBytes; int deviceSize; int row; int column; QColor fill; } cases[] = {
        {"inside the device", 1024, 512, 31, 1, window}, {"past the device", 1024, 512, 32, 1, red},
        {"past the device, characters", 1024, 512, 63, 33, red}, {"address column", 1024, 512, 32, 0, window},
        {"spacer column", 1024, 512, 32, 17, window}, {"added line", 16, 1024, 1, 5, silver},
        {"added line past the device", 16, 0, 1, 5, silver}, {"no device", 1024, 0, 0, 1, red},
        {"no device, characters", 1024, 0, 63, 18, red},
    };
    for (const auto &c : cases) {
        makeImage(image, 1024, {{0, pattern(c.dataBytes, 1)}});
        deviceSize = c.deviceSize;
        view.imageChanged();
        EXPECT_EQ(colour(c.row, c.column), c.fill) << c.name;
    }
    view.show();  // as painted
    const QPoint inCell = view.visualRect(cell(1, 5)).topLeft() + QPoint(1, 1);
    EXPECT_EQ(view.viewport()->grab().toImage().pixelColor(inCell), red);
}

TEST_F(HexViewTest, FocusedByteHighlightsBothCellsAndRowsFollowTheImage)
{
    makeImage(image, 1024, {{0, pattern(1024, 1)}});
    deviceSize = 1024;
    view.imageChanged();
    view.show();
    // A click on row and column, or a key when one is given.
    const struct { int row; int column; int key; int focusRow; int hexColumn; } steps[] = {
        {2, 5, 0, 2, 5}, {2, 0, 0, 2, 5}, {3, 17, 0, 2, 5}, {4, 22, 0, 4, 5}, {4, 16, 0, 4, 16},
        {0, 0, Qt::Key_Right, 4, 1}, {0, 0, Qt::Key_Left, 4, 16}, {0, 0, Qt::Key_Home, 4, 1},
        {0, 0, Qt::Key_Left, 4, 1},
    };
    for (const auto &s : steps) {
        s.key ? QTest::keyClick(&view, Qt::Key(s.key)) : click(s.row, s.column);
        const int charColumn = s.hexColumn + HexViewModel::CharOffset;
        EXPECT_EQ(view.focusColumns(), std::make_pair(s.hexColumn, charColumn))
            << s.row << " " << s.column << " " << s.key;
        for (int column = 0; column < HexViewModel::ColumnCount; ++column) {
            const bool lit = column == s.hexColumn || column == charColumn;
            EXPECT_EQ(colour(s.focusRow, column), lit ? highlight : window);
            EXPECT_EQ(colour(s.focusRow + 1, column), window);
        }
    }

    // The rows follow the image.
    EXPECT_EQ(view.model()->rowCount(), 64);
    click(10, 3);
    image.Clear();  // unloaded: the view may paint before it hears of it
    EXPECT_FALSE(cell(10, 3).data().isValid() || view.grab().isNull());
    view.imageChanged();
    EXPECT_TRUE(view.model()->rowCount() == 0 && view.focusColumns() == std::make_pair(-1, -1));
    makeImage(image, 2048, {{0, QByteArray(2047, '\0') + '\xA5'}});
    view.imageChanged();
    EXPECT_EQ(joined({view.model()->rowCount(), cell(127, 16).data()}), "128|A5");
}

