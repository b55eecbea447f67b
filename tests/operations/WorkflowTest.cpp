// The manual memory operations, the fuse and lock operations and an unplugged
// board, end to end: the log as the user reads it, the board's memory and
// fuses, and the file saved from a read.
#include "OperationsFixture.h"

#include "HexContainer.h"
#include "ProgUSB.h"
#include "TestEnvironment.h"

#include <QTemporaryDir>

namespace {
const QStringList Opening = {"", "T3001", "T3010", "T3013 4 MHz (250ns)", "T3040: 1E950F"};
const QStringList Closing = {"T3011", "T3003", ""};

struct MemoryCase {
    const char *name;
    BoardOperation operation;
    bool flash;
    QStringList lines;  // between the opening and the closing lines
    QString trace;
};

const MemoryCase memoryCases[] = {
    {"WriteFlash", BoardOperation::WriteFlash, true, {"T3012", "T3051", "T3076", "T3050", "T3072"},
     "info enter sig erase wflash*2 rflash*256 leave"},
    {"VerifyFlash", BoardOperation::VerifyFlash, true, {"T3050", "T3072"}, "info enter sig rflash*256 leave"},
    {"ReadFlash", BoardOperation::ReadFlash, true, {"T3052", "T3074"}, "info enter sig rflash*256 leave"},
    {"WriteEeprom", BoardOperation::WriteEeprom, false, {"T3055", "T3070", "T3053", "T3072"},
     "info enter sig weep*2 reep*256 leave"},
    {"VerifyEeprom", BoardOperation::VerifyEeprom, false, {"T3053", "T3072"}, "info enter sig reep*256 leave"},
    {"ReadEeprom", BoardOperation::ReadEeprom, false, {"T3054", "T3074"}, "info enter sig reep*256 leave"},
};
}

class MemoryWorkflow : public OperationsTest, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(MemoryWorkflow, RunsInTheFrameAndLeavesTheBoardAsAsked)
{
    const MemoryCase &c = GetParam();
    const QByteArray data = c.flash ? flashData : eepromData;
    const bool writes = c.operation == BoardOperation::WriteFlash || c.operation == BoardOperation::WriteEeprom;
    if (!writes)
        sim->setMemory(c.flash, 0, data);
    snapshot.eraseBeforeWrite = snapshot.verifyFlashAfterWrite = snapshot.verifyEepromAfterWrite = true;
    QTemporaryDir folder;
    prompts.fileName = folder.filePath(QStringLiteral("read.hex"));

    EXPECT_TRUE(run(c.operation).ok);
    EXPECT_EQ(logTexts(), Opening + c.lines + Closing);
    EXPECT_EQ(trace(), c.trace);
    EXPECT_EQ(sim->memory(c.flash).left(data.size()), data);
    if (c.operation == BoardOperation::ReadFlash || c.operation == BoardOperation::ReadEeprom) {
        EXPECT_EQ(prompts.asked, (QStringList {c.flash ? "save: T32|T14|hex" : "save: T33|T15|eep"}));
        THexContainer saved;
        saved.LoadFromFile(prompts.fileName);
        const QByteArray memory = sim->memory(c.flash);
        QByteArray bytes(memory.size(), 0);
        saved.GetBytes(reinterpret_cast<std::uint8_t *>(bytes.data()), int(bytes.size()), 0);
        EXPECT_EQ(bytes, memory);
    }
    expectNoViolations();
}

