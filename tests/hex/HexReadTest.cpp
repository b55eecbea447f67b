// Reading Intel HEX into an image: placement, record types, trimming, errors.
#include "HexFixture.h"

#include <array>
#include <vector>

namespace {
QByteArray crlf(std::initializer_list<const char *> lines)
{
    QByteArray text;
    for (const char *line : lines)
        text += QByteArray(line) + "\r\n";
    return text;
}

std::vector<std::uint8_t> bytes(const THexContainer &image, int count, int start, bool *hasData = nullptr)
{
    std::vector<std::uint8_t> buffer(size_t(count), 0x5A);
    const bool result = image.GetBytes(buffer.data(), count, start);
    if (hasData)
        *hasData = result;
    return buffer;
}
}

using HexRead = HexFixture;

TEST_F(HexRead, PlacesBytesByColumnPaddingWithFF)
{
    THexContainer image;
    load(image, crlf({":10000000000102030405060708090A0B0C0D0E0F78", ":00000001FF"}));
    ASSERT_EQ(image.count(), 1);
    EXPECT_EQ(image.Items(0).ByteCount(), "10");
    EXPECT_EQ(image.Items(0).LineData(), "000102030405060708090A0B0C0D0E0F");
    EXPECT_TRUE(image.Items(0).LineUsed());
    EXPECT_TRUE(image.ImageLoaded);

    load(image, crlf({":0400080001020304EA"}));
    ASSERT_EQ(image.count(), 1);
    EXPECT_EQ(image.Items(0).ByteCount(), "C");
    EXPECT_EQ(image.Items(0).LineData(), "FFFFFFFFFFFFFFFF01020304");
    for (int column = 13; column <= 16; ++column)
        EXPECT_EQ(image.Items(0).GetByte(column), "FF");
    EXPECT_EQ(image.Items(0).GetByte(9), "01");
}

TEST_F(HexRead, RecordsRunOnAndOverwriteInAnyOrder)
{
    THexContainer ascending, descending;
    load(ascending, crlf({":20000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F00"}));
    load(descending, crlf({":10001000101112131415161718191A1B1C1D1E1F68",
                           ":10000000000102030405060708090A0B0C0D0E0F78"}));
    ASSERT_EQ(ascending.count(), 2);
    ASSERT_EQ(descending.count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ascending.Items(i).LineData(), descending.Items(i).LineData());
        EXPECT_EQ(ascending.Items(i).ByteCount(), "10");
    }

    THexContainer image;
    load(image, crlf({":040000001122334452", ":02000200AABB97"}));
    EXPECT_EQ(image.Items(0).ByteCount(), "4");
    EXPECT_EQ(image.Items(0).LineData(), "1122AABB");

    load(image, crlf({":04000E0001020304E4"}));
    ASSERT_EQ(image.count(), 2);
    EXPECT_EQ(image.Items(0).LineData(), QString("FF").repeated(14) + "0102");
    EXPECT_EQ(image.Items(1).ByteCount(), "2");
    EXPECT_EQ(image.Items(1).LineData(), "0304");
}

