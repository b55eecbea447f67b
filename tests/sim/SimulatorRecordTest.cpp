// A simulator left serving for hours keeps only its recent exchanges and
// bytes, and still counts every one it served.
#include "BoardSimulator.h"
#include "ModuleSimulator.h"
#include "SerialPort.h"

#include <gtest/gtest.h>

namespace {
// Past each record's bound.
constexpr int Beyond = 10;
// A bound for a busy machine, not a measure: the module takes what the host sends byte by byte.
constexpr int TakenInMs = 60000;

constexpr std::uint16_t GetInfo = 0x3001;
constexpr int InfoAnswerSize = 256;
constexpr std::uint16_t ResetTarget = 0x30AC;  // the shortest exchange: one status byte back
constexpr int IdentificationSize = 256;        // the module's answer to "IS"

void openHost(SerialPort &host, const QString &port)
{
    host.setPortName(port);
    host.setWriteTimeout(TakenInMs);
    host.open();
}

// Sends the command and takes its whole answer.
void exchange(SerialPort &host, std::uint16_t command, int answerSize)
{
    const char request[] = {char(command >> 8), char(command & 0xFF)};
    ASSERT_EQ(host.write(request, sizeof request), int(sizeof request));
    QByteArray answer(answerSize, '\0');
    ASSERT_EQ(host.read(answer.data(), answerSize), answerSize) << "command " << command;
}
}

TEST(BoardRecord, KeepsOnlyTheMostRecentExchanges)
{
    BoardSimulator board;
    SerialPort host;
    openHost(host, board.portPath());
    const int served = int(BoardSimulator::RecordedExchanges) + Beyond;
    // The first and the last exchange stand out from those between.
    exchange(host, GetInfo, InfoAnswerSize);
    for (int i = 2; i < served; ++i)
        exchange(host, ResetTarget, 1);
    exchange(host, GetInfo, InfoAnswerSize);
    ASSERT_TRUE(board.waitForExchanges(served, TakenInMs));

    const std::vector<BoardSimulator::Exchange> record = board.exchanges();
    ASSERT_EQ(record.size(), BoardSimulator::RecordedExchanges);
    EXPECT_EQ(record.front().command, ResetTarget);
    EXPECT_EQ(record.back().command, GetInfo);
    EXPECT_EQ(record.back().answered.size(), InfoAnswerSize);
    EXPECT_TRUE(board.violations().isEmpty()) << board.violations().join('\n').toStdString();
}

TEST(ModuleRecord, KeepsOnlyTheMostRecentBytesAndExchanges)
{
    ModuleSimulator module({1024, 128, 512, 4});
    SerialPort host;
    openHost(host, module.portPath());

    // In its application the module takes every byte without a word.
    const QByteArray recent(ModuleSimulator::RecordedBytes, 'z'), sent = QByteArray(Beyond, 'a') + recent;
    ASSERT_EQ(host.write(sent.constData(), int(sent.size())), int(sent.size()));
    ASSERT_TRUE(module.waitForReceived(int(sent.size()), TakenInMs));
    EXPECT_TRUE(module.received() == recent) << "the record holds " << module.received().size() << " bytes";

    // In its bootloader, the first and the last exchange stand out from those between.
    module.pressReset();
    const QByteArray handshake("IS"), address("IA\0\0\0", 5);
    const int served = int(ModuleSimulator::RecordedExchanges) + Beyond;
    QByteArray answer(IdentificationSize, '\0');
    for (int i = 1; i <= served; ++i) {
        const bool standsOut = i == 1 || i == served;
        const QByteArray &request = standsOut ? handshake : address;
        const int answerSize = standsOut ? IdentificationSize : 1;  // a carriage return for the address
        ASSERT_EQ(host.write(request.constData(), int(request.size())), int(request.size()));
        ASSERT_EQ(host.read(answer.data(), answerSize), answerSize) << "exchange " << i;
    }
    const QList<ModuleSimulator::Exchange> record = module.exchanges();
    ASSERT_EQ(record.size(), ModuleSimulator::RecordedExchanges);
    EXPECT_EQ(record.front().request, address);
    EXPECT_EQ(record.back().request, handshake);
    EXPECT_TRUE(module.violations().isEmpty()) << module.violations().join('\n').toStdString();
}