INSTANTIATE_TEST_SUITE_P(Operations, MemoryWorkflow, ::testing::ValuesIn(memoryCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(OperationsTest, SavingAReadAsksAsTheUserAnswers)
{
    QTemporaryDir folder;
    const QString existing = folder.filePath(QStringLiteral("old.eep"));
    writeFile(existing, "keep");
    prompts.fileName = existing;
    prompts.overwrite = false;
    run(BoardOperation::ReadEeprom);
    EXPECT_EQ(readFile(existing), "keep");
    prompts.fileName.clear();
    run(BoardOperation::ReadEeprom);
    sim->addFault({CMD_READ_EEPROM, BoardSimulator::Phase::Status, BoardSimulator::Action::Value, 255});
    run(BoardOperation::ReadEeprom);
    EXPECT_EQ(prompts.asked, (QStringList {"save: T33|T15|eep", "overwrite: old.eepT78", "save: T33|T15|eep",
                                           "error: T35"}));
}

TEST_F(OperationsTest, FusesAndLockReadIntoTextsForTheEdits)
{
    snapshot.modul->FuseHigh6 = QStringLiteral("JTAGEN");
    for (int bit = 0; bit < 8; ++bit)
        snapshot.modul->BitName(TModul::ExtFuse, bit) = QStringLiteral("1");
    sim->setFuse(BoardSimulator::LockByte, 0x3C);
    const FuseReadResult fuses = ReadFuses(snapshot, report());
    const LockReadResult lock = ReadLock(snapshot, report());
    EXPECT_TRUE(fuses.board.ok && lock.board.ok);
    EXPECT_EQ(fuses.low, "62");
    EXPECT_EQ(fuses.high, "D9");
    EXPECT_FALSE(fuses.ext);
    EXPECT_TRUE(fuses.jtagenOff && !fuses.spienOff);
    EXPECT_EQ(lock.lock, "3C");
    EXPECT_EQ(trace(), "info enter sig rfuse*2 leave info enter sig rfuse leave");
    EXPECT_EQ(window.log[0], line(clBlue, 3058));
    EXPECT_EQ(window.log[6], line(clSeaGreen, "T3100 Fusebyte Low: 0x62"));
    EXPECT_EQ(window.log[7], line(clSeaGreen, "T3100 Fusebyte High: 0xD9"));
}

TEST_F(OperationsTest, FuseWritesAreConfirmedFirstAndReadBack)
{
    snapshot.modul->FuseHigh5 = QStringLiteral("SPIEN");
    snapshot.fuses.high = QStringLiteral("FF");
    sim->setFuseStuckBits(BoardSimulator::HighFuse, 0x01, 0);
    EXPECT_FALSE(WriteFuses(snapshot, report()).ok);
    EXPECT_EQ(prompts.asked, (QStringList {"warning: T5002|T5005|T5012\r\nT5014|T5009|T5011"}));
    EXPECT_EQ(sim->fuse(BoardSimulator::LowFuse), 0xE2);
    EXPECT_EQ(sim->fuse(BoardSimulator::HighFuse), 0xFE);
    EXPECT_EQ(exchangesOf(CMD_WRITE_FUSE)[0].request.left(10), bytes("aca00000500000 00e20a").replace(" ", ""));
    EXPECT_TRUE(window.log.contains(line(clGreen, "T3102 (0xE2)")));
    EXPECT_TRUE(window.log.contains(line(clRed, "T3103 (write 0xFF, read 0xFE)")));
}

TEST_F(OperationsTest, AnUnpluggedBoardLeavesAClosedPortAndTheNextRunWorks)
{
    sim->addFault({CMD_WRITE_FLASH, BoardSimulator::Phase::PageData, BoardSimulator::Action::HangUp, 50, 2});
    const BoardResult unplugged = run(BoardOperation::WriteFlash);
    EXPECT_FALSE(unplugged.ok);
    EXPECT_FALSE(unplugged.error.isEmpty());
    EXPECT_FALSE(ProgUSB->IsOpen());
    EXPECT_EQ(redLines(), 1);
    useBoard(target().FlashSize, target().EEPromSize);
    EXPECT_TRUE(run(BoardOperation::WriteFlash).ok);
    EXPECT_EQ(sim->memory(true).left(flashData.size()), flashData);
}

TEST_F(OperationsTest, NoSecondOperationStartsWhileOneRuns)
{
    BoardResult inner {true, {}};
    window.onLogLine = [&] {
        if (window.log.size() == 2)
            inner = run(BoardOperation::ChipErase);
    };
    EXPECT_TRUE(run(BoardOperation::CheckSignature).ok);
    EXPECT_FALSE(inner.ok);
    EXPECT_EQ(trace(), "info on enter sig leave");
}
