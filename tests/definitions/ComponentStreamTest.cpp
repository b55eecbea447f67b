// The binary component stream of one definition: byte-exact writing, and a
// reader that refuses every malformed record with the stream library's message.
#include "ComponentStream.h"
#include "Exceptions.h"
#include "Modul.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

namespace {
// The record that the format description walks through.
TModul exampleModul()
{
    TModul modul;
    modul.Name = "ZF-Test 32K";
    modul.FlashSize = 32768;
    modul.FlashPageSize = 128;
    modul.EEPromSize = 1024;
    modul.EEPromPageSize = 4;
    modul.Signatur = "5A0102";
    modul.DefaultFuseLow = "62";
    modul.DefaultFuseHigh = "D9";
    modul.DefaultFuseExt = "FF";
    modul.DefaultLock = "FF";
    modul.FlashDelay = 10;
    modul.EEPromDelay = 10;
    modul.FuseDelay = 10;
    modul.EraseDelay = 300;
    const char *const high[8] = {"H0", "H1", "H2", "H3", "H4", "SPIEN", "JTAGEN", "H7"};
    const char *const ext[8] = {"E0", "E1", "E2", "1", "1", "1", "1", "1"};
    const char *const lock[8] = {"K0", "K1", "K2", "K3", "K4", "K5", "1", "1"};
    for (int bit = 0; bit < 8; ++bit) {
        modul.BitName(TModul::LowFuse, bit) = QString("L%1").arg(bit);
        modul.BitName(TModul::HighFuse, bit) = high[bit];
        modul.BitName(TModul::ExtFuse, bit) = ext[bit];
        modul.BitName(TModul::LockByte, bit) = lock[bit];
    }
    return modul;
}

const QByteArray minimalRecord = QByteArray::fromHex("54504630" "06544D6F64756C" "00" "00" "00");

QByteArray shortString(const QByteArray &text)
{
    return char(text.size()) + text;
}

// A record of the given properties (name + tag + payload, already encoded).
QByteArray record(const QByteArray &properties, const QByteArray &componentName = "")
{
    return "TPF0" + shortString("TModul") + shortString(componentName) + properties + QByteArray(2, '\0');
}

std::unique_ptr<TModul> read(const QByteArray &data)
{
    TComponentReader reader(data);
    auto modul = reader.ReadComponent();
    EXPECT_EQ(reader.position(), data.size()) << "the reader must stop right after the record";
    return modul;
}

QString readError(const QByteArray &data)
{
    try {
        TComponentReader(data).ReadComponent();
    } catch (const EReadError &error) {
        return error.message();
    }
    return "no error";
}

void expectSameFields(const TModul &a, const TModul &b)
{
    EXPECT_EQ(WriteComponent(a), WriteComponent(b));
    EXPECT_EQ(a.CanReset, b.CanReset);
}
}

class ComponentStream : public ::testing::Test {
protected:
    void SetUp() override { RegisterClass("TModul"); }
};

TEST_F(ComponentStream, ExampleRecordIsByteExact)
{
    const QByteArray bytes = WriteComponent(exampleModul());
    ASSERT_EQ(bytes.size(), 674);
    EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(),
              "0ee83fec92487a3bc1bbe2ab9f2658ec85e9b87c31830e4d8e4b040381b1cba7");
    EXPECT_EQ(bytes.left(0x30).toHex(' '),
              "54 50 46 30 06 54 4d 6f 64 75 6c 00 04 4e 61 6d 65 06 0b 5a 46 2d 54 65 73 74 20 33 32 4b 09 43 "
              "61 74 65 67 6f 72 69 65 02 00 09 46 6c 61 73 68");
    EXPECT_TRUE(bytes.endsWith(QByteArray::fromHex("054C6F636B3006024B300000")));

    const auto modul = read(bytes);
    expectSameFields(*modul, exampleModul());
    EXPECT_EQ(modul->Name, "ZF-Test 32K");
    EXPECT_EQ(modul->FuseHigh5, "SPIEN");
    EXPECT_EQ(modul->EraseDelay, 300);

    // Two records back to back: each read stops at its own end.
    TModul module = exampleModul();
    module.Categorie = 1;
    module.Name = "Module";
    const QByteArray both = bytes + WriteComponent(module);
    TComponentReader reader(both);
    EXPECT_EQ(reader.ReadComponent()->Categorie, 0);
    EXPECT_EQ(reader.position(), 674);
    EXPECT_EQ(reader.ReadComponent()->Name, "Module");
    EXPECT_TRUE(reader.atEnd());
}

