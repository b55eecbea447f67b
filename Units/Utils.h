#pragma once

#include "DeviceInfo.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

class TModul;

// Name of the settings file inside the settings folder.
inline constexpr const char *SettingsFileName = "Lumaprog.ini";

// The settings section that the core (language, recent-file count) and the
// main window both read.
namespace SettingsSection {
inline const QString ProgramOptions = QStringLiteral("ProgramOptions");
}

// Default of the port settings (Interface/ProgrammerCom, Interface/UartCom):
// the board's USB CDC device.
inline constexpr const char *DefaultComPort = "/dev/ttyACM0";

// Default of the folder settings (LastFlashDir, LastEEpromDir, LastLogDir):
// the user's home folder with a trailing separator.
QString DefaultFolder();

// Number of recent files kept when ProgramOptions/RecentFiles holds no whole number.
inline constexpr int DefaultRecentFilesCount = 5;

// The one service object of the core: texts, settings, folders, version,
// hexadecimal conversion, fuse-bit checks and the CRC of the programmer link.
// It holds no data of its own.
class TUtility {
public:
    // Texts by id from the library of ProgramOptions/LanguageID (default "EN")
    // beside the executable, looked up afresh each time. A missing library, or a
    // language id that is no plain name, falls back to the German one; when that
    // is missing too, the user is told, termination is requested and EDllError
    // is raised, as it is for a library that does not load or lacks getValue.
    void GetText(int id, QString &text);
    QString Text(int id);  // convenience: GetText into a fresh string
    // The id of the language whose library GetText reads: the chosen one, or
    // the German one standing in for it.
    QString LanguageInUse();
    // What the user is shown for an error that carries no message of its own.
    // Never raises: when the lookup fails, that failure's message stands in.
    QString UnknownErrorText() noexcept;

    // Settings: the kind of the default chooses how a key is read. Errors never
    // reach the caller: they are shown through uiHooks().showMessage (a failed read
    // of one file once per run, a failed write once until a write succeeds again)
    // and a read then gives its default. Floating-point values use the dot of the
    // C locale both ways, so that a file reads the same under every locale.
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

    // ProgramOptions/RecentFiles as a whole number: DefaultRecentFilesCount when
    // the text is no whole number, 0 when it is negative.
    int RecentFilesCount();

    // Folders. ExeFolder and TempFolder end in a separator, SettingsFolder does not.
    // The settings and temporary folders are created each time they are asked for.
    // SettingsFolder: $XDG_CONFIG_HOME (default ~/.config) + "/Kal-Works", in portable
    // mode the executable's folder. TempFolder: the executable's folder + "Temp/" in
    // portable mode; outside it the program has no temporary folder and gets "".
    void ExeFolder(QString &folder);
    void SettingsFolder(QString &folder);
    void TempFolder(QString &folder);
    QString SettingsFile();
    // Tests place language libraries and definitions in a folder of their own;
    // an empty text returns to the executable's real folder.
    static void SetExeFolderOverride(const QString &folder);

    // True with the compiled-in version numbers when fileName is the running
    // executable; false, outputs untouched, for any other file.
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

    // CRC-16/AUG-CCITT of the first count bytes; 0x1D0F when count is 0 or less.
    std::uint16_t Crc16(const std::uint8_t *data, int count);
    std::uint16_t Crc16(const QByteArray &data, int count)
    {
        return Crc16(reinterpret_cast<const std::uint8_t *>(data.constData()), count);
    }
};

// The CRC table: polynomial 0x1021, most significant bit first.
extern const std::array<std::uint16_t, 256> Crc16Table;

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

// Deletes the files (not the sub-folders) of the portable temporary folder
// (the executable's folder + "Temp/", created when missing); failures are ignored.
// Needs neither Utility nor anything else that finalization has freed.
void DeleteTempFiles();

// Intel HEX record checksum: two's complement of the low byte of the sum.
std::uint8_t HexChecksum(std::uint16_t count, std::uint32_t address, std::uint8_t recordType,
                         const std::uint8_t *data);

// Converts a number text between bases 2..36; no leading zeros.
QString BaseConvert(std::uint8_t fromBase, std::uint8_t toBase, const QString &value);
