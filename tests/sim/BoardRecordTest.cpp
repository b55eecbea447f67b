// A board left serving for hours keeps only its recent exchanges, and still
// counts every one it served.
#include "BoardSimulator.h"
#include "SerialPort.h"

#include <gtest/gtest.h>

namespace {
constexpr std::uint16_t GetInfo = 0x3001;
constexpr std::uint16_t ResetTarget = 0x30AC;  // the shortest exchange: one status byte back
constexpr int InfoAnswerSize = 256;

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
    host.setPortName(board.portPath());
    host.open();
    constexpr int Beyond = 10;
    const int served = int(BoardSimulator::RecordedExchanges) + Beyond;
    // The first and the last exchange stand out from those between.
    exchange(host, GetInfo, InfoAnswerSize);
    for (int i = 2; i < served; ++i)
        exchange(host, ResetTarget, 1);
    exchange(host, GetInfo, InfoAnswerSize);
    ASSERT_TRUE(board.waitForExchanges(served, 10000));

    const std::vector<BoardSimulator::Exchange> record = board.exchanges();
    ASSERT_EQ(record.size(), BoardSimulator::RecordedExchanges);
    EXPECT_EQ(record.front().command, ResetTarget);
    EXPECT_EQ(record.back().command, GetInfo);
    EXPECT_EQ(record.back().answered.size(), InfoAnswerSize);
    EXPECT_TRUE(board.violations().isEmpty()) << board.violations().join('\n').toStdString();
}
