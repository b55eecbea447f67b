#pragma once

#include "DeviceInfo.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class TModul;

// Name of the settings file inside the settings folder.
inline constexpr const char *SettingsFileName = "Lumaprog.ini";

// The one service object of the core: texts, settings, folders, version,
// hexadecimal conversion, fuse-bit checks and the CRC of the programmer link.
// It holds no data of its own.
class TUtility {
public:
    // Texts (language libraries beside the executable).
    void GetText(int id, QString &text);
    QString Text(int id);  // convenience: GetText into a fresh string

    // Settings: the kind of the default chooses how a key is read.
    void IniRead(const QString &section, const QString &key, int def, int &value);
    void IniRead(const QString &section, const QString &key, bool def, bool &value);
    void IniRead(const QString &section, const QString &key, double def, double &value);
    void IniRead(const QString &section, const QString &key, const QString &def, QString &value);
    void IniWrite(const QString &section, const QString &key, int value);
    void IniWrite(const QString &section, const QString &key, bool value);
    void IniWrite(const QString &section, const QString &key, double value);
    void IniWrite(const QString &section, const QString &key, const QString &value);
    void IniWrite(const QString &section, const QString &key, const char *value)
    {
        IniWrite(section, key, QString::fromUtf8(value));
    }

    // Folders. ExeFolder and TempFolder end in a separator, SettingsFolder does not.
    void ExeFolder(QString &folder);
    void SettingsFolder(QString &folder);
    void TempFolder(QString &folder);
    QString SettingsFile();
    // Tests place language libraries and definitions in a folder of their own.
    static void SetExeFolderOverride(const QString &folder);

    bool GetFileVersion(const QString &fileName, std::uint16_t &major, std::uint16_t &minor,
                        std::uint16_t &release, std::uint16_t &build);

    // Hexadecimal text and fuse bits.
    int HexToInt(const QString &text);
    bool HasFuseLowByte(const TModul &modul);
    bool HasFuseHighByte(const TModul &modul);
    bool HasFuseExtByte(const TModul &modul);
    bool HasLockByte(const TModul &modul);
    int FuseByteValue(const TModul &modul, const QString &hexText);
    bool IsFuseBitProgrammed(const TModul &modul, const QString &bitName, const QString &lowHex,
                             const QString &highHex, const QString &extHex, bool &found);
    // Flags[0]: SPIEN not programmed, Flags[1]: JTAGEN not programmed. Always returns false.
    bool CheckSpienJtagen(const TModul &modul, bool (&flags)[2], const QString &lowHex,
                          const QString &highHex, const QString &extHex);

    // CRC-16/AUG-CCITT of the first count bytes.
    std::uint16_t Crc16(const std::uint8_t *data, int count);
    std::uint16_t Crc16(const QByteArray &data, int count)
    {
        return Crc16(reinterpret_cast<const std::uint8_t *>(data.constData()), count);
    }
};

// Module globals.
extern TUtility *Utility;
extern TDeviceInfo *DeviceInfo;
extern QString CurrentComPort;
extern QString UartComPort;
extern bool PortableMode;
extern bool BootloaderAbort;

// Module life cycle, called explicitly from main in this order:
// InitUtilsModule, the links' initialization, ..., the links' finalization, FinalizeUtilsModule.
void InitUtilsModule();
void FinalizeUtilsModule();

// Deletes the files (not the sub-folders) of the temporary folder.
void DeleteTempFiles();

// Intel HEX record checksum: two's complement of the low byte of the sum.
std::uint8_t HexChecksum(std::uint16_t count, std::uint32_t address, std::uint8_t recordType,
                         const std::uint8_t *data);

// Converts a number text between bases 2..36; no leading zeros.
QString BaseConvert(std::uint8_t fromBase, std::uint8_t toBase, const QString &value);
