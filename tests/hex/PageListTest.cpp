// Cutting a device memory into pages and checking that an image fits.
#include "HexFixture.h"
#include "PageList.h"

namespace {
// Builds the pages of a device as the main window does.
void buildFor(TPageList &pages, int memorySize, int pageSize)
{
    pages.Build(pageSize > 0 ? memorySize / pageSize : 0, pageSize);
}

bool fits(TPageList &pages, const THexContainer &image)
{
    try {
        return pages.LoadFromImage(image);
    } catch (const EListError &) {
        return false;
    }
}
}

using PageList = HexFixture;

TEST_F(PageList, PagesAreFilledWithEmptyCells)
{
    TPage page;
    page.Init(4);
    ASSERT_EQ(page.PageCells.size(), 4u);
    EXPECT_EQ(page.PageCells[3], (TPage::Cell{'F', 'F'}));
    page.Init(0);
    EXPECT_TRUE(page.PageCells.empty());
    page.Init(-5);
    EXPECT_TRUE(page.PageCells.empty());

    TPageList pages;
    pages.Build(16, 64);
    EXPECT_EQ(pages.count(), 16);
    EXPECT_EQ(pages.DevicePages, 16);
    EXPECT_EQ(pages.DevicePageSize, 64);
    EXPECT_EQ(pages.Items(15).PageCells.size(), 64u);
    pages.Build(2, 8);
    EXPECT_EQ(pages.count(), 2);
}

TEST_F(PageList, ImageFitsExactlyWhenNoLineStartsBeyondTheDevice)
{
    TPageList pages;
    THexContainer image;
    buildFor(pages, 1024, 64);

    load(image, ":0103FF00FFFE\r\n");  // the last byte of the device
    image.Resize(1023);
    EXPECT_EQ(image.count(), 64);
    EXPECT_TRUE(fits(pages, image));
    EXPECT_EQ(pages.Items(15).PageCells[63], (TPage::Cell{'F', 'F'}));

    load(image, ":0104000042B9\r\n");  // one byte past it
    image.Resize(1023);
    EXPECT_EQ(image.count(), 65);
    buildFor(pages, 1024, 64);
    EXPECT_THROW(pages.LoadFromImage(image), EListError);

    // An empty image grown to the device fits.
    image.Clear();
    image.Resize(1023);
    buildFor(pages, 1024, 64);
    EXPECT_TRUE(fits(pages, image));

    // The same image on a smaller device.
    load(image, ":0103FF00ABA9\r\n");
    image.Resize(1023);
    buildFor(pages, 512, 64);
    EXPECT_FALSE(fits(pages, image));
}

TEST_F(PageList, BytesArePouredInAddressOrder)
{
    TPageList pages;
    THexContainer image;
    load(image, ":04000600a1B2c3D4C6\r\n");
    image.Resize(31);
    buildFor(pages, 32, 8);
    ASSERT_TRUE(pages.LoadFromImage(image));
    EXPECT_EQ(pages.Items(0).PageCells[6], (TPage::Cell{'a', '1'}));
    EXPECT_EQ(pages.Items(1).PageCells[1], (TPage::Cell{'D', '4'}));
    EXPECT_EQ(pages.Items(1).PageCells[2], (TPage::Cell{'F', 'F'}));
}

TEST_F(PageList, EepromPagesAndDevicesWithoutPages)
{
    TPageList pages;
    THexContainer image;
    load(image, ":0101F000AA64\r\n");  // line 31
    image.Resize(511);
    buildFor(pages, 512, 4);
    EXPECT_EQ(pages.count(), 128);
    EXPECT_TRUE(fits(pages, image));
    load(image, ":01020000AA53\r\n");  // line 32
    buildFor(pages, 512, 4);
    EXPECT_FALSE(fits(pages, image));

    // No EEPROM, or no usable page size: every image of a line or more is refused.
    image.Clear();
    image.Resize(-1);
    ASSERT_EQ(image.count(), 1);
    for (const int pageSize : {4, 0, -8}) {
        buildFor(pages, pageSize == 4 ? 0 : 512, pageSize);
        EXPECT_EQ(pages.count(), 0) << pageSize;
        EXPECT_FALSE(fits(pages, image)) << pageSize;
    }
    pages.Build(10, 0);  // even when a page count is asked for
    EXPECT_EQ(pages.count(), 0);
    EXPECT_FALSE(fits(pages, image));

    // Absurd sizes make no more pages than an image can reach, with the same verdict.
    load(image, ":020000040040BA\r\n:0100000042BD\r\n");
    pages.Build(0x7FFFFFFF, 256);
    EXPECT_EQ(pages.DevicePages, 0x7FFFFFFF);
    EXPECT_EQ(pages.count(), (THexContainer::MaxLines * 16 + 255) / 256);
    EXPECT_TRUE(fits(pages, image));
    pages.Build(1, 0x7FFFFFFF);
    EXPECT_EQ(pages.Items(0).PageCells.size(), size_t(THexContainer::MaxLines) * 16);
    EXPECT_TRUE(fits(pages, image));
    pages.Build(THexContainer::MaxLines - 1, 16);
    EXPECT_FALSE(fits(pages, image));

    // Nothing to pour, nothing to refuse.
    image.Clear();
    EXPECT_TRUE(fits(pages, image));
}

TEST_F(PageList, TheTailOfAStraddlingLineIsNotExamined)
{
    TPageList pages;
    THexContainer image;
    load(image, ":10001000000102030405060708090A0B0C0D0E0F68\r\n");  // lines 0 and 1, 32 bytes
    pages.Build(1, 24);
    EXPECT_TRUE(fits(pages, image));  // line 1 starts at 16 < 24
    pages.Build(1, 16);
    EXPECT_FALSE(fits(pages, image));
}
