// Reading Intel HEX into an image: placement, record types, trimming, errors.
#include "HexFixture.h"
#include "RecordLineReader.h"

#include <QDir>
#include <QScopeGuard>
#include <cstdlib>
#include <gmock/gmock.h>
#include <typeinfo>
#include <unistd.h>

// Allocations of failFrom bytes or more fail while it is not 0.
static std::size_t failFrom = 0;
void *operator new(std::size_t size)
{
    void *memory = failFrom && size >= failFrom ? nullptr : std::malloc(size ? size : 1);
    return memory ? memory : throw std::bad_alloc();
}
void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }

namespace {
QByteArray crlf(std::initializer_list<const char *> lines)
{
    QByteArray text;
    for (const char *line : lines)
        text += QByteArray(line) + "\r\n";
    return text;
}

QString ff(int bytes)
{
    return QString("FF").repeated(bytes);
}

std::vector<std::uint8_t> bytes(const THexContainer &image, int count, int start, bool *hasData = nullptr)
{
    std::vector<std::uint8_t> buffer(size_t(count), 0x5A);
    const bool result = image.GetBytes(buffer.data(), count, start);
    if (hasData)
        *hasData = result;
    return buffer;
}

const int Last = THexContainer::MaxLines - 1;
const char *const Ramp16 = ":10000000000102030405060708090A0B0C0D0E0F78";
const QString Ramp16Data = "000102030405060708090A0B0C0D0E0F";
const char *const Beyond = ":0100000042BD";  // one byte at the base of the address record before it

// Bytes the calling thread has read so far from files, pipes and /proc alike; -1 when untold.
qint64 BytesReadByThisThread()
{
    QFile counters("/proc/thread-self/io");
    if (!counters.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : counters.readAll().split('\n'))
        if (line.startsWith("rchar: "))
            return line.mid(7).toLongLong();
    return -1;
}

// A file that reads: the number of image lines it makes, and some of those
// lines with the pairs they store.
const struct {
    const char *name;
    QByteArray text;
    int count;
    std::vector<std::pair<int, QString>> lines;
} readCases[] = {
    {"WholeLine", crlf({Ramp16, ":00000001FF"}), 1, {{0, Ramp16Data}}},
    {"PartOfALinePaddedWithFF", crlf({":0400080001020304EA"}), 1, {{0, ff(8) + "01020304"}}},
    {"RecordRunsOnToTheNextLine",
     crlf({":20000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F00"}), 2,
     {{0, Ramp16Data}, {1, "101112131415161718191A1B1C1D1E1F"}}},
    {"RecordsInDescendingOrder", crlf({":10001000101112131415161718191A1B1C1D1E1F68", Ramp16}), 2,
     {{0, Ramp16Data}, {1, "101112131415161718191A1B1C1D1E1F"}}},
    {"LaterRecordOverwrites", crlf({":040000001122334452", ":02000200AABB97"}), 1, {{0, "1122AABB"}}},
    {"RecordStraddlesTwoLines", crlf({":04000E0001020304E4"}), 2, {{0, ff(14) + "0102"}, {1, "0304"}}},
    {"LinesBeforeTheLastDataAreUsedEvenWhenEmpty", crlf({":01003000AA25"}), 4,
     {{0, ""}, {1, ""}, {2, ""}, {3, "AA"}}},
    {"ExtendedSegmentAddress", crlf({":020000021000EC", Beyond}), 4097, {{4096, "42"}}},
    {"ExtendedLinearAddress", crlf({":020000040001F9", Beyond}), 4097, {{4096, "42"}}},
    {"BaseHoldsUntilTheNextAddressRecord",
     crlf({":020000040001F9", Beyond, ":0100100043AC", ":020000040000FA", ":0100000044BB"}), 4098,
     {{0, "44"}, {4097, "43"}}},
    // A record is not wrapped at the end of its 64 KiB segment: it runs on linearly.
    {"SegmentRecordRunsPastItsSegment", crlf({":020000021000EC", ":10FFF800000102030405060708090A0B0C0D0E0F00"}),
     0x2001, {{0x1FFF, ff(8) + "0001020304050607"}, {0x2000, "08090A0B0C0D0E0F"}}},
    {"LastLineOfTheImage", crlf({":020000040040BA", Beyond}), THexContainer::MaxLines, {{Last, "42"}}},
    {"RestOfARecordPastTheLastLineIsDropped", crlf({":020000040040BA", ":1000080000112233445566778899AABBCCDDEEFFF0"}),
     THexContainer::MaxLines, {{Last, ff(8) + "0011223344556677"}}},
    // Checksums and line lengths are not checked: the count decides.
    {"CountTakesTheChecksumAsData", crlf({":050000000102030400"}), 1, {{0, "0102030400"}}},
    {"CountCutsALongerLine", crlf({":02000000AABB00CCDD"}), 1, {{0, "AABB"}}},
    {"LoneLastCharacterIsNoByte", crlf({":04000000AABBC"}), 1, {{0, "AABB"}}},
    {"OtherLinesAndRecordsAfterTheEnd", "hello\r\n\r\n:02000000AABB99\r\n:00000001FF\r\n:02000200CCDD00\r\n", 1,
     {{0, "AABB"}}},
    {"LinesEndInCR", ":02000000AABB99\r:02001000CCDD55\r:00000001FF", 2, {{0, "AABB"}, {1, "CCDD"}}},
    {"LinesEndInLF", ":02000000AABB99\n:02001000CCDD55\n:00000001FF", 2, {{0, "AABB"}, {1, "CCDD"}}},
    {"ByteOrderMarkBeforeTheFirstRecord", "\xEF\xBB\xBF:02000000AABB99\r\n", 1, {{0, "AABB"}}},
    {"RecordTypes3And5AndLinesWithoutDataChangeNothing",
     crlf({":", ":10000000", ":0400000300003800C1", ":04000005000000CD2A", ":00000001FF"}), 0, {}},
    {"CaseIsKept", crlf({":04000000deadbeefC4", ":02001000ffff00"}), 2, {{0, "deadbeef"}, {1, "ffff"}}},
    // Data digits of a data record are converted only when the byte is asked for.
    {"DataDigitsAreKeptUnchecked", crlf({":030000000ZG1AA00"}), 1, {{0, "0ZG1AA"}}},
    // The count of a record that is not converted does not matter.
    {"CountOfAnIgnoredRecordIsNotConverted", crlf({":ZZ000003", ":00000001FF"}), 0, {}},
    // Records without data make an empty image: the file is still Intel HEX.
    {"OnlyTheEndRecord", crlf({":00000001FF"}), 0, {}},
    // Lines of any length, read a block at a time: the longest record is read whole.
    {"RecordAndLineEndAcrossBlocks",
     QByteArray(RecordLineReader::BlockSize - 1, 0) + "\r\n" + QByteArray(RecordLineReader::BlockSize - 6, 'x') +
         "\n:02000000AABB99" + QByteArray(2 * RecordLineReader::BlockSize, 'x') + "\r:0100100042AD",
     2, {{0, "AABB"}, {1, "42"}}},
    {"LongestRecord", ":FF000000" + QByteArray(506, '0') + "ABCD" + QByteArray(RecordLineReader::BlockSize, '1'), 16,
     {{15, QString(26, '0') + "ABCD"}}},
};

// A file that is refused, and the error it raises.
const struct {
    const char *name;
    QByteArray text;
    const std::type_info *type;
    const char *message;
} refusedCases[] = {
    {"JustPastTheImage", crlf({":020000040040BA", ":0100100042AD"}), &typeid(EListError), "T16"},
    // Bases that would wrap to 0 or turn negative in 32 bits, or saturate.
    {"LinearBaseWrapping", crlf({":0400000400010000F7", Beyond}), &typeid(EListError), "T16"},
    {"SegmentBaseWrapping", crlf({":0400000210000000EA", Beyond}), &typeid(EListError), "T16"},
    {"NegativeBase", crlf({":0200000480007A", Beyond}), &typeid(EListError), "T16"},
    {"SaturatingBase", crlf({":0A000004FFFFFFFFFFFFFFFFFFFFF6", Beyond}), &typeid(EListError), "T16"},
    // Count, offset and type, and the data of address records, are checked at once.
    {"BadCount", crlf({":1G000000"}), &typeid(EConvertError), "No Hex-Number"},
    {"BadOffset", crlf({":01000G0042"}), &typeid(EConvertError), "No Hex-Number"},
    {"BadType", crlf({":0100000G42"}), &typeid(EConvertError), "No Hex-Number"},
    {"BadLinearAddress", crlf({":020000040X00"}), &typeid(EConvertError), "No Hex-Number"},
    {"BadSegmentAddress", crlf({":0200000200Z0"}), &typeid(EConvertError), "No Hex-Number"},
};
}

