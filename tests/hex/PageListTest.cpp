// Cutting a device memory into pages and checking that an image fits.
#include "HexFixture.h"
#include "PageList.h"

#include <climits>

namespace {
bool fits(TPageList &pages, const THexContainer &image)
{
    try {
        return pages.LoadFromImage(image);
    } catch (const EListError &) {
        return false;
    }
}

const int NoResize = INT_MIN;
const QByteArray LastLine = ":020000040040BA\r\n:0100000042BD\r\n";  // the image's last line
const QByteArray NoData = ":00000001FF\r\n";  // an image of no lines

// An image (read, then grown to a device's last address) checked against pages.
const struct {
    const char *name;
    QByteArray text;
    int lastAddress;
    int pageCount, pageSize;
    bool fits;
} fitCases[] = {
    {"LastByteOfTheDevice", ":0103FF00FFFE\r\n", 1023, 16, 64, true},
    {"OneBytePastTheDevice", ":0104000042B9\r\n", 1023, 16, 64, false},
    {"EmptyImageGrownToTheDevice", NoData, 1023, 16, 64, true},
    {"SmallerDevice", ":0103FF00ABA9\r\n", 1023, 8, 64, false},
    {"LastEepromLine", ":0101F000AA64\r\n", 511, 128, 4, true},
    {"FirstLinePastTheEeprom", ":01020000AA53\r\n", NoResize, 128, 4, false},
    // No EEPROM, or no usable page size: every image of a line or more is refused.
    {"NoEeprom", NoData, -1, 0, 4, false},
    {"PageSizeZero", NoData, -1, 10, 0, false},
    {"NegativePageSize", NoData, -1, 64, -8, false},
    {"NothingToPour", NoData, NoResize, 0, 0, true},
    // Absurd sizes make no more pages than an image can reach, with the same verdict.
    {"AbsurdPageCount", LastLine, NoResize, 0x7FFFFFFF, 256, true},
    {"AbsurdPageSize", LastLine, NoResize, 1, 0x7FFFFFFF, true},
    {"OneLineShortOfTheImage", LastLine, NoResize, THexContainer::MaxLines - 1, 16, false},
    // Lines 0 and 1: only where a line starts counts, not where it ends.
    {"StraddlingLineStartsInside", ":10001000000102030405060708090A0B0C0D0E0F68\r\n", NoResize, 1, 24, true},
    {"StraddlingLineStartsAtTheEnd", ":10001000000102030405060708090A0B0C0D0E0F68\r\n", NoResize, 1, 16, false},
};
}

using PageList = HexFixture;

TEST_F(PageList, ImageFitsWhenNoLineStartsBeyondTheDevice)
{
    for (const auto &row : fitCases) {
        SCOPED_TRACE(row.name);
        THexContainer image;
        load(image, row.text);
        if (row.lastAddress != NoResize)
            image.Resize(row.lastAddress);
        TPageList pages;
        pages.Build(row.pageCount, row.pageSize);
        EXPECT_EQ(fits(pages, image), row.fits);
    }
}

TEST_F(PageList, PagesHoldTheImageBytesInAddressOrder)
{
    TPage page;
    page.Init(4);
    ASSERT_EQ(page.PageCells.size(), 4u);
    EXPECT_EQ(page.PageCells[3], (TPage::Cell{'F', 'F'}));
    page.Init(-5);
    EXPECT_TRUE(page.PageCells.empty());

    TPageList pages;
    pages.Build(10, 0);
    EXPECT_EQ(pages.count(), 0);
    pages.Build(0x7FFFFFFF, 256);
    EXPECT_EQ(pages.DevicePages, 0x7FFFFFFF);
    EXPECT_EQ(pages.count(), (THexContainer::MaxLines * 16 + 255) / 256);
    pages.Build(1, 0x7FFFFFFF);
    EXPECT_EQ(pages.Items(0).PageCells.size(), size_t(THexContainer::MaxLines) * 16);

    THexContainer image;
    load(image, ":04000600a1B2c3D4C6\r\n");
    image.Resize(31);
    pages.Build(4, 8);
    EXPECT_EQ(std::tuple(pages.count(), pages.DevicePageSize), std::tuple(4, 8));
    ASSERT_TRUE(pages.LoadFromImage(image));
    EXPECT_EQ((QList<TPage::Cell> {pages.Items(0).PageCells[6], pages.Items(1).PageCells[1], pages.Items(1).PageCells[2]}),
              (QList<TPage::Cell> {{'a', '1'}, {'D', '4'}, {'F', 'F'}}));
}
