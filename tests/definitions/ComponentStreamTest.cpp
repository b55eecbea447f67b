// The binary component stream of one definition: byte-exact writing, and a
// reader that refuses every malformed record with the stream library's message.
#include "ComponentStream.h"
#include "DefinitionTable.h"
#include "Exceptions.h"
#include "Modul.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

namespace {
// The record that the format description walks through.
TModul exampleModul()
{
    return ParseDefinitionTable("[ZF-Test 32K]\n"
                                "FlashSize=32768\nFlashPageSize=128\nEEPromSize=1024\nEEPromPageSize=4\n"
                                "Signatur=5A0102\nDefaultFuseLow=62\nDefaultFuseHigh=D9\nDefaultFuseExt=FF\n"
                                "DefaultLock=FF\nFlashDelay=10\nEEPromDelay=10\nFuseDelay=10\nEraseDelay=300\n"
                                "FuseLow=L7 L6 L5 L4 L3 L2 L1 L0\nFuseHigh=H7 JTAGEN SPIEN H4 H3 H2 H1 H0\n"
                                "FuseExt=1 1 1 1 1 E2 E1 E0\nLock=1 1 K5 K4 K3 K2 K1 K0\n")
        .front();
}

const QByteArray minimalRecord = QByteArray::fromHex("54504630" "06544D6F64756C" "00" "00" "00");

QByteArray shortString(const QByteArray &text)
{
    return char(text.size()) + text;
}

// One property: its name and its tag and payload, given in hexadecimal.
QByteArray property(const QByteArray &name, const char *hex)
{
    return shortString(name) + QByteArray::fromHex(hex);
}

// A record of the given properties (already encoded).
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

QString propertyError(const QString &property, const QString &what)
{
    return "Fehler beim Lesen von " + property + ": " + what;
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

    const auto modul = read(bytes);
    expectSameFields(*modul, exampleModul());
    EXPECT_EQ(modul->Name, "ZF-Test 32K");
    EXPECT_EQ(modul->FuseHigh5, "SPIEN");
    EXPECT_EQ(modul->EraseDelay, 300);

    // Two records back to back: each read stops at its own end.
    TModul module = exampleModul();
    module.Categorie = 1;
    module.Name = "Module";
    TComponentReader reader(bytes + WriteComponent(module));
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
        EXPECT_TRUE(WriteComponent(modul).contains(property("FlashSize", hex))) << value;
        EXPECT_EQ(read(record(property("FlashSize", hex)))->FlashSize, value) << value;
    }
    for (const char *hex : {"0264", "036400", "0464000000"})
        EXPECT_EQ(read(record(property("FlashSize", hex)))->FlashSize, 100) << hex;
}

TEST_F(ComponentStream, MinimalRecordAndDefaults)
{
    const auto modul = read(minimalRecord);
    expectSameFields(*modul, TModul());
    // Integers and the Boolean are always written, empty strings and a zero Tag never.
    const QByteArray blank = WriteComponent(TModul());
    EXPECT_TRUE(blank.contains(property("BufferSize", "0200")));
    EXPECT_TRUE(blank.contains(property("CanReset", "08")));
    for (const char *never : {"Name", "Tag", "Signatur"})
        EXPECT_FALSE(blank.contains(never)) << never;

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
    expectSameFields(*read(bytes), unused);
}

TEST_F(ComponentStream, NamesAndOrder)
{
    // Property names ignore case; the last of repeated properties wins.
    const QByteArray properties = property("flashsize", "0264") + property("FLASHSIZE", "0265")
                                  + property("Name", "06") + shortString("12 ab c");
    const auto modul = read(record(properties, "_x1"));
    EXPECT_EQ(modul->FlashSize, 0x65);
    EXPECT_EQ(modul->Name, "12 ab c");
    EXPECT_EQ(modul->ComponentName, "_x1");
    EXPECT_EQ(read(record("", "Modul1"))->ComponentName, "Modul1");

    // Filer flags before the class name, with and without a child position.
    EXPECT_EQ(read("TPF0\xF0" + minimalRecord.mid(4))->FlashSize, 0);
    EXPECT_EQ(read("TPF0" + QByteArray::fromHex("F20205") + minimalRecord.mid(4))->FlashSize, 0);
}

