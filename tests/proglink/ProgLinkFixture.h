#pragma once

// Every programmer test talks to a fresh board simulator through a real
// pseudo-terminal, with a recorder in place of the main window and texts
// from the test language ("T<id>"), so that every log line is asserted exactly.
#include "BoardSimulator.h"
#include "HexContainer.h"
#include "Modul.h"
#include "Recorders.h"
#include "TestImages.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

inline QString T(int id) { return QStringLiteral("T%1").arg(id); }
inline LogLine line(TColor colour, const QString &text, TFontStyles styles = 0) { return {styles, colour, text}; }
inline LogLine line(TColor colour, int id, TFontStyles styles = 0) { return {styles, colour, T(id)}; }
inline QByteArray bytes(const char *hex) { return QByteArray::fromHex(hex); }

// An image of `size` bytes holding these blocks by address, empty elsewhere.
inline THexContainer imageOf(int size, const QMap<int, QByteArray> &blocks)
{
    THexContainer image;
    makeImage(image, size, blocks);
    return image;
}

// A definition of the board's target: 32 KiB flash in 128-byte pages,
// 1 KiB EEPROM in 4-byte pages, signature 1E950F.
TModul target();

class ProgLinkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the simulator by one with other memory sizes.
    void useBoard(int flashSize, int eepromSize);
    // Opens the link and forgets its opening lines.
    void open();
    // The same, with the board's target already in programming mode.
    void openInProgrammingMode();
    // The routine's log callback, recording into `lines`.
    TLogProc logger() { return recordInto(lines); }

    // The request blocks of one command once the board is idle, in hex, "-"
    // for a command without one: "abcd4da5 08099c40".
    std::string requestsOf(std::uint16_t command) const;
    void expectNoViolations() const;

    std::unique_ptr<BoardSimulator> sim;
    RecordingMainWindow window;  // the main window's SPI clock list, its first entry chosen
    QList<LogLine> lines;
    QList<int> pauses;  // every pause the routines asked for, in ms
};
