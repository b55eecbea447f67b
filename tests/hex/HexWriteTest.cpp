// Writing memory read back from a device as Intel HEX; srec_cat reads it back in RealFilesTest.
#include "HexFixture.h"
#include "MemoryStream.h"

namespace {
TMemoryStream streamOf(const QByteArray &bytes)
{
    TMemoryStream stream;
    stream.write(bytes.constData(), int(bytes.size()));
    return stream;
}

QList<QByteArray> recordsOf(const QByteArray &file)
{
    QList<QByteArray> lines = file.split('\n');
    EXPECT_TRUE(lines.takeLast().isEmpty()) << "the last line must end in CR LF too";
    for (QByteArray &line : lines) {
        EXPECT_TRUE(line.endsWith('\r'));
        line.chop(1);
    }
    return lines;
}
}

using HexWrite = HexFixture;

TEST_F(HexWrite, SmallStreams)
{
    struct Case {
        QByteArray stream;
        QList<QByteArray> records;
    };
    QByteArray ramp32;
    for (int i = 0; i < 32; ++i)
        ramp32.append(char(i));
    const Case cases[] = {
        {QByteArray(16, char(0xFF)),
         {":020000020000FC", ":10000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF00", ":00000001FF"}},
        {ramp32,
         {":020000020000FC", ":10000000000102030405060708090A0B0C0D0E0F78",
          ":10001000101112131415161718191A1B1C1D1E1F68", ":00000001FF"}},
        // A remainder of fewer than 16 bytes is not written.
        {ramp32.left(20), {":020000020000FC", ":10000000000102030405060708090A0B0C0D0E0F78", ":00000001FF"}},
        {QByteArray(), {":020000020000FC", ":00000001FF"}},
    };
    for (const Case &c : cases) {
        TMemoryStream stream = streamOf(c.stream);
        ASSERT_TRUE(THexContainer::SaveStreamToFile(stream, filePath("out.hex")));
        EXPECT_EQ(recordsOf(readFile(filePath("out.hex"))), c.records);
        EXPECT_EQ(stream.data(), c.stream) << "the stream is not changed";
    }
}

TEST_F(HexWrite, AddressRecordsBetweenBlocksOnly)
{
    TMemoryStream stream = streamOf(QByteArray(0x10010, char(0xAA)));
    ASSERT_TRUE(THexContainer::SaveStreamToFile(stream, filePath("64k16.hex")));
    const QList<QByteArray> records = recordsOf(readFile(filePath("64k16.hex")));
    ASSERT_EQ(records.size(), 4100);
    EXPECT_EQ(records[4096], ":10FFF000" + QByteArray(32, 'A') + "61");
    EXPECT_EQ(records[4097], ":020000021000EC");
    EXPECT_EQ(records[4098], ":10000000" + QByteArray(32, 'A') + "50");

    // Each further 64 KiB block is announced by the next segment; beyond
    // 1 MiB, linear addresses take over.
    stream = streamOf(QByteArray(0x120000, '\0'));
    ASSERT_TRUE(THexContainer::SaveStreamToFile(stream, filePath("big.hex")));
    QList<QByteArray> addressRecords;
    for (const QByteArray &record : recordsOf(readFile(filePath("big.hex"))))
        if (record.mid(7, 2) != "00")
            addressRecords << record;
    const QList<QByteArray> expected = {
        ":020000020000FC", ":020000021000EC", ":020000022000DC", ":020000023000CC", ":020000024000BC",
        ":020000025000AC", ":0200000260009C", ":0200000270008C", ":0200000280007C", ":0200000290006C",
        ":02000002A0005C", ":02000002B0004C", ":02000002C0003C", ":02000002D0002C", ":02000002E0001C",
        ":02000002F0000C", ":020000040010EA", ":020000040011E9", ":00000001FF"};
    EXPECT_EQ(addressRecords, expected);
}

TEST_F(HexWrite, UnwritablePathGivesFalse)
{
    TMemoryStream stream = streamOf(QByteArray(32, '\0'));
    EXPECT_FALSE(THexContainer::SaveStreamToFile(stream, filePath("no/such/folder/out.hex")));
    EXPECT_FALSE(THexContainer::SaveStreamToFile(stream, filePath("")));

    // An existing file is replaced.
    writeFile("old.hex", QByteArray(100000, 'x'));
    ASSERT_TRUE(THexContainer::SaveStreamToFile(stream, filePath("old.hex")));
    EXPECT_EQ(readFile(filePath("old.hex")).size(), 15 + 2 + 2 * 45 + 13);
}
