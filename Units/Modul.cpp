#include "Modul.h"

#include "AsciiText.h"

#include <QHash>

#include <array>

namespace {
using Kind = TModul::Property::Kind;

TModul::Property integerProperty(const char *name, int TModul::*member)
{
    return {name, Kind::Integer, member, nullptr, nullptr};
}

TModul::Property stringProperty(const char *name, QString TModul::*member)
{
    return {name, Kind::String, nullptr, member, nullptr};
}

using BitRow = std::array<QString TModul::*, 8>;  // bit 0 first

const std::array<BitRow, 4> &bitRows()
{
    static const std::array<BitRow, 4> rows{{
        {&TModul::FuseLow0, &TModul::FuseLow1, &TModul::FuseLow2, &TModul::FuseLow3,
         &TModul::FuseLow4, &TModul::FuseLow5, &TModul::FuseLow6, &TModul::FuseLow7},
        {&TModul::FuseHigh0, &TModul::FuseHigh1, &TModul::FuseHigh2, &TModul::FuseHigh3,
         &TModul::FuseHigh4, &TModul::FuseHigh5, &TModul::FuseHigh6, &TModul::FuseHigh7},
        {&TModul::FuseExt0, &TModul::FuseExt1, &TModul::FuseExt2, &TModul::FuseExt3,
         &TModul::FuseExt4, &TModul::FuseExt5, &TModul::FuseExt6, &TModul::FuseExt7},
        {&TModul::Lock0, &TModul::Lock1, &TModul::Lock2, &TModul::Lock3, &TModul::Lock4,
         &TModul::Lock5, &TModul::Lock6, &TModul::Lock7},
    }};
    return rows;
}

const char *const bitPropertyPrefixes[4] = {"FuseLow", "FuseHigh", "FuseExt", "Lock"};

std::vector<TModul::Property> buildProperties()
{
    std::vector<TModul::Property> table{
        stringProperty("Name", &TModul::Name),
        integerProperty("Tag", &TModul::Tag),
        integerProperty("Categorie", &TModul::Categorie),
        integerProperty("FlashSize", &TModul::FlashSize),
        integerProperty("FlashPageSize", &TModul::FlashPageSize),
        integerProperty("EEPromSize", &TModul::EEPromSize),
        integerProperty("EEPromPageSize", &TModul::EEPromPageSize),
        integerProperty("BufferSize", &TModul::BufferSize),
        stringProperty("Controller", &TModul::Controller),
        {"CanReset", Kind::Boolean, nullptr, nullptr, &TModul::CanReset},
        stringProperty("Port", &TModul::Port),
        stringProperty("Speed", &TModul::Speed),
        stringProperty("Signatur", &TModul::Signatur),
        stringProperty("DefaultFuseLow", &TModul::DefaultFuseLow),
        stringProperty("DefaultFuseHigh", &TModul::DefaultFuseHigh),
        stringProperty("DefaultFuseExt", &TModul::DefaultFuseExt),
        stringProperty("DefaultLock", &TModul::DefaultLock),
        integerProperty("FlashDelay", &TModul::FlashDelay),
        integerProperty("EEPromDelay", &TModul::EEPromDelay),
        integerProperty("FuseDelay", &TModul::FuseDelay),
        integerProperty("EraseDelay", &TModul::EraseDelay),
    };
    // Bit names: low, high, extended fuse and lock, bit 7 first. The names
    // are string literals of static storage, as the table needs.
    static const char *const bitNames[4][8] = {
        {"FuseLow7", "FuseLow6", "FuseLow5", "FuseLow4", "FuseLow3", "FuseLow2", "FuseLow1", "FuseLow0"},
        {"FuseHigh7", "FuseHigh6", "FuseHigh5", "FuseHigh4", "FuseHigh3", "FuseHigh2", "FuseHigh1",
         "FuseHigh0"},
        {"FuseExt7", "FuseExt6", "FuseExt5", "FuseExt4", "FuseExt3", "FuseExt2", "FuseExt1", "FuseExt0"},
        {"Lock7", "Lock6", "Lock5", "Lock4", "Lock3", "Lock2", "Lock1", "Lock0"},
    };
    for (int byte = 0; byte < 4; ++byte)
        for (int bit = 7; bit >= 0; --bit)
            table.push_back(stringProperty(bitNames[byte][7 - bit], bitRows()[byte][bit]));
    return table;
}
}

const QString &TModul::BitName(BitByte byte, int bit) const
{
    return this->*bitRows().at(byte).at(bit);
}

QString &TModul::BitName(BitByte byte, int bit)
{
    return this->*bitRows().at(byte).at(bit);
}

bool TModul::FindFuseBit(const QString &bitName, std::uint8_t &byteIndex, int &bitIndex) const
{
    // Looked up by property name, as the bit editor names them, so that the
    // search follows the same table as the stream reader.
    const QString wanted = AsciiUpper(bitName);
    bitIndex = -1;
    for (std::uint8_t byte = LowFuse; byte <= ExtFuse; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            const QString *name =
                StringProperty(QLatin1String(bitPropertyPrefixes[byte]) + QString::number(bit));
            if (name && AsciiUpper(*name) == wanted) {
                byteIndex = byte;
                bitIndex = bit;
            }
        }
    }
    return bitIndex > -1;
}

const std::vector<TModul::Property> &TModul::Properties()
{
    static const std::vector<Property> table = buildProperties();
    return table;
}

const TModul::Property *TModul::FindProperty(const QString &name)
{
    // Asked for every property of every record read: an index by the
    // case-folded name rather than a comparison with each entry in turn.
    static const QHash<QString, const Property *> index = [] {
        QHash<QString, const Property *> byName;
        for (const Property &property : Properties())
            byName.insert(QString::fromLatin1(property.name).toCaseFolded(), &property);
        return byName;
    }();
    return index.value(name.toCaseFolded(), nullptr);
}

const QString *TModul::StringProperty(const QString &name) const
{
    const Property *property = FindProperty(name);
    if (!property || property->kind != Property::Kind::String)
        return nullptr;
    return &(this->*(property->text));
}