TEST_F(ComponentStream, IntegersTakeTheSmallestTagAndReadFromAny)
{
    const std::pair<int, const char *> encodings[] = {
        {100, "0264"},       {128, "038000"},       {1000, "03E803"},         {32767, "03FF7F"},
        {32768, "0400800000"}, {40000, "04409C0000"}, {-1, "02FF"},          {-129, "037FFF"},
        {-2147483647 - 1, "0400000080"},
    };
    for (const auto &[value, hex] : encodings) {
        TModul modul;
        modul.FlashSize = value;
        const QByteArray expected = shortString("FlashSize") + QByteArray::fromHex(hex);
        EXPECT_TRUE(WriteComponent(modul).contains(expected)) << value;
        EXPECT_EQ(read(record(expected))->FlashSize, value) << value;
    }
    for (const char *hex : {"0264", "036400", "0464000000"})
        EXPECT_EQ(read(record(shortString("FlashSize") + QByteArray::fromHex(hex)))->FlashSize, 100) << hex;
}

TEST_F(ComponentStream, MinimalRecordAndDefaults)
{
    const auto modul = read(minimalRecord);
    EXPECT_EQ(modul->Categorie, 0);
    EXPECT_EQ(modul->FlashSize, 0);
    EXPECT_TRUE(modul->Signatur.isEmpty());
    EXPECT_TRUE(modul->Name.isEmpty());
    EXPECT_FALSE(modul->CanReset);
    // Integers and the Boolean are always written, empty strings and a zero Tag never.
    const QByteArray blank = WriteComponent(TModul());
    EXPECT_TRUE(blank.contains(shortString("BufferSize") + QByteArray::fromHex("0200")));
    EXPECT_TRUE(blank.contains(shortString("CanReset") + QByteArray::fromHex("08")));
    EXPECT_FALSE(blank.contains("Name"));
    EXPECT_FALSE(blank.contains("Tag"));
    EXPECT_FALSE(blank.contains("Signatur"));

    // The unused properties read without touching anything else.
    TModul unused;
    unused.BufferSize = 512;
    unused.Controller = QString(300, 'c');  // a long string
    unused.CanReset = true;
    unused.Port = "COM3";
    unused.Speed = "115200";
    unused.Tag = 7;
    const QByteArray bytes = WriteComponent(unused);
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("0C2C010000")));
    const auto back = read(bytes);
    expectSameFields(*back, unused);
    EXPECT_EQ(back->FlashSize, 0);
    EXPECT_TRUE(back->Name.isEmpty());
}

TEST_F(ComponentStream, NamesAndOrder)
{
    // Property names ignore case; the last of repeated properties wins.
    const QByteArray properties = shortString("flashsize") + QByteArray::fromHex("0264")
                                  + shortString("FLASHSIZE") + QByteArray::fromHex("0265")
                                  + shortString("Name") + "\x06" + shortString("12 ab c");
    const auto modul = read(record(properties, "_x1"));
    EXPECT_EQ(modul->FlashSize, 0x65);
    EXPECT_EQ(modul->Name, "12 ab c");
    EXPECT_EQ(modul->ComponentName, "_x1");

    EXPECT_EQ(readError(record("", "ab c")), "''ab c'' ist kein gültiger Komponentenname");
    EXPECT_EQ(readError(record("", "1x")), "''1x'' ist kein gültiger Komponentenname");
    EXPECT_EQ(read(record("", "Modul1"))->ComponentName, "Modul1");

    // Filer flags before the class name, with and without a child position.
    EXPECT_EQ(read("TPF0\xF0" + minimalRecord.mid(4))->FlashSize, 0);
    EXPECT_EQ(read("TPF0" + QByteArray::fromHex("F20205") + minimalRecord.mid(4))->FlashSize, 0);
}