using HexRead = HexFixture;

TEST_F(HexRead, FilesPlaceEveryByteByItsAddress)
{
    for (const auto &row : readCases) {
        SCOPED_TRACE(row.name);
        THexContainer image;
        load(image, row.text);
        EXPECT_TRUE(image.ImageLoaded && cursor.busy == 0);
        // On the clock of the reload check.
        EXPECT_EQ(image.ImageFileDate, THexContainer::FileTime(filePath("image.hex")));
        ASSERT_EQ(image.count(), row.count);
        for (const auto &[index, data] : row.lines) {
            const THexLine &line = image.Items(index);
            EXPECT_EQ(std::tuple(line.LineData(), line.ByteCount(), line.LineUsed(), lineText(line)),
                      std::tuple(data, QString::number(data.size() / 2, 16).toUpper(), true,
                                 data + ff(16 - int(data.size()) / 2))) << index;
        }
    }
}

TEST_F(HexRead, RefusedFilesRaiseAndLeaveNoImage)
{
    for (const auto &row : refusedCases) {
        SCOPED_TRACE(row.name);
        THexContainer image;
        load(image, crlf({Ramp16}));
        cursor.shown = 0;
        try {
            load(image, row.text);
            ADD_FAILURE() << "accepted";
        } catch (const Exception &error) {
            EXPECT_EQ(typeid(error), *row.type);
            EXPECT_EQ(error.message(), row.message);
        }
        EXPECT_EQ(image.count(), 0);
        EXPECT_FALSE(image.ImageLoaded);
        EXPECT_EQ(cursor.shown, 1);
        EXPECT_EQ(cursor.busy, 0);
    }
}

