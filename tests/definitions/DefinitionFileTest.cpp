// The definition file: its header, its records up to the end, and the file
// the build generates from the readable table.
#include "ComponentStream.h"
#include "DefinitionFile.h"
#include "DefinitionTable.h"
#include "Exceptions.h"
#include "TestEnvironment.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {
struct Collected {
    std::vector<std::unique_ptr<TModul>> definitions;
    std::function<void(std::unique_ptr<TModul>)> taker()
    {
        return [this](std::unique_ptr<TModul> modul) { definitions.push_back(std::move(modul)); };
    }
};

const TModul *findNamed(const std::vector<TModul> &table, const QString &name)
{
    const auto it = std::find_if(table.begin(), table.end(), [&](const TModul &d) { return d.Name == name; });
    return it == table.end() ? nullptr : &*it;
}

TModul named(const QString &name, int categorie)
{
    TModul modul;
    modul.Name = name;
    modul.Categorie = categorie;
    return modul;
}
}

class DefinitionFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterClass("TModul");
        ASSERT_TRUE(m_folder.isValid());
    }

    QString write(const QByteArray &content)
    {
        writeFile(m_folder.filePath(DefinitionFileName), content);
        return m_folder.filePath(DefinitionFileName);
    }

    QTemporaryDir m_folder;
};

TEST_F(DefinitionFile, HeaderDecidesTheVersionAndRecordsBeforeAnErrorStayWithTheCaller)
{
    Collected read;
    EXPECT_EQ(ReadDefinitionFile(m_folder.filePath("none.kvt"), read.taker()), DefinitionFileResult::Missing);
    for (const QByteArray &wrong : {QByteArray("fileversion: 1.0"), QByteArray("FileVersion: 1."), QByteArray(),
                                    "FileVersion: 2.0" + WriteComponent(named("A", 0))})
        EXPECT_EQ(ReadDefinitionFile(write(wrong), read.taker()), DefinitionFileResult::WrongVersion) << wrong.data();
    EXPECT_TRUE(read.definitions.empty());

    const std::vector<TModul> written = {named("B", 0), named("A", 1), named("C", -1)};
    const QByteArray data = WriteDefinitionData(written);
    EXPECT_EQ(ReadDefinitionFile(write(data), read.taker()), DefinitionFileResult::Read);
    ASSERT_EQ(read.definitions.size(), 3u);
    EXPECT_EQ(read.definitions[0]->Name, "B");
    EXPECT_EQ(read.definitions[2]->Categorie, -1);
    Collected partial;
    EXPECT_THROW(ReadDefinitionData(data.chopped(3), partial.taker()), EReadError);
    EXPECT_EQ(partial.definitions.size(), 2u);

    EXPECT_TRUE(WriteDefinitionFile(m_folder.filePath("written.kvt"), written));
    EXPECT_EQ(readFile(m_folder.filePath("written.kvt")), data);
    EXPECT_FALSE(WriteDefinitionFile(m_folder.filePath("no/folder/x.kvt"), written));
}

TEST(DefinitionTable, ParsesSectionsBitsAndBases)
{
    const QByteArray table = "# comment\n[Chip]\nFlashSize = 1024\nSignatur=1E9001\nCanReset=1\n"
                             "FuseHigh=A B SPIEN 1 1 1 1 Z\n; another comment\n[Module]\nBase=Chip\nCategorie=1\n";
    const std::vector<TModul> definitions = ParseDefinitionTable(table);
    ASSERT_EQ(definitions.size(), 2u);
    const TModul &chip = definitions[0], &module = definitions[1];
    EXPECT_EQ(std::tuple(chip.FlashSize, chip.FuseHigh7, chip.FuseHigh5, chip.FuseHigh0, chip.CanReset),
              std::tuple(1024, QString("A"), QString("SPIEN"), QString("Z"), true));
    EXPECT_EQ(std::tuple(module.Name, module.Signatur, module.Categorie),
              std::tuple(QString("Module"), QString("1E9001"), 1));

    for (const char *bad : {"FlashSize=1\n", "[A]\nFlashSize=x\n", "[A]\nColour=1\n", "[A]\nLock=1 1\n",
                            "[A]\n[A]\n", "[A]\nBase=B\n", "[A]\nnothing\n", "[A]\nCanReset=yes\n"})
        EXPECT_THROW(ParseDefinitionTable(bad), Exception) << bad;
}

