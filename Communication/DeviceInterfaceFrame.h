#pragma once

// The pieces of the command frame that every command routine shares.

#include "LogTypes.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace frame {
constexpr int AckTimeout = 500;
// "The development board did not carry out the command".
constexpr int TextCommandFailed = 3077;

// Payload followed by its CRC-16, high byte first.
QByteArray withCrc(const QByteArray &payload);
// The last two bytes of block are the CRC-16 of the bytes before them.
bool crcMatches(const QByteArray &block);

void appendWord(QByteArray &bytes, std::uint16_t value);
void appendLong(QByteArray &bytes, std::uint32_t value);
// The word at offset, high byte first.
std::uint16_t wordAt(const QByteArray &bytes, int offset);

// Command word, acknowledgement and the request block with its CRC.
bool sendRequest(std::uint16_t command, const QByteArray &payload);
// A block of count bytes within timeoutMs; empty when it did not come whole.
QByteArray readBlock(int count, int timeoutMs);

// Upper-case hexadecimal digits of value, zero-padded to at least `digits`.
QString hexText(std::uint32_t value, int digits);

// One line through a log callback the caller may have left empty.
void logLine(const TLogProc &log, TFontStyles styles, TColor colour, const QString &text);
// Text by id.
QString text(int id);
}