TEST_F(HexRead, UnreadableFileAndExhaustedMemoryAreReadErrorsNamingTheFile)
{
    THexContainer image;
    const QString hugeImage = writeFile("huge.hex", crlf({":020000040040BA", Beyond}));
    // The test's own memory opens and fails at the first read; the reader only
    // reads, and nothing can be made or replaced in /proc whatever it did.
    for (const QString &file : {QStringLiteral("/proc/self/mem"), hugeImage}) {
        QString message;
        try {
            const auto restore = qScopeGuard([] { failFrom = 0; });
            failFrom = 1 << 20;  // the image's lines, not the file's, when one line goes past it
            image.LoadFromFile(file);
        } catch (const EReadError &error) {
            message = error.message();
        }
        EXPECT_TRUE(message.startsWith("Datei " + file + " kann nicht gelesen werden. ")) << message.toStdString();
        EXPECT_TRUE(image.count() == 0 && !image.ImageLoaded);
    }
}

// A file without a single line that starts with ':' is of another kind,
// whatever it holds; read as an empty image it would erase the chip.
TEST_F(HexRead, AFileWithoutAnyRecordIsNoIntelHexFile)
{
    const struct {
        const char *name;
        QByteArray text;
    } rows[] = {
        {"Empty", ""},
        {"ByteOrderMarkAlone", "\xEF\xBB\xBF"},
        {"TextWithAnIndentedRecord", "hello\r\n :0100000042BD\r\n"},
        // Zero bytes are one long line, read a block at a time.
        {"ZeroBytes", QByteArray(3 * RecordLineReader::BlockSize, 0)},
        {"Elf", QByteArray("\x7F" "ELF\x02\x01\x01\0\0\r\n\0", 12) + QByteArray(100, 0) + "GCC: (Debian) 12.2.0\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        THexContainer image;
        load(image, crlf({Ramp16}));
        EXPECT_THAT([&] { load(image, row.text); },
                    ::testing::ThrowsMessage<EReadError>(::testing::StrEq(
                        ("Datei " + filePath("image.hex") + " kann nicht gelesen werden. T7308").toStdString())));
        EXPECT_EQ(std::tuple(image.count(), image.ImageLoaded, cursor.busy), std::tuple(0, false, 0));
    }
}

// Holes stand for their zero bytes, in a line without a record and past the
// end of a long record, and are passed over unread: what the thread reads
// stays far below the file's size.
TEST_F(HexRead, HolesOfASparseFileAreZeroBytesAndAreNotRead)
{
    QFile file(filePath("sparse.hex"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const qint64 hole = 64 << 20;
    for (const QByteArray &data : {"\n:0100000042BD" + QByteArray(600, 'y'), QByteArray("\r:0100100043AC")})
        ASSERT_TRUE(file.seek(file.size() + hole) && file.write(data) == data.size());
    ASSERT_TRUE(file.resize(file.size() + hole) && file.flush());
    const bool holesTold = ::lseek(file.handle(), 0, SEEK_HOLE) < file.size();
    file.close();
    if (!holesTold)
        GTEST_SKIP() << "the file system does not tell where the holes of a file are";

    THexContainer image;
    const qint64 before = BytesReadByThisThread();
    ASSERT_GE(before, 0);
    image.LoadFromFile(file.fileName());
    const qint64 read = BytesReadByThisThread() - before;
    EXPECT_EQ(std::tuple(image.count(), image.Items(0).LineData(), image.Items(1).LineData()),
              std::tuple(2, "42", "43"));
    // A block where each piece of data lies, and the reads that find the end.
    EXPECT_LT(read, 8 * RecordLineReader::BlockSize) << "of " << file.size();
}

TEST_F(HexRead, GetBytesConvertsWhatItIsAskedFor)
{
    THexContainer image;
    load(image, crlf({":04000000deadbeefC4", ":02001000ffff00"}));
    bool hasData = false;
    EXPECT_EQ(bytes(image, 4, 0, &hasData), (std::vector<std::uint8_t>{0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_TRUE(hasData);
    // Lower-case "ff" is data; the padding is not.
    EXPECT_EQ(bytes(image, 2, 16, &hasData), (std::vector<std::uint8_t>{0xFF, 0xFF}));
    EXPECT_TRUE(hasData);
    EXPECT_EQ(bytes(image, 4, 4, &hasData), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(hasData);

    load(image, crlf({":030000000ZG1AA00"}));
    EXPECT_EQ(bytes(image, 1, 2), std::vector<std::uint8_t>{0xAA});
    EXPECT_THROW(bytes(image, 2, 0), EConvertError);

    // Nothing asked, or past the image.
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

TEST_F(HexRead, MissingFileKeepsNothing)
{
    THexContainer image;
    EXPECT_FALSE(image.ImageLoaded);
    EXPECT_TRUE(image.ImageMisfit);
    load(image, ":0100000042BD\r\n");
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
    // A folder's reason is a text of the program's own, in the chosen language.
    ASSERT_TRUE(QDir().mkdir(filePath("folder.hex")));
    EXPECT_THAT([&] { image.LoadFromFile(filePath("folder.hex")); },
                ::testing::ThrowsMessage<EFOpenError>(::testing::EndsWith(" kann nicht geöffnet werden. T7301")));
}

TEST_F(HexRead, ResizeGrowsWithUnusedLinesAndNeverDropsUsedOnes)
{
    THexContainer image;
    load(image, crlf({":00000001FF"}));
    EXPECT_EQ(image.count(), 0);
    image.Resize(1023);
    ASSERT_EQ(image.count(), 64);
    EXPECT_FALSE(image.Items(63).LineUsed());
    EXPECT_EQ(lineText(image.Items(63)), ff(16));
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
