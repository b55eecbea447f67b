// Flash and EEPROM page by page: requests, page blocks, empty pages, the
// progress bar, verify mismatches, broken pages and an unplugged board.
#include "ProgLinkFixture.h"

#include "DeviceInterface.h"
#include "MemoryStream.h"
#include "ProgUSB.h"
#include "SerialPort.h"

#include <QElapsedTimer>
#include <algorithm>

using Phase = BoardSimulator::Phase;
using Action = BoardSimulator::Action;

namespace {
constexpr int FlashPages = 256;

QByteArray withCrc(const QByteArray &data)
{
    const std::uint16_t crc = BoardSimulator::crc16(data);
    return data + QByteArray(1, char(crc >> 8)) + QByteArray(1, char(crc & 0xFF));
}

// How many exchanges of this command the board has seen.
std::size_t countOf(const BoardSimulator &sim, std::uint16_t command)
{
    const auto commands = sim.commands();
    return std::size_t(std::count(commands.begin(), commands.end(), command));
}
}

class PageTransferTest : public ProgLinkTest {
protected:
    void SetUp() override
    {
        ProgLinkTest::SetUp();
        openInProgrammingMode();
    }

    TModul modul = target();
    RecordingProgressBar &bar = window.bar;
};

TEST_F(PageTransferTest, WritingSkipsEmptyPagesButStepsForEach)
{
    const THexContainer image = imageOf(modul.FlashSize, {{0, pattern(128, 1)}, {5 * 128, pattern(128, 2)}});
    // A late status shows a host that sends the page without waiting for it.
    sim->addFault({CMD_WRITE_FLASH, Phase::Status, Action::Delay, 200, 1});
    EXPECT_TRUE(WriteFlash(modul, image, bar, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3051), line(clGreen, 3076)}));
    EXPECT_EQ(requestsOf(CMD_WRITE_FLASH), "00400000000000004000" "0a" "e6f1 00400000014000004000" "0a" "3480");
    EXPECT_EQ(sim->exchanges().at(0).pageBlock, withCrc(pattern(128, 1)));
    EXPECT_EQ(sim->memory(true).mid(5 * 128, 128), pattern(128, 2));
    // Start, one step per page, back to the start.
    EXPECT_EQ(std::tuple(bar.maximum(), bar.positions.size(), bar.positions.at(FlashPages), bar.position()),
              std::tuple(FlashPages, 1 + FlashPages + 1, FlashPages, 0));
    expectNoViolations();
}

TEST_F(PageTransferTest, AnEmptyImageSendsNothingAndTheBarIsResetOnlyAfterTheClosingLine)
{
    QList<int> positionAtLine;
    const TLogProc log = [&](TFontStyles styles, TColor colour, const QString &text) {
        positionAtLine.append(bar.position());
        lines.append({styles, colour, text});
    };
    const THexContainer image = imageOf(modul.FlashSize, {});
    EXPECT_TRUE(WriteFlash(modul, image, bar, log));
    EXPECT_TRUE(sim->exchanges().empty());
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3051), line(clGreen, 3076)}));
    EXPECT_EQ(positionAtLine, (QList<int> {-1, FlashPages}));  // before the run, then at its end
    EXPECT_EQ(std::tuple(bar.positions.size(), bar.position()), std::tuple(1 + FlashPages + 1, 0));

    positionAtLine.clear();
    sim->addFault({CMD_READ_FLASH, Phase::Status, Action::Value, STATUS_DB_ERROR, 3});
    TMemoryStream stream;
    EXPECT_FALSE(ReadFlash(modul, stream, bar, false, log));
    EXPECT_EQ(positionAtLine, (QList<int> {3}));
    EXPECT_EQ(bar.position(), 0);
}

TEST_F(PageTransferTest, ReadingAsksForWordAddressesAndFillsTheStream)
{
    sim->setMemory(true, 0x1F80, pattern(128, 3));
    TMemoryStream stream;
    EXPECT_TRUE(ReadFlash(modul, stream, bar, true, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3052), line(clGreen, 3074)}));
    EXPECT_EQ(std::tuple(stream.size(), stream.position()), std::tuple(modul.FlashSize, modul.FlashSize));
    EXPECT_EQ(stream.data().mid(0x1F80, 128), pattern(128, 3));
    const auto reads = sim->exchanges();
    ASSERT_EQ(reads.size(), size_t(FlashPages));
    EXPECT_EQ(reads[63].request, bytes("0040" "00000fc0" "00004000" "2057"));
    expectNoViolations();
}

