// Files that no one here wrote by hand: Intel HEX made by srec_cat with
// extended segment and linear addresses, with srec_cat's binary dump of the
// same file as the reference, and the writer's files read back by srec_cat.
// Skipped where srec_cat is not installed.
#include "HexFixture.h"
#include "MemoryStream.h"

#include <QProcess>
#include <QStandardPaths>
#include <random>

namespace {
QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(generator() & 0xFF);
    return bytes;
}
}

class RealFiles : public HexFixture {
protected:
    void SetUp() override
    {
        HexFixture::SetUp();
        if (QStandardPaths::findExecutable("srec_cat").isEmpty())
            GTEST_SKIP() << "srec_cat is not installed";
    }

    void srecCat(const QStringList &arguments)
    {
        QProcess process;
        process.setWorkingDirectory(filePath(""));
        process.start("srec_cat", arguments);
        ASSERT_TRUE(process.waitForFinished(120000));
        const QByteArray errors = process.readAllStandardError();
        ASSERT_EQ(process.exitCode(), 0) << errors.toStdString();
        EXPECT_TRUE(errors.trimmed().isEmpty()) << errors.toStdString();
    }

    // Loads the file and checks that the image holds exactly the bytes srec_cat
    // reads from it, holes filled with FF, from address 0 to its last byte.
    void expectSameBytes(const QString &hexFile)
    {
        srecCat({hexFile, "-intel", "-fill", "0xFF", "0", "-maximum-address", hexFile, "-intel", "-o",
                 hexFile + ".bin", "-binary"});
        const QByteArray expected = readFile(filePath(hexFile + ".bin"));
        ASSERT_FALSE(expected.isEmpty());
        THexContainer image;
        image.LoadFromFile(filePath(hexFile));
        ASSERT_EQ(image.count(), (expected.size() + 15) / 16) << hexFile.toStdString();
        QByteArray actual(image.count() * 16, '\0');
        image.GetBytes(reinterpret_cast<std::uint8_t *>(actual.data()), int(actual.size()), 0);
        EXPECT_EQ(actual.left(expected.size()), expected) << hexFile.toStdString();
        EXPECT_EQ(actual.mid(expected.size()), QByteArray(actual.size() - expected.size(), char(0xFF)));
    }
};

TEST_F(RealFiles, SrecCatWithSegmentAndLinearAddresses)
{
    writeFile("first.bin", randomBytes(70000, 2560));
    writeFile("second.bin", randomBytes(50001, 2561));
    // Odd offsets make records straddle image lines; the gap leaves holes.
    const QStringList input = {"first.bin", "-binary", "-offset", "0x107", "second.bin", "-binary", "-offset",
                               "0x2F0F3"};
    srecCat(input + QStringList{"-o", "segment.hex", "-intel", "-address-length=3"});
    srecCat(input + QStringList{"-o", "linear.hex", "-intel"});
    EXPECT_TRUE(readFile(filePath("segment.hex")).contains(":02000002"));
    EXPECT_TRUE(readFile(filePath("linear.hex")).contains(":02000004"));
    expectSameBytes("segment.hex");
    expectSameBytes("linear.hex");
}

TEST_F(RealFiles, SrecCatReadsTheWritersFiles)
{
    for (const qsizetype size : {qsizetype(0x40000), qsizetype(0x110000)}) {
        const QByteArray data = randomBytes(size, unsigned(size));
        TMemoryStream stream;
        stream.write(data.constData(), int(data.size()));
        ASSERT_TRUE(THexContainer::SaveStreamToFile(stream, filePath("written.hex")));
        srecCat({"written.hex", "-intel", "-o", "written.bin", "-binary"});
        EXPECT_EQ(readFile(filePath("written.bin")), data) << size;
    }
}
