#include "DefinitionTable.h"

#include "Exceptions.h"

#include <QFile>
#include <QList>

namespace {
constexpr int BitsPerByte = 8;

struct BitKey {
    const char *key;
    TModul::BitByte byte;
};
const BitKey bitKeys[] = {
    {"FuseLow", TModul::LowFuse},
    {"FuseHigh", TModul::HighFuse},
    {"FuseExt", TModul::ExtFuse},
    {"Lock", TModul::LockByte},
};

class TableParser {
public:
    std::vector<TModul> Parse(const QByteArray &text)
    {
        const QList<QByteArray> lines = text.split('\n');
        for (m_lineNumber = 1; m_lineNumber <= lines.size(); ++m_lineNumber)
            ParseLine(QString::fromUtf8(lines[m_lineNumber - 1]).trimmed());
        return std::move(m_definitions);
    }

private:
    [[noreturn]] void Fail(const QString &what) const
    {
        throw Exception(QStringLiteral("Definition table, line %1: %2").arg(m_lineNumber).arg(what));
    }

    const TModul *Find(const QString &name) const
    {
        for (const TModul &modul : m_definitions)
            if (modul.Name == name)
                return &modul;
        return nullptr;
    }

    void ParseLine(const QString &line)
    {
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            return;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']') || line.size() < 3)
                Fail(QStringLiteral("bad section title"));
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (Find(name))
                Fail(QStringLiteral("definition %1 given twice").arg(name));
            m_definitions.emplace_back().Name = name;
            return;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            Fail(QStringLiteral("expected Key=Value"));
        if (m_definitions.empty())
            Fail(QStringLiteral("value outside a section"));
        SetValue(m_definitions.back(), line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }

    void SetValue(TModul &modul, const QString &key, const QString &value)
    {
        if (key.compare(u"Base", Qt::CaseInsensitive) == 0)
            return CopyBase(modul, value);
        for (const BitKey &bitKey : bitKeys)
            if (key.compare(QLatin1String(bitKey.key), Qt::CaseInsensitive) == 0)
                return SetBitNames(modul, bitKey.byte, value);
        const TModul::Property *property = TModul::FindProperty(key);
        if (!property || property->integer == &TModul::Tag)
            Fail(QStringLiteral("unknown key %1").arg(key));
        switch (property->kind) {
        case TModul::Property::Kind::Integer: {
            bool ok = false;
            modul.*(property->integer) = value.toInt(&ok, 10);
            if (!ok)
                Fail(QStringLiteral("%1 is no whole number").arg(value));
            break;
        }
        case TModul::Property::Kind::String:
            modul.*(property->text) = value;
            break;
        case TModul::Property::Kind::Boolean:
            if (value != u"0" && value != u"1")
                Fail(QStringLiteral("%1 must be 0 or 1").arg(key));
            modul.*(property->flag) = value == u"1";
            break;
        }
    }

    void CopyBase(TModul &modul, const QString &baseName)
    {
        const TModul *base = Find(baseName);
        if (!base || base == &modul)
            Fail(QStringLiteral("no earlier definition %1").arg(baseName));
        const QString name = modul.Name;
        modul = *base;
        modul.Name = name;
    }

    void SetBitNames(TModul &modul, TModul::BitByte byte, const QString &value)
    {
        const QStringList names = value.split(u' ', Qt::SkipEmptyParts);
        if (names.size() != BitsPerByte)
            Fail(QStringLiteral("expected %1 bit names, bit 7 first").arg(BitsPerByte));
        for (int i = 0; i < BitsPerByte; ++i)
            modul.BitName(byte, BitsPerByte - 1 - i) = names[i];
    }

    std::vector<TModul> m_definitions;
    int m_lineNumber = 0;
};
}

std::vector<TModul> ParseDefinitionTable(const QByteArray &text)
{
    return TableParser().Parse(text);
}

std::vector<TModul> ReadDefinitionTable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("%1: %2").arg(path, file.errorString()));
    return ParseDefinitionTable(file.readAll());
}