TEST_F(PageTransferTest, EepromPagesCarryByteAddressesAndTheirOwnCrc)
{
    const THexContainer image = imageOf(modul.EEPromSize, {{0, bytes("01020304")}, {0x120, bytes("0a0b0c0d")}});
    EXPECT_TRUE(WriteEeprom(modul, image, bar, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3055), line(clGreen, 3070)}));
    EXPECT_EQ(requestsOf(CMD_WRITE_EEPROM), "04000004000a4a15 04012004000ad70a");
    EXPECT_EQ(sim->exchanges().at(0).pageBlock, bytes("010203040313"));

    TMemoryStream stream;
    lines.clear();
    EXPECT_TRUE(ReadEeprom(modul, stream, bar, false, logger()));
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(stream.data().left(8) + stream.data().mid(0x120, 4), bytes("01020304" "ffffffff" "0a0b0c0d"));
    EXPECT_EQ(sim->exchanges().at(2 + 0x120 / 4).request, bytes("04012004" "00447e"));
    expectNoViolations();
}

TEST_F(PageTransferTest, ABrokenPageEndsTheReadWithThePagesBeforeIt)
{
    sim->addFault({CMD_READ_FLASH, Phase::Answer, Action::CorruptCrc, 0, 4});
    TMemoryStream stream;
    EXPECT_FALSE(ReadFlash(modul, stream, bar, false, logger()));
    EXPECT_EQ(stream.size(), 3 * 128);
    EXPECT_EQ(lines, (QList<LogLine> {line(clRed, 3075)}));
    EXPECT_EQ(bar.position(), 0);
    EXPECT_EQ(sim->exchanges().size(), 4u);
}

TEST_F(PageTransferTest, VerifyReportsTheFirstDifferenceOnly)
{
    const QByteArray data = pattern(3 * 128, 5);
    const THexContainer image = imageOf(modul.FlashSize, {{0, data}});
    QByteArray different = data;
    different[257] = char(0xAA);
    different[300] = char(0xAB);
    sim->setMemory(true, 0, different);
    const auto imageByte = std::uint8_t(data[257]);
    EXPECT_FALSE(VerifyFlash(modul, image, bar, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {
                         line(clBlack, 3050), line(clRed, 3073),
                         line(clGray, QStringLiteral("Address: 0x000101  Page: 2  Read Data: 0xAA  Hex File Data: 0x%1")
                                          .arg(QString::number(imageByte, 16).toUpper().rightJustified(2, QLatin1Char('0'))))}));
}

TEST_F(PageTransferTest, AnEepromMismatchIsReportedInBold)
{
    const THexContainer image = imageOf(modul.EEPromSize, {{8, bytes("55")}});
    sim->setCorruptOnRead(false, 8, 0xAA);
    EXPECT_FALSE(VerifyEeprom(modul, image, bar, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {
                         line(clBlack, 3053), line(clRed, 3073, fsBold),
                         line(clGray, QStringLiteral("Address: 0x000008  Page: 2  Read Data: 0xAA  Hex File Data: 0x55"), fsBold)}));
}

TEST_F(PageTransferTest, VerifyComparesEmptyPagesToo)
{
    const THexContainer image = imageOf(modul.FlashSize, {});
    sim->setMemory(true, 0, bytes("00"));
    EXPECT_FALSE(VerifyFlash(modul, image, bar, logger()));
    EXPECT_EQ(lines.value(2).text, QStringLiteral("Address: 0x000000  Page: 0  Read Data: 0x00  Hex File Data: 0xFF"));

    lines.clear();
    sim->setMemory(true, 0, bytes("ff"));
    EXPECT_TRUE(VerifyFlash(modul, image, bar, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3050), line(clGreen, 3072)}));
}

TEST_F(PageTransferTest, AVerifyWhoseReadFailsSaysOnlyThat)
{
    const THexContainer image = imageOf(modul.FlashSize, {});
    sim->addFault({CMD_READ_FLASH, Phase::Status, Action::Value, STATUS_DB_ERROR, 2});
    EXPECT_FALSE(VerifyFlash(modul, image, bar, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3050), line(clRed, 3075)}));
}

TEST_F(PageTransferTest, OnlyWholePagesAreTransferred)
{
    TMemoryStream stream;
    modul.FlashSize = 100;
    EXPECT_TRUE(ReadFlash(modul, stream, bar, true, logger()));
    EXPECT_EQ(bar.maximum(), 0);
    EXPECT_EQ(stream.size(), 0);
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3052), line(clGreen, 3074)}));
    EXPECT_TRUE(sim->exchanges().empty());

    sim->setAcceptAnySize(true);
    modul.FlashSize = 300;
    EXPECT_TRUE(ReadFlash(modul, stream, bar, false, logger()));
    EXPECT_EQ(stream.size(), 256);
    EXPECT_EQ(sim->exchanges().size(), 2u);
}

