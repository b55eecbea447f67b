#pragma once

// Every bootloader test talks to a fresh module simulator through a real
// pseudo-terminal, with recorders in place of the main window and the connect
// dialog, texts from the test language ("T<id>") and short read time-outs,
// so that a missing answer fails within a fraction of a second.
#include "Bootloader.h"
#include "ConnectDialogControl.h"
#include "HexContainer.h"
#include "MainWindowLink.h"
#include "ModuleSimulator.h"
#include "Modul.h"
#include "ProgressBar.h"

#include <QList>
#include <QMap>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

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

    QList<int> positions;  // every position set, in order

private:
    int m_minimum = -1;
    int m_maximum = -1;
    int m_position = -1;
};

struct LogLine {
    TFontStyles styles;
    TColor colour;
    QString text;
};

class RecordingMainWindow : public MainWindowLink {
public:
    void addLogLine(TFontStyles styles, TColor colour, const QString &text) override
    {
        log.append({styles, colour, text});
    }
    int spiSpeedIndex() const override { return -1; }
    int spiSpeedCount() const override { return 0; }
    QString spiSpeedText() const override { return {}; }
    int powerOptionIndex() const override { return -1; }
    void setSystemIdentifier(const QString &) override {}
    void setSystemSoftwareRevision(const QString &) override {}
    void setSystemSerialNumber(const QString &) override {}
    ProgressBar &progressBar() override { return bar; }

    QList<LogLine> log;
    RecordingProgressBar bar;
};

class RecordingConnectDialog : public ConnectDialogControl {
public:
    void showConnectDialog() override
    {
        ++shows;
        if (onShow)
            onShow();
    }
    void closeConnectDialog() override { ++closes; }

    int shows = 0;
    int closes = 0;
    std::function<void()> onShow;
};

// Installs the test language and a settings folder of its own for the whole program.
class TestLanguageEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    QTemporaryDir m_configHome;
    QTemporaryDir m_exeFolder;
};

class BootloaderTest : public ::testing::Test {
protected:
    // 8 flash pages of 128 bytes, 128 EEPROM pages of 4 bytes.
    static ModuleSimulator::Geometry geometry() { return {1024, 128, 512, 4}; }

    void SetUp() override;
    void TearDown() override;

    // The definition the main window would hand over, matching the simulator.
    static TModul module(const QString &name = QStringLiteral("Mega328 Module"));
    // An image of `size` bytes, "FF" except for the given blocks (address -> bytes).
    static void makeImage(THexContainer &image, int size, const QMap<int, QByteArray> &blocks);
    // The request frames the host should send, as raw bytes.
    static QByteArray addressFrame(std::uint32_t address);
    static QByteArray blockFrame(char command, int length, char memory);

    ModuleSimulator sim {geometry()};
    RecordingMainWindow mainWindow;
    RecordingConnectDialog dialog;
};