TEST_F(ComponentStream, Errors)
{
    const QByteArray form = "TPF0" + shortString("TForm");
    EXPECT_EQ(readError("TPF1" + minimalRecord.mid(4)), "Ungültiges Stream-Format");
    EXPECT_EQ(readError(form + QByteArray(3, '\0')), "Klasse TForm nicht gefunden");
    EXPECT_EQ(readError(QByteArray("TPF0") + shortString("tmodul") + QByteArray(3, '\0')), "no error");
    // The checks come in the stream library's order: the class as soon as its
    // name is read, then the component name, and the cast only after the record.
    EXPECT_EQ(readError(form), "Klasse TForm nicht gefunden");
    RegisterClass("TForm");
    EXPECT_EQ(readError(form + QByteArray(3, '\0')), "Ungültige Typumwandlung");
    EXPECT_EQ(readError(form + shortString("a b") + QByteArray(2, '\0')), "''a b'' ist kein gültiger Komponentenname");
    EXPECT_EQ(readError(form + QByteArray(2, '\0')), "Stream-Lesefehler");
    UnRegisterClass("TForm");
    UnRegisterClass("TModul");
    EXPECT_EQ(readError(minimalRecord), "Klasse TModul nicht gefunden");
    RegisterClass("TModul");

    const std::pair<QByteArray, QString> records[] = {
        {record("", "ab c"), "''ab c'' ist kein gültiger Komponentenname"},
        {record("", "1x"), "''1x'' ist kein gültiger Komponentenname"},
        {record(property("Colour", "0201")), propertyError(".Colour", "Eigenschaft Colour existiert nicht.")},
        {record(property("FlashSize", "06023132"), "Dev"),
         propertyError("Dev.FlashSize", "Ungültiger Eigenschaftswert")},
        {record(property("Signatur", "0201")), propertyError(".Signatur", "Ungültiger Eigenschaftswert")},
        {record(property("CanReset", "0201")), propertyError(".CanReset", "Ungültiger Eigenschaftswert")},
        {record(property("FlashSize", "0501")), propertyError(".FlashSize", "Ungültiger Eigenschaftswert")},
        // A child component is refused.
        {minimalRecord.chopped(1) + "\x01", "Ungültiges Stream-Format"},
        // Lengths that run past the end, or are absurd, never allocate.
        {record(property("Controller", "0CFFFFFF7F616263")), propertyError(".Controller", "Stream-Lesefehler")},
        {record(property("Controller", "0CFFFFFFFF")), propertyError(".Controller", "Stream-Lesefehler")},
        {record(property("Controller", "12FFFFFF7F")), propertyError(".Controller", "Stream-Lesefehler")},
    };
    for (const auto &[bytes, message] : records)
        EXPECT_EQ(readError(bytes), message) << bytes.toHex().toStdString();

    // Every truncation of a whole record.
    const QByteArray whole = WriteComponent(exampleModul());
    for (qsizetype length = 0; length < whole.size(); ++length)
        EXPECT_TRUE(readError(whole.left(length)).endsWith("Stream-Lesefehler")) << length;
}

TEST_F(ComponentStream, OtherStringTagsOfTheStreamLibrary)
{
    const QString text = QString::fromUtf8("Größe µC");
    const QByteArray utf8 = text.toUtf8();
    QByteArray utf16;
    for (const QChar c : text)
        utf16 += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
    const auto le32 = [](qsizetype n) { return QByteArray(1, char(n)) + QByteArray(3, '\0'); };
    EXPECT_EQ(read(record(shortString("Name") + "\x14" + le32(utf8.size()) + utf8))->Name, text);
    EXPECT_EQ(read(record(shortString("Name") + "\x12" + le32(text.size()) + utf16))->Name, text);
}