TEST_F(PageTransferTest, UnusablePageSizesAreRefusedBeforeAnythingIsSent)
{
    const THexContainer image = imageOf(modul.FlashSize, {{0, pattern(16, 1)}});
    TMemoryStream stream;
    for (const int pageSize : {0, -4, 129, 520}) {
        lines.clear();
        modul.FlashPageSize = pageSize;
        EXPECT_FALSE(WriteFlash(modul, image, bar, logger()));
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[1], line(clRed, pageSize == 129 ? 7305 : 7304));
        EXPECT_EQ(lines[2], line(clRed, 3077));
        EXPECT_FALSE(ReadFlash(modul, stream, bar, false, logger()));
    }
    modul = target();
    modul.EEPromPageSize = 256;
    lines.clear();
    EXPECT_FALSE(VerifyEeprom(modul, image, bar, logger()));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], line(clRed, 7306));
    EXPECT_EQ(lines.last(), line(clRed, 3075));
    EXPECT_TRUE(sim->exchanges().empty());
}

TEST_F(PageTransferTest, ThePageWaitFollowsTheSpiClock)
{
    for (const auto &[index, waitMs] : {std::pair {0, 2000}, {10, 12000}, {-1, 12000}, {11, 12000}}) {
        window.spiIndex = index;
        EXPECT_EQ(PageWaitTime(), waitMs) << index;
    }
}

TEST_F(PageTransferTest, AWithheldPageStatusFailsAfterThePageWait)
{
    window.spiIndex = 0;
    const THexContainer image = imageOf(modul.FlashSize, {{128, pattern(128, 1)}});
    sim->addFault({CMD_WRITE_FLASH, Phase::PageStatus, Action::Drop});
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(WriteFlash(modul, image, bar, logger()));
    EXPECT_GE(clock.elapsed(), 1900);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3051), line(clRed, 3077)}));
    EXPECT_EQ(bar.position(), 0);
}

TEST_F(PageTransferTest, ABoardThatFindsABadPageCrcFailsTheWrite)
{
    const THexContainer image = imageOf(modul.EEPromSize, {{0, bytes("01020304")}});
    sim->addFault({CMD_WRITE_EEPROM, Phase::PageStatus, Action::Value, STATUS_DB_CRC_ERROR});
    EXPECT_FALSE(WriteEeprom(modul, image, bar, logger()));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3055), line(clRed, 3071)}));
}

TEST_F(PageTransferTest, UnpluggingInTheMiddleOfAPageEndsInAnErrorAndAClosedLink)
{
    const THexContainer image = imageOf(modul.FlashSize, {{0, pattern(3 * 128, 1)}});
    sim->addFault({CMD_WRITE_FLASH, Phase::PageData, Action::HangUp, 50, 2});
    EXPECT_THROW(WriteFlash(modul, image, bar, logger()), SerialIoError);
    EXPECT_EQ(bar.position(), 0);
    EXPECT_FALSE(ProgUSB->IsOpen());
    ASSERT_FALSE(window.log.isEmpty());
    EXPECT_TRUE(window.log.last().text.startsWith(QStringLiteral("COM PORT ERROR: ")));
    EXPECT_FALSE(LeaveProgrammingMode(logger()));
    EXPECT_FALSE(SetTargetPower(false, logger()));
    EXPECT_EQ(sim->memory(true).left(128), pattern(128, 1));
}

TEST_F(PageTransferTest, AWholeFlashOf256KiBIsWrittenAndVerified)
{
    useBoard(0x40000, 4096);
    openInProgrammingMode();
    modul.FlashSize = 0x40000;
    modul.FlashPageSize = 256;
    const QByteArray low = pattern(0x8000, 9);
    const QByteArray high = pattern(0x1000, 4);
    const THexContainer image = imageOf(modul.FlashSize, {{0, low}, {0x3F000, high}});
    EXPECT_TRUE(WriteFlash(modul, image, bar, logger()));
    EXPECT_EQ(countOf(*sim, CMD_WRITE_FLASH), size_t((0x8000 + 0x1000) / 256));
    EXPECT_TRUE(VerifyFlash(modul, image, bar, logger()));
    EXPECT_EQ(countOf(*sim, CMD_READ_FLASH), size_t(0x40000 / 256));
    EXPECT_EQ(lines, (QList<LogLine> {line(clBlack, 3051), line(clGreen, 3076), line(clBlack, 3050), line(clGreen, 3072)}));
    EXPECT_EQ(sim->memory(true).mid(0x3F000, 0x1000), high);
    expectNoViolations();
}
