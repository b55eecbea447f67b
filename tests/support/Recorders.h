#pragma once

// Recorders in place of what the main window hands the core and the device
// routines: the log, the progress bar, the system labels, the message boxes
// and the busy cursor. Each keeps what it was given, in order, for the
// tests to compare exactly.
#include "LogTypes.h"
#include "MainWindowLink.h"
#include "ProgressBar.h"
#include "UiHooks.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

struct LogLine {
    TFontStyles styles = 0;
    TColor colour = clBlack;
    QString text;
    bool operator==(const LogLine &other) const = default;
};
inline void PrintTo(const LogLine &line, std::ostream *out)
{
    *out << "{" << line.styles << ", 0x" << std::hex << line.colour << std::dec << ", \"" << line.text.toStdString()
         << "\"}";
}

// A log callback that appends every line to `lines`.
inline TLogProc recordInto(QList<LogLine> &lines)
{
    return [&lines](TFontStyles styles, TColor colour, const QString &text) { lines.append({styles, colour, text}); };
}

class RecordingProgressBar : public ProgressBar {
public:
    void setMinimum(int value) override { m_minimum = value; }
    void setMaximum(int value) override { m_maximum = value; }
    void setPosition(int value) override { positions.append(m_position = value); }
    int minimum() const override { return m_minimum; }
    int maximum() const override { return m_maximum; }
    int position() const override { return m_position; }

    QList<int> positions;  // every position set, in order

private:
    int m_minimum = -1;
    int m_maximum = -1;
    int m_position = -1;
};

// The main window as the device routines see it: no SPI clock chosen and no
// power option until a test sets them.
class RecordingMainWindow : public MainWindowLink {
public:
    void addLogLine(TFontStyles styles, TColor colour, const QString &text) override
    {
        log.append({styles, colour, text});
        if (onLogLine)
            onLogLine();
    }
    int spiSpeedIndex() const override { return spiIndex; }
    int spiSpeedCount() const override { return int(spiItems.size()); }
    QString spiSpeedText() const override { return spiItems.value(spiIndex); }
    int powerOptionIndex() const override { return powerOption; }
    void setSystemIdentifier(const QString &text) override { identifierLabel = text; }
    void setSystemSoftwareRevision(const QString &text) override { revisionLabel = text; }
    void setSystemSerialNumber(const QString &text) override { serialLabel = text; }
    ProgressBar &progressBar() override { return bar; }

    // A log callback that writes through addLogLine, as the main window's own does.
    TLogProc logProc()
    {
        return [this](TFontStyles styles, TColor colour, const QString &text) { addLogLine(styles, colour, text); };
    }

    QList<LogLine> log;
    QStringList spiItems;
    int spiIndex = -1;
    int powerOption = -1;
    QString identifierLabel = QStringLiteral("untouched");
    QString revisionLabel = QStringLiteral("untouched");
    QString serialLabel = QStringLiteral("untouched");
    RecordingProgressBar bar;
    std::function<void()> onLogLine;  // runs after each line, as the event processing would
};

class RecordingUiHooks : public UiHooks {
public:
    void showError(const QString &title, const QString &text) override { errors << title + u'|' + text; }
    void showMessage(const QString &text) override { messages << text; }
    void setBusyCursor(bool on) override { busy += on ? 1 : -1; shown += on; }

    QStringList errors;  // "title|text"
    QStringList messages;
    int busy = 0;   // current nesting of the busy cursor
    int shown = 0;  // how often it was shown
};
