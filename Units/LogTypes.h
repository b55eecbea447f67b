#pragma once

#include <QString>
#include <cstdint>
#include <functional>

// A log line is a style set, a colour and a text.
enum FontStyle : int {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};
using TFontStyles = int;

// Colours are Windows values 0x00BBGGRR; only the log view turns them into QColor.
using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clOlive = 0x008080;
constexpr TColor clSeaGreen = 0x7B9241;

// The log callback that device routines write their steps through.
using TLogProc = std::function<void(TFontStyles styles, TColor colour, const QString &text)>;
