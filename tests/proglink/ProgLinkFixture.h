#pragma once

// Every programmer test talks to a fresh board simulator through a real
// pseudo-terminal, with a recorder in place of the main window and texts
// from the test language ("T<id>"), so that every log line is asserted exactly.
#include "BoardSimulator.h"
#include "LogTypes.h"
#include "MainWindowLink.h"
#include "Modul.h"
#include "ProgressBar.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>
#include <ostream>

class THexContainer;

struct LogLine {
    TFontStyles styles = 0;
    TColor colour = clBlack;
    QString text;
    bool operator==(const LogLine &other) const = default;
};
void PrintTo(const LogLine &line, std::ostream *out);

class RecordingProgressBar : public ProgressBar {
public:
    void setMinimum(int value) override { m_minimum = value; }
    void setMaximum(int value) override { m_maximum = value; }
    void setPosition(int value) override
    {
        m_position = value;
        positions.append(value);
    }
    int minimum() const override { return m_minimum; }
    int maximum() const override { return m_maximum; }
    int position() const override { return m_position; }

    QList<int> positions;

private:
    int m_minimum = -1;
    int m_maximum = -1;
    int m_position = -1;
};

// The main window as the device routines see it.
class RecordingWindow : public MainWindowLink {
public:
    static const QStringList SpiItems;

    void addLogLine(TFontStyles styles, TColor colour, const QString &text) override;
    int spiSpeedIndex() const override { return spiIndex; }
    int spiSpeedCount() const override { return int(SpiItems.size()); }
    QString spiSpeedText() const override { return SpiItems.value(spiIndex); }
    int powerOptionIndex() const override { return powerOption; }
    void setSystemIdentifier(const QString &text) override { identifierLabel = text; }
    void setSystemSoftwareRevision(const QString &text) override { revisionLabel = text; }
    void setSystemSerialNumber(const QString &text) override { serialLabel = text; }
    ProgressBar &progressBar() override { return bar; }

    QList<LogLine> log;
    int spiIndex = 0;
    int powerOption = -1;
    QString identifierLabel = QStringLiteral("untouched");
    QString revisionLabel = QStringLiteral("untouched");
    QString serialLabel = QStringLiteral("untouched");
    RecordingProgressBar bar;
    std::function<void()> onLogLine;  // runs after each line, as the event processing would
};

// Installs the test language and a settings folder of its own for the whole program.
class ProgLinkEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    QTemporaryDir m_configHome;
    QTemporaryDir m_exeFolder;
};

class ProgLinkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the simulator by one with other memory sizes.
    void useBoard(int flashSize, int eepromSize);
    // Opens the link and forgets its opening lines.
    void open();
    // The routine's log callback, recording into `lines`.
    TLogProc logger();

    static QString T(int id) { return QStringLiteral("T%1").arg(id); }
    static LogLine line(TColor colour, const QString &text, TFontStyles styles = 0) { return {styles, colour, text}; }
    static LogLine line(TColor colour, int id, TFontStyles styles = 0) { return {styles, colour, T(id)}; }
    static QByteArray bytes(const char *hex) { return QByteArray::fromHex(hex); }

    // A definition of the board's target: 32 KiB flash in 128-byte pages,
    // 1 KiB EEPROM in 4-byte pages, signature 1E950F.
    static TModul target();
    // An image of `size` bytes, empty except for the given blocks (address -> bytes).
    static void makeImage(THexContainer &image, int size, const QMap<int, QByteArray> &blocks);
    // The exchanges of one command, in order.
    std::vector<BoardSimulator::Exchange> exchangesOf(std::uint16_t command) const;

    std::unique_ptr<BoardSimulator> sim;
    RecordingWindow window;
    QList<LogLine> lines;
};
