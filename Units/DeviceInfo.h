#pragma once

#include <QString>
#include <cstdint>

// What the connected board reported last.
class TDeviceInfo {
public:
    bool Valid = false;
    QString Identifier;
    std::uint8_t State = 0;            // 1 application active, 2 bootloader active
    std::uint16_t RevisionNumber = 0;  // protocol revision, must be 1
    QString RevisionString;
    QString SerialNumber;
    std::uint16_t CurrentWarn = 0;     // mA
    std::uint16_t CurrentBreak = 0;    // mA
    std::uint8_t OscillatorIndex = 0;

    // Forgets validity, identity and revision; the board settings stay.
    void Clear()
    {
        Valid = false;
        Identifier.clear();
        RevisionString.clear();
        RevisionNumber = 0;
    }
};