TEST_F(HexRead, LinesBeforeTheLastDataAreUsedEvenWhenEmpty)
{
    THexContainer image;
    load(image, crlf({":01003000AA25"}));
    ASSERT_EQ(image.count(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(image.Items(i).ByteCount(), "0");
        EXPECT_TRUE(image.Items(i).LineUsed());
        EXPECT_EQ(lineText(image.Items(i)), QString("FF").repeated(16));
    }
    EXPECT_EQ(image.Items(3).LineData(), "AA");
}

TEST_F(HexRead, ExtendedSegmentAndLinearAddresses)
{
    THexContainer image;
    load(image, crlf({":020000021000EC", ":0100000042BD"}));
    ASSERT_EQ(image.count(), 4097);
    EXPECT_EQ(image.Items(4096).LineData(), "42");

    load(image, crlf({":020000040001F9", ":0100000042BD"}));
    ASSERT_EQ(image.count(), 4097);
    EXPECT_EQ(image.Items(4096).LineData(), "42");

    // The base holds until the next address record.
    load(image, crlf({":020000040001F9", ":0100000042BD", ":0100100043AC", ":020000040000FA", ":0100000044BB"}));
    EXPECT_EQ(image.Items(0).LineData(), "44");
    EXPECT_EQ(image.Items(4097).LineData(), "43");

    // A record is not wrapped at the end of its 64 KiB segment: it runs on linearly.
    load(image, crlf({":020000021000EC", ":10FFF800000102030405060708090A0B0C0D0E0F00"}));
    ASSERT_EQ(image.count(), 0x20007 / 16 + 1);
    EXPECT_EQ(image.Items(0x1FFF0 / 16).LineData(), QString("FF").repeated(8) + "0001020304050607");
    EXPECT_EQ(image.Items(0x20000 / 16).LineData(), "08090A0B0C0D0E0F");
}

TEST_F(HexRead, TheLastLineOfTheImageAndBeyond)
{
    THexContainer image;
    load(image, crlf({":020000040040BA", ":0100000042BD"}));
    ASSERT_EQ(image.count(), THexContainer::MaxLines);
    EXPECT_EQ(image.Items(THexContainer::MaxLines - 1).LineData(), "42");

    // A record starting in the last line runs past it: the rest is dropped.
    load(image, crlf({":020000040040BA", ":1000080000112233445566778899AABBCCDDEEFFF0"}));
    ASSERT_EQ(image.count(), THexContainer::MaxLines);
    EXPECT_EQ(image.Items(THexContainer::MaxLines - 1).LineData(),
              QString("FF").repeated(8) + "0011223344556677");
}

TEST_F(HexRead, AddressesBeyondTheImageRaiseText16AndLeaveNoImage)
{
    const char *const cases[][2] = {
        {":020000040040BA", ":0100100042AD"},  // just past 0x40000F
        {":0400000400010000F7", ":0100000042BD"},  // 0x10000 << 16 would wrap to 0 in 32 bits
        {":0400000210000000EA", ":0100000042BD"},  // 0x10000000 << 4 likewise
        {":0200000480007A", ":0100000042BD"},  // 0x80000000 would turn negative
        {":0A000004FFFFFFFFFFFFFFFFFFFFF6", ":0100000042BD"},  // saturates, never wraps
    };
    for (const auto &records : cases) {
        THexContainer image;
        load(image, crlf({":10000000000102030405060708090A0B0C0D0E0F78"}));
        ASSERT_TRUE(image.ImageLoaded);
        try {
            load(image, crlf({records[0], records[1]}));
            FAIL() << records[0] << " was accepted";
        } catch (const EListError &error) {
            EXPECT_EQ(error.message(), "T16") << records[0];
        }
        EXPECT_EQ(image.count(), 0) << records[0];
        EXPECT_FALSE(image.ImageLoaded) << records[0];
        EXPECT_EQ(cursor.busy, 0);
    }
}

TEST_F(HexRead, ChecksumsAndLengthsAreNotChecked)
{
    THexContainer image;
    // The count beats the line: the checksum pair becomes data.
    load(image, crlf({":050000000102030400"}));
    EXPECT_EQ(image.Items(0).ByteCount(), "5");
    EXPECT_EQ(image.Items(0).LineData(), "0102030400");

    // Wrong checksum, longer line than the count: the count decides.
    load(image, crlf({":02000000AABB00CCDD"}));
    EXPECT_EQ(image.Items(0).LineData(), "AABB");

    // A lone last character of a line cut in the middle of a byte is no byte.
    load(image, crlf({":04000000AABBC"}));
    EXPECT_EQ(image.Items(0).LineData(), "AABB");
    EXPECT_EQ(image.Items(0).ByteCount(), "2");
}

TEST_F(HexRead, OtherLinesAndLineEndsDoNotMatter)
{
    THexContainer image;
    load(image, "hello\r\n\r\n:02000000AABB99\r\n:00000001FF\r\n:02000200CCDD00\r\n");
    ASSERT_EQ(image.count(), 1);
    EXPECT_EQ(image.Items(0).LineData(), "AABB");

    for (const char *end : {"\r", "\n", "\r\n"}) {
        const QByteArray text = QByteArray(":02000000AABB99") + end + ":02001000CCDD55" + end + ":00000001FF";
        load(image, text);
        ASSERT_EQ(image.count(), 2) << end;
        EXPECT_EQ(image.Items(1).LineData(), "CCDD");
    }

    // A byte-order mark before the first record does not hide it.
    load(image, "\xEF\xBB\xBF:02000000AABB99\r\n");
    ASSERT_EQ(image.count(), 1);

    // Records of types 3 and 5 and lines without data change nothing.
    load(image, crlf({":", ":10000000", ":0400000300003800C1", ":04000005000000CD2A", ":00000001FF"}));
    EXPECT_EQ(image.count(), 0);
    EXPECT_TRUE(image.ImageLoaded);
}

TEST_F(HexRead, CaseIsKeptAndLowerCaseFFIsData)
{
    THexContainer image;
    load(image, crlf({":04000000deadbeefC4", ":02001000ffff00"}));
    EXPECT_EQ(image.Items(0).GetByte(1), "de");
    EXPECT_EQ(image.Items(0).LineData(), "deadbeef");
    bool hasData = false;
    EXPECT_EQ(bytes(image, 4, 0, &hasData), (std::vector<std::uint8_t>{0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_TRUE(hasData);
    EXPECT_EQ(bytes(image, 2, 16, &hasData), (std::vector<std::uint8_t>{0xFF, 0xFF}));
    EXPECT_TRUE(hasData);
    EXPECT_EQ(bytes(image, 4, 4, &hasData), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(hasData);
}

TEST_F(HexRead, BadDigits)
{
    THexContainer image;
    // Data digits of a data record are converted only when the byte is asked for.
    load(image, crlf({":030000000ZG1AA00"}));
    EXPECT_TRUE(image.ImageLoaded);
    EXPECT_EQ(image.Items(0).GetByte(1), "0Z");
    EXPECT_EQ(bytes(image, 1, 2), std::vector<std::uint8_t>{0xAA});
    EXPECT_THROW(bytes(image, 2, 0), EConvertError);

    // Count, offset and type, and the data of address records, are checked at once.
    for (const char *bad : {":1G000000", ":01000G0042", ":0100000G42", ":020000040X00", ":0200000200Z0"}) {
        load(image, crlf({":10000000000102030405060708090A0B0C0D0E0F78"}));
        cursor.shown = 0;
        try {
            load(image, crlf({bad}));
            FAIL() << bad << " was accepted";
        } catch (const EConvertError &error) {
            EXPECT_EQ(error.message(), "No Hex-Number");
        }
        EXPECT_FALSE(image.ImageLoaded) << bad;
        EXPECT_EQ(image.count(), 0) << bad;
        EXPECT_EQ(cursor.shown, 1);
        EXPECT_EQ(cursor.busy, 0);
    }
    // The count of a record that is not converted does not matter.
    load(image, crlf({":ZZ000003", ":00000001FF"}));
    EXPECT_TRUE(image.ImageLoaded);
}

TEST_F(HexRead, MissingFileKeepsNothing)
{
    THexContainer image;
    load(image, crlf({":0100000042BD"}));
    try {
        image.LoadFromFile(filePath("missing.hex"));
        FAIL();
    } catch (const EFOpenError &error) {
        EXPECT_TRUE(error.message().startsWith("Datei " + filePath("missing.hex") + " kann nicht geöffnet werden. "))
            << error.what();
    }
    EXPECT_FALSE(image.ImageLoaded);
    EXPECT_EQ(image.count(), 0);
    EXPECT_EQ(cursor.busy, 0);
}

TEST_F(HexRead, FileDateIsTakenFromTheFile)
{
    THexContainer image;
    EXPECT_FALSE(image.ImageLoaded);
    EXPECT_TRUE(image.ImageMisfit);
    const QString path = writeFile("dated.hex", ":0100000042BD\r\n");
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1700000000);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    image.LoadFromFile(path);
    EXPECT_EQ(image.ImageFileDate, stamp);
}

TEST_F(HexRead, GetBytesAndItemsOutsideTheImage)
{
    THexContainer image;
    load(image, crlf({":02000000AABB99"}));
    std::uint8_t buffer[4] = {1, 2, 3, 4};
    EXPECT_FALSE(image.GetBytes(buffer, 0, 0));
    EXPECT_FALSE(image.GetBytes(buffer, -3, 0));
    EXPECT_EQ(buffer[0], 1);
    try {
        image.GetBytes(buffer, 4, 14);
        FAIL();
    } catch (const EListError &error) {
        EXPECT_EQ(error.message(), "Listenindex überschreitet das Maximum (1)");
    }
    EXPECT_THROW(image.GetBytes(buffer, 1, -1), EListError);
    EXPECT_THROW(image.Items(1), EListError);
    EXPECT_THROW(image.Items(-1), EListError);
}

TEST_F(HexRead, ResizeGrowsWithUnusedLinesAndNeverDropsUsedOnes)
{
    THexContainer image;
    load(image, crlf({":00000001FF"}));
    EXPECT_EQ(image.count(), 0);
    image.Resize(1023);
    ASSERT_EQ(image.count(), 64);
    EXPECT_FALSE(image.Items(63).LineUsed());
    EXPECT_EQ(lineText(image.Items(63)), QString("FF").repeated(16));
    std::vector<std::uint8_t> all(1024);
    EXPECT_FALSE(image.GetBytes(all.data(), 1024, 0));

    image.Resize(511);  // unused lines above the new end go
    EXPECT_EQ(image.count(), 32);
    image.Resize(-1);   // -1 div 16 is 0
    EXPECT_EQ(image.count(), 1);
    image.Resize(-17);
    EXPECT_EQ(image.count(), 0);

    load(image, crlf({":01003000AA25"}));
    image.Resize(15);  // every line of a read is used: nothing shrinks
    EXPECT_EQ(image.count(), 4);
    image.Resize(0x7FFFFFFF);  // an absurd device size stops at the image's reach
    EXPECT_EQ(image.count(), THexContainer::MaxLines);

    image.Clear();
    EXPECT_EQ(image.count(), 0);
    EXPECT_TRUE(image.ImageLoaded);
}
