#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// One microcontroller or plug-in module definition, as read from the
// definition file. Every property is a plain public field; the property
// table below gives the stream reader and writer, and the bit-name lookups,
// access to them by name.
class TModul {
public:
    // The component name of the stream header (not shown anywhere).
    QString ComponentName;
    // Inherited from the streamable base; written only when not 0.
    int Tag = 0;

    int Categorie = 0;  // 0: microcontroller of the development board, else a plug-in module
    QString Name;       // the text of its entry in the selection lists; a module's identity
    int FlashSize = 0;
    int FlashPageSize = 0;
    int EEPromSize = 0;
    int EEPromPageSize = 0;
    int BufferSize = 0;  // carried by definition files, used by nothing
    QString Controller;  // carried, unused
    bool CanReset = false;  // carried, unused
    QString Port;        // carried, unused
    QString Speed;       // carried, unused
    QString Signatur;    // six upper-case hexadecimal digits, first byte first
    QString DefaultFuseLow;
    QString DefaultFuseHigh;
    QString DefaultFuseExt;
    QString DefaultLock;
    int FlashDelay = 0;   // device wait times; their low byte goes with the commands
    int EEPromDelay = 0;
    int FuseDelay = 0;
    int EraseDelay = 0;

    // Bit names, bit 7 first; "1" marks a bit that the device does not have.
    QString FuseLow7, FuseLow6, FuseLow5, FuseLow4, FuseLow3, FuseLow2, FuseLow1, FuseLow0;
    QString FuseHigh7, FuseHigh6, FuseHigh5, FuseHigh4, FuseHigh3, FuseHigh2, FuseHigh1, FuseHigh0;
    QString FuseExt7, FuseExt6, FuseExt5, FuseExt4, FuseExt3, FuseExt2, FuseExt1, FuseExt0;
    QString Lock7, Lock6, Lock5, Lock4, Lock3, Lock2, Lock1, Lock0;

    // The four bytes that carry named bits.
    enum BitByte : std::uint8_t { LowFuse = 0, HighFuse = 1, ExtFuse = 2, LockByte = 3 };
    // Name of bit `bit` (0..7) of the given byte.
    const QString &BitName(BitByte byte, int bit) const;
    QString &BitName(BitByte byte, int bit);

    // Searches the fuse bytes (low, high, extended; not the lock byte) for a
    // bit of that name, ignoring case. The last match wins. On a match sets
    // byteIndex (0 low, 1 high, 2 extended) and bitIndex and returns true;
    // otherwise bitIndex is -1, byteIndex is left alone and the result false.
    bool FindFuseBit(const QString &bitName, std::uint8_t &byteIndex, int &bitIndex) const;

    // A published property, by name, as the component stream sees it.
    struct Property {
        enum class Kind { Integer, String, Boolean };
        const char *name;
        Kind kind;
        int TModul::*integer = nullptr;
        QString TModul::*text = nullptr;
        bool TModul::*flag = nullptr;
    };
    // Every property in the order a writer emits them (Name, Tag, Categorie, ...).
    static const std::vector<Property> &Properties();
    // The property of that name, ignoring case; nullptr when there is none.
    static const Property *FindProperty(const QString &name);
    // A string property of this definition by name (ignoring case); nullptr
    // when there is no string property of that name.
    const QString *StringProperty(const QString &name) const;
};