// The file the build ships holds the table, record for record.
TEST_F(DefinitionFile, ShippedFileMatchesTheTable)
{
    const QString shipped = qEnvironmentVariable("LUMAPROG_BIN_DIR") + "/" + DefinitionFileName;
    Collected read;
    ASSERT_EQ(ReadDefinitionFile(shipped, read.taker()), DefinitionFileResult::Read) << shipped.toStdString();
    const std::vector<TModul> table = ReadDefinitionTable(DEFINITION_TABLE);
    ASSERT_EQ(read.definitions.size(), table.size());
    for (size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(WriteComponent(*read.definitions[i]), WriteComponent(table[i])) << table[i].Name.toStdString();
}

// What every definition must satisfy for the rest of the program to work.
TEST(ShippedDefinitions, AreConsistentAndMatchTheirDataSheets)
{
    const std::vector<TModul> table = ReadDefinitionTable(DEFINITION_TABLE);
    const QRegularExpression hexByte("^[0-9A-F]{2}$"), signature("^1E[0-9A-F]{4}$");
    QSet<QString> names;
    int boards = 0, modules = 0;
    for (const TModul &d : table) {
        SCOPED_TRACE(d.Name.toStdString());
        EXPECT_FALSE(names.contains(d.Name));
        names.insert(d.Name);
        (d.Categorie == 0 ? boards : modules)++;
        EXPECT_TRUE(signature.match(d.Signatur).hasMatch());
        for (const QString &value : {d.DefaultFuseLow, d.DefaultFuseHigh, d.DefaultFuseExt, d.DefaultLock})
            EXPECT_TRUE(hexByte.match(value).hasMatch()) << value.toStdString();
        EXPECT_TRUE(d.FlashPageSize > 0 && d.EEPromPageSize > 0);
        EXPECT_EQ(d.FlashSize % d.FlashPageSize, 0);
        EXPECT_EQ(d.EEPromSize % d.EEPromPageSize, 0);
        EXPECT_LE(d.FlashPageSize, 601) << "the bootloader's page buffer";
        for (const int delay : {d.FlashDelay, d.EEPromDelay, d.FuseDelay, d.EraseDelay})
            EXPECT_TRUE(delay > 0 && delay < 256);
        std::uint8_t byte = 0;
        int bit = -1;
        EXPECT_TRUE(d.FindFuseBit("SPIEN", byte, bit));
        for (int b = 0; b < 4; ++b) {
            // A bit that does not exist is not programmed (reads 1) in the defaults.
            const QString defaults[] = {d.DefaultFuseLow, d.DefaultFuseHigh, d.DefaultFuseExt, d.DefaultLock};
            const int value = defaults[b].toInt(nullptr, 16);
            for (int n = 0; n < 8; ++n) {
                const QString &bitName = d.BitName(TModul::BitByte(b), n);
                EXPECT_FALSE(bitName.isEmpty());
                EXPECT_TRUE(bitName != "1" || (value & (1 << n))) << b << "/" << n;
            }
        }
    }
    EXPECT_EQ(boards, 17);
    EXPECT_GE(modules, 3);

    // Every microcontroller against its data sheet, independent of the table's own text.
    // Signature, flash and EEPROM size/page size, default low, high and extended fuse.
    const std::pair<const char *, const char *> facts[] = {
        {"ATmega8A", "1E9307 8192/64 512/4 E1 D9 FF"},         {"ATmega16A", "1E9403 16384/128 512/4 E1 99 FF"},
        {"ATmega32A", "1E9502 32768/128 1024/4 E1 99 FF"},     {"ATmega64A", "1E9602 65536/256 2048/8 E1 99 FD"},
        {"ATmega128A", "1E9702 131072/256 4096/8 E1 99 FD"},   {"ATmega48PA", "1E920A 4096/64 256/4 62 DF FF"},
        {"ATmega88PA", "1E930F 8192/64 512/4 62 DF F9"},       {"ATmega168PA", "1E940B 16384/128 512/4 62 DF F9"},
        {"ATmega328P", "1E950F 32768/128 1024/4 62 D9 FF"},    {"ATmega164PA", "1E940A 16384/128 512/4 62 99 FF"},
        {"ATmega324PA", "1E9511 32768/128 1024/4 62 99 FF"},   {"ATmega644PA", "1E960A 65536/256 2048/8 62 99 FF"},
        {"ATmega1284P", "1E9705 131072/256 4096/8 62 99 FF"},  {"ATmega640", "1E9608 65536/256 4096/8 62 99 FF"},
        {"ATmega1280", "1E9703 131072/256 4096/8 62 99 FF"},   {"ATmega2560", "1E9801 262144/256 4096/8 62 99 FF"},
        {"ATmega2561", "1E9802 262144/256 4096/8 62 99 FF"},
    };
    static_assert(std::size(facts) == 17, "every microcontroller of the table");
    for (const auto &[name, fact] : facts) {
        const TModul *d = findNamed(table, name);
        ASSERT_NE(d, nullptr) << name;
        EXPECT_EQ(d->Categorie, 0) << name;
        const QStringList actual = {d->Signatur, QString("%1/%2").arg(d->FlashSize).arg(d->FlashPageSize),
                                    QString("%1/%2").arg(d->EEPromSize).arg(d->EEPromPageSize),
                                    d->DefaultFuseLow, d->DefaultFuseHigh, d->DefaultFuseExt};
        EXPECT_EQ(actual.join(' '), fact) << name;
    }
    const TModul *m328 = findNamed(table, "ATmega328P");
    const TModul *m16 = findNamed(table, "ATmega16A");
    ASSERT_TRUE(m328 && m16);
    const QStringList bits = {m328->FuseHigh5, m328->FuseExt2, m328->FuseExt7,
                              m328->Lock1,     m16->FuseHigh6,  m16->FuseLow7};
    EXPECT_EQ(bits, QStringList({"SPIEN", "BODLEVEL2", "1", "LB2", "JTAGEN", "BODLEVEL"}));
}