TEST_F(ComponentStream, Errors)
{
    EXPECT_EQ(readError("TPF1" + minimalRecord.mid(4)), "Ungültiges Stream-Format");
    EXPECT_EQ(readError("TPF0" + shortString("TForm") + QByteArray(3, '\0')), "Klasse TForm nicht gefunden");
    EXPECT_EQ(readError(QByteArray("TPF0") + shortString("tmodul") + QByteArray(3, '\0')), "no error");
    RegisterClass("TForm");
    EXPECT_EQ(readError("TPF0" + shortString("TForm") + QByteArray(3, '\0')), "Ungültige Typumwandlung");
    UnRegisterClass("TForm");

    // The checks come in the stream library's order: the class as soon as its
    // name is read, then the component name, and the cast only after the record.
    EXPECT_EQ(readError("TPF0" + shortString("TForm")), "Klasse TForm nicht gefunden");
    RegisterClass("TForm");
    EXPECT_EQ(readError("TPF0" + shortString("TForm") + shortString("a b") + QByteArray(2, '\0')),
              "''a b'' ist kein gültiger Komponentenname");
    EXPECT_EQ(readError("TPF0" + shortString("TForm") + QByteArray(2, '\0')), "Stream-Lesefehler");
    UnRegisterClass("TForm");
    UnRegisterClass("TModul");
    EXPECT_EQ(readError(minimalRecord), "Klasse TModul nicht gefunden");
    RegisterClass("TModul");

    EXPECT_EQ(readError(record(shortString("Colour") + QByteArray::fromHex("0201"))),
              "Fehler beim Lesen von .Colour: Eigenschaft Colour existiert nicht.");
    EXPECT_EQ(readError(record(shortString("FlashSize") + "\x06" + shortString("12"), "Dev")),
              "Fehler beim Lesen von Dev.FlashSize: Ungültiger Eigenschaftswert");
    EXPECT_EQ(readError(record(shortString("Signatur") + QByteArray::fromHex("0201"))),
              "Fehler beim Lesen von .Signatur: Ungültiger Eigenschaftswert");
    EXPECT_EQ(readError(record(shortString("CanReset") + QByteArray::fromHex("0201"))),
              "Fehler beim Lesen von .CanReset: Ungültiger Eigenschaftswert");
    EXPECT_EQ(readError(record(shortString("FlashSize") + QByteArray::fromHex("0501"))),
              "Fehler beim Lesen von .FlashSize: Ungültiger Eigenschaftswert");

    // A child component is refused.
    EXPECT_EQ(readError(minimalRecord.chopped(1) + "\x01"), "Ungültiges Stream-Format");

    // Lengths that run past the end, or are absurd, never allocate.
    EXPECT_EQ(readError(record(shortString("Controller") + QByteArray::fromHex("0CFFFFFF7F") + "abc")),
              "Fehler beim Lesen von .Controller: Stream-Lesefehler");
    EXPECT_EQ(readError(record(shortString("Controller") + QByteArray::fromHex("0CFFFFFFFF"))),
              "Fehler beim Lesen von .Controller: Stream-Lesefehler");
    EXPECT_EQ(readError(record(shortString("Controller") + QByteArray::fromHex("12FFFFFF7F"))),
              "Fehler beim Lesen von .Controller: Stream-Lesefehler");
}

TEST_F(ComponentStream, EveryTruncationIsAnError)
{
    const QByteArray bytes = WriteComponent(exampleModul());
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        const QString error = readError(bytes.left(length));
        EXPECT_TRUE(error.endsWith("Stream-Lesefehler")) << length << ": " << error.toStdString();
    }
}

TEST_F(ComponentStream, OtherStringTagsOfTheStreamLibrary)
{
    const QString text = QString::fromUtf8("Größe µC");
    const QByteArray utf8 = text.toUtf8();
    QByteArray utf16;
    for (const QChar c : text)
        utf16 += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
    const auto le32 = [](qsizetype n) { return QByteArray(1, char(n)) + QByteArray(3, '\0'); };
    const auto asUtf8 = read(record(shortString("Name") + "\x14" + le32(utf8.size()) + utf8));
    EXPECT_EQ(asUtf8->Name, text);
    const auto asUtf16 = read(record(shortString("Name") + "\x12" + le32(text.size()) + utf16));
    EXPECT_EQ(asUtf16->Name, text);
}
