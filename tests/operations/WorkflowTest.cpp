// What the operations hand back or ask beyond the frame: a read saved as
// Intel HEX as the user answers, fuse and lock values travelling between the
// texts of the edits and the device, and no second operation while one runs.
#include "OperationsFixture.h"

#include "TestEnvironment.h"

TEST_F(OperationsTest, AReadIsSavedAsTheUserAnswers)
{
    QTemporaryDir folder;
    prompts.fileName = folder.filePath("read");
    const auto onDisk = [&] {  // the whole memory read, from the file as Intel HEX
        THexContainer saved;
        saved.LoadFromFile(prompts.fileName);
        QByteArray bytes(saved.count() * THexLine::Columns, 0);
        saved.GetBytes(reinterpret_cast<std::uint8_t *>(bytes.data()), int(bytes.size()), 0);
        return bytes;
    };
    sim->setMemory(true, 0, flashData);
    sim->setMemory(false, 0, eepromData);
    run(BoardOperation::ReadFlash);
    EXPECT_EQ(onDisk(), sim->memory(true));
    const QByteArray flashFile = readFile(prompts.fileName);
    prompts.overwrite = false;
    run(BoardOperation::ReadEeprom);  // No to overwriting the file
    EXPECT_EQ(readFile(prompts.fileName), flashFile);
    prompts.overwrite = true;
    run(BoardOperation::ReadEeprom);  // Yes
    EXPECT_EQ(onDisk(), sim->memory(false));
    sim->addFault({CMD_READ_EEPROM, BoardSimulator::Phase::Status, BoardSimulator::Action::Value, 255});
    run(BoardOperation::ReadEeprom);  // a failed read
    const QStringList eepromSaved = {"save: T33|T15|eep", "overwrite: readT78"};
    EXPECT_EQ(prompts.asked, QStringList {"save: T32|T14|hex"} + eepromSaved + eepromSaved << "error: T35");
}

TEST_F(OperationsTest, FuseAndLockValuesTravelAsTheEditsHoldThem)
{
    snapshot.modul->FuseHigh5 = "SPIEN";
    snapshot.modul->FuseHigh6 = "JTAGEN";
    for (int bit = 0; bit < 8; ++bit)
        snapshot.modul->BitName(TModul::ExtFuse, bit) = "1";  // no extended byte
    sim->setFuse(BoardSimulator::LockByte, 0x3C);
    const FuseReadResult fuses = ReadFuses(snapshot, report());
    const LockReadResult lock = ReadLock(snapshot, report());
    EXPECT_EQ(std::tuple(fuses.low, fuses.high, fuses.ext, lock.lock), std::tuple("62", "D9", std::nullopt, "3C"));
    EXPECT_TRUE(fuses.board.ok && lock.board.ok && fuses.jtagenOff && !fuses.spienOff);
    EXPECT_EQ(window.log.value(6), line(clSeaGreen, "T3100 Fusebyte Low: 0x62"));
    snapshot.fuses.high = "FF";  // SPIEN and JTAGEN unprogrammed
    sim->setFuseStuckBits(BoardSimulator::HighFuse, 0x01, 0);
    EXPECT_FALSE(WriteFuses(snapshot, report()).ok);
    EXPECT_EQ(prompts.asked, QStringList {"warning: T5003|T5004|T5012\r\nT5014|T5009|T5011"});
    EXPECT_EQ(trace(), "info enter sig rfuse*2 leave info enter sig rfuse leave info enter sig wfuse*2 leave off");
    EXPECT_EQ(requestsOf(CMD_WRITE_FUSE).substr(0, 20), "aca0000050000000e20a");
    EXPECT_TRUE(window.log.contains(line(clGreen, "T3102 (0xE2)")));
    EXPECT_TRUE(window.log.contains(line(clRed, "T3103 (write 0xFF, read 0xFE)")));
}

TEST_F(OperationsTest, NoSecondOperationStartsWhileOneRuns)
{
    BoardResult inner {true, {}};
    window.onLogLine = [&] {
        if (window.log.size() == 2)  // as a click handled between two log lines
            inner = run(BoardOperation::ChipErase);
    };
    EXPECT_TRUE(run(BoardOperation::CheckSignature).ok);
    EXPECT_FALSE(inner.ok);
    EXPECT_EQ(trace(), "info on enter sig leave");
}
