#include "Recorders.h"

void PrintTo(const LogLine &line, std::ostream *out)
{
    *out << "{" << line.styles << ", 0x" << std::hex << line.colour << std::dec << ", \""
         << line.text.toStdString() << "\"}";
}

TLogProc recordInto(QList<LogLine> &lines)
{
    return [&lines](TFontStyles styles, TColor colour, const QString &text) { lines.append({styles, colour, text}); };
}

void RecordingProgressBar::setPosition(int value)
{
    m_position = value;
    positions.append(value);
}

void RecordingMainWindow::addLogLine(TFontStyles styles, TColor colour, const QString &text)
{
    log.append({styles, colour, text});
    if (onLogLine)
        onLogLine();
}

TLogProc RecordingMainWindow::logProc()
{
    return [this](TFontStyles styles, TColor colour, const QString &text) { addLogLine(styles, colour, text); };
}

void RecordingUiHooks::setBusyCursor(bool on)
{
    busy += on ? 1 : -1;
    shown += on ? 1 : 0;
}
