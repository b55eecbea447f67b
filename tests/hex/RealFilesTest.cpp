// Files that no one here wrote by hand: Intel HEX made by avr-objcopy from
// programs built with avr-gcc, and by srec_cat with extended segment and
// linear addresses. srec_cat's binary dump of the same file is the reference.
// Skipped where those tools are not installed.
#include "HexFixture.h"
#include "MemoryStream.h"

#include <QProcess>
#include <QStandardPaths>

namespace {
bool haveTools(std::initializer_list<const char *> tools)
{
    for (const char *tool : tools)
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return false;
    return true;
}

const char program328[] = R"(
#include <avr/eeprom.h>
#include <avr/io.h>
#include <avr/pgmspace.h>
static const char message[] PROGMEM = "Programmed by the development board";
uint8_t EEMEM settings[24] = {1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 144, 233, 0xff, 0xFF, 0, 7};
int main(void)
{
    DDRB = 0xFF;
    for (;;)
        PORTB = pgm_read_byte(&message[PINB & 31]) ^ eeprom_read_byte(&settings[PINC & 15]);
}
)";

// Three 30000-byte tables push the code past 64 KiB, so that the file needs
// extended addresses.
const char program2560[] = R"(
#include <avr/io.h>
#include <avr/pgmspace.h>
#define TABLE(n, v) const uint8_t table##n[30000] PROGMEM = {[0 ... 29999] = v, [0] = n, [29999] = 0x5A};
TABLE(1, 0x11)
TABLE(2, 0x22)
TABLE(3, 0x33)
int main(void)
{
    DDRA = 0xFF;
    for (;;)
        PORTA = pgm_read_byte_far(pgm_get_far_address(table1) + PINB)
              ^ pgm_read_byte_far(pgm_get_far_address(table2) + PINC)
              ^ pgm_read_byte_far(pgm_get_far_address(table3) + PIND);
}
)";
}

class RealFiles : public HexFixture {
protected:
    void run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.setWorkingDirectory(filePath(""));
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForFinished(120000)) << program.toStdString();
        const QByteArray errors = process.readAllStandardError();
        ASSERT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << errors.toStdString();
        EXPECT_TRUE(errors.trimmed().isEmpty()) << program.toStdString() << ": " << errors.toStdString();
    }

    // The bytes srec_cat reads from an Intel HEX file, holes filled with FF,
    // from address 0 to the last byte it holds.
    QByteArray referenceBytes(const QString &hexFile)
    {
        run("srec_cat", {hexFile, "-intel", "-fill", "0xFF", "0", "-maximum-address", hexFile, "-intel", "-o",
                         hexFile + ".bin", "-binary"});
        return readFile(hexFile + ".bin");
    }

    // Loads the file and checks that the image holds exactly srec_cat's bytes.
    void expectSameBytes(const QString &hexFile)
    {
        const QByteArray expected = referenceBytes(hexFile);
        ASSERT_FALSE(expected.isEmpty());
        THexContainer image;
        image.LoadFromFile(hexFile);
        ASSERT_EQ(image.count(), (expected.size() + 15) / 16) << hexFile.toStdString();
        QByteArray actual(image.count() * 16, '\0');
        image.GetBytes(reinterpret_cast<std::uint8_t *>(actual.data()), int(actual.size()), 0);
        EXPECT_EQ(actual.left(expected.size()), expected) << hexFile.toStdString();
        EXPECT_EQ(actual.mid(expected.size()), QByteArray(actual.size() - expected.size(), char(0xFF)));
    }

    // Builds name.hex, and name.eep when the program has EEPROM data.
    void buildProgram(const char *mcu, const char *source, const QString &name, bool eeprom)
    {
        writeFile(name + ".c", source);
        run("avr-gcc", {QString("-mmcu=") + mcu, "-Os", "-o", name + ".elf", name + ".c"});
        run("avr-objcopy", {"-O", "ihex", "-R", ".eeprom", name + ".elf", name + ".hex"});
        if (eeprom)
            run("avr-objcopy", {"-O", "ihex", "-j", ".eeprom", "--change-section-lma", ".eeprom=0",
                                name + ".elf", name + ".eep"});
    }
};

TEST_F(RealFiles, ProgramsBuiltWithAvrGcc)
{
    if (!haveTools({"avr-gcc", "avr-objcopy", "srec_cat"}))
        GTEST_SKIP() << "avr-gcc, avr-objcopy or srec_cat is not installed";
    buildProgram("atmega328p", program328, "m328", true);
    expectSameBytes(filePath("m328.hex"));
    expectSameBytes(filePath("m328.eep"));

    buildProgram("atmega2560", program2560, "m2560", false);
    const QByteArray text = readFile(filePath("m2560.hex"));
    EXPECT_TRUE(text.contains(":02000002") || text.contains(":02000004")) << "no extended address records";
    expectSameBytes(filePath("m2560.hex"));
    THexContainer image;
    image.LoadFromFile(filePath("m2560.hex"));
    EXPECT_GT(image.count() * 16, 90000);
}

TEST_F(RealFiles, SrecCatWithSegmentAndLinearAddresses)
{
    if (!haveTools({"srec_cat"}))
        GTEST_SKIP() << "srec_cat is not installed";
    writeFile("first.bin", randomBytes(70000, 2560));
    writeFile("second.bin", randomBytes(50001, 2561));
    // Odd offsets make records straddle image lines; the gap leaves holes.
    const QStringList input = {"first.bin", "-binary", "-offset", "0x107", "second.bin", "-binary", "-offset",
                               "0x2F0F3"};
    run("srec_cat", input + QStringList{"-o", "segment.hex", "-intel", "-address-length=3"});
    run("srec_cat", input + QStringList{"-o", "linear.hex", "-intel"});
    EXPECT_TRUE(readFile(filePath("segment.hex")).contains(":02000002"));
    EXPECT_TRUE(readFile(filePath("linear.hex")).contains(":02000004"));
    expectSameBytes(filePath("segment.hex"));
    expectSameBytes(filePath("linear.hex"));
}

TEST_F(RealFiles, SrecCatReadsTheWritersFiles)
{
    if (!haveTools({"srec_cat"}))
        GTEST_SKIP() << "srec_cat is not installed";
    for (const qsizetype size : {qsizetype(0x40000), qsizetype(0x110000)}) {
        const QByteArray data = randomBytes(size, unsigned(size));
        TMemoryStream stream;
        stream.write(data.constData(), int(data.size()));
        ASSERT_TRUE(THexContainer::SaveStreamToFile(stream, filePath("written.hex")));
        run("srec_cat", {"written.hex", "-intel", "-o", "written.bin", "-binary"});
        EXPECT_EQ(readFile(filePath("written.bin")), data) << size;
    }
}
