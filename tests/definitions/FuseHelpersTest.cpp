// Hexadecimal and base conversion, and the fuse-bit helpers on definitions.
#include "DefinitionTable.h"
#include "Exceptions.h"
#include "Modul.h"
#include "Utils.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {
// SPIEN at high bit 5, JTAGEN at high bit 6; no extended byte.
TModul jtagDevice()
{
    return ParseDefinitionTable("[J]\nFuseLow=BODLEVEL BODEN SUT1 SUT0 CKSEL3 CKSEL2 CKSEL1 CKSEL0\n"
                                "FuseHigh=OCDEN JTAGEN SPIEN CKOPT EESAVE BOOTSZ1 BOOTSZ0 BOOTRST\n"
                                "FuseExt=1 1 1 1 1 1 1 1\nLock=1 1 BLB12 BLB11 BLB02 BLB01 LB2 LB1\n")
        .front();
}

QString assertionOf(std::uint8_t from, std::uint8_t to, const QString &value)
{
    try {
        BaseConvert(from, to, value);
    } catch (const EAssertionFailed &error) {
        return error.message();
    }
    return "no assertion";
}
}

TEST(HexToInt, DigitsOfEitherCaseOnly)
{
    TUtility utility;
    for (const auto &[text, value] : {std::pair{"ff", 255}, {"FF", 255}, {"", 0}, {"7FFFFFFF", 2147483647},
                                      {"FFFFFFFF", -1}, {"100000000", 0}})
        EXPECT_EQ(utility.HexToInt(text), value) << text;
    // Only ASCII letters count, whatever Unicode upper-cases them to.
    for (const char *bad : {"1G", " 1", "1 ", "-1", "0x1", "\uFB00"}) {
        try {
            utility.HexToInt(QString::fromUtf8(bad));
            ADD_FAILURE() << bad;
        } catch (const EConvertError &error) {
            EXPECT_EQ(error.message(), "No Hex-Number");
        }
    }
}

TEST(FuseHelpers, WhichBytesExist)
{
    TUtility utility;
    TModul modul = jtagDevice();
    EXPECT_EQ((QList<bool> {utility.HasFuseLowByte(modul), utility.HasFuseHighByte(modul),
                            utility.HasFuseExtByte(modul), utility.HasLockByte(modul)}), (QList<bool> {true, true, false, true}));
    modul.FuseExt3 = "";
    EXPECT_TRUE(utility.HasFuseExtByte(modul));
    modul.FuseExt3 = "X";
    EXPECT_TRUE(utility.HasFuseExtByte(modul));
    EXPECT_EQ(utility.FuseByteValue(modul, "d9"), 0xD9);
}

TEST(FuseHelpers, IsFuseBitProgrammed)
{
    TUtility utility;
    TModul modul = jtagDevice();
    bool found = false;
    EXPECT_TRUE(utility.IsFuseBitProgrammed(modul, "SPIEN", "E1", "D9", "FF", found));
    EXPECT_TRUE(found);
    EXPECT_FALSE(utility.IsFuseBitProgrammed(modul, "SPIEN", "E1", "F9", "FF", found));
    EXPECT_TRUE(found);
    EXPECT_FALSE(utility.IsFuseBitProgrammed(modul, "BLB12", "00", "00", "00", found));
    EXPECT_FALSE(found) << "the lock byte is not searched";
    EXPECT_FALSE(utility.IsFuseBitProgrammed(modul, "spien", "00", "00", "00", found));
    EXPECT_FALSE(found) << "names compare with case";

    // A byte's text is converted only when that byte is searched, low first.
    EXPECT_THROW(utility.IsFuseBitProgrammed(modul, "SPIEN", "ZZ", "D9", "FF", found), EConvertError);
    EXPECT_TRUE(utility.IsFuseBitProgrammed(modul, "CKSEL0", "E0", "ZZ", "ZZ", found));

    // The first match, from bit 7 down, decides.
    modul.FuseLow6 = "TWIN";
    modul.FuseLow2 = "TWIN";
    EXPECT_TRUE(utility.IsFuseBitProgrammed(modul, "TWIN", "BF", "FF", "FF", found));   // bit 6 is 0
    EXPECT_FALSE(utility.IsFuseBitProgrammed(modul, "TWIN", "FB", "FF", "FF", found));  // bit 2 ignored
}

TEST(FuseHelpers, FindFuseBit)
{
    TModul modul = jtagDevice();
    // "found byte/bit"; the byte stays as it was when nothing is found.
    const auto find = [&](const QString &name) {
        std::uint8_t byte = 7;
        int bit = 99;
        const bool found = modul.FindFuseBit(name, byte, bit);
        return QString("%1 %2/%3").arg(found).arg(byte).arg(bit);
    };
    EXPECT_EQ(find("spien"), "1 1/5");
    EXPECT_EQ(find("LB1"), "0 7/-1");  // only the lock byte has it

    modul.FuseLow2 = "DUP";
    modul.FuseExt1 = "dup";
    EXPECT_EQ(find("Dup"), "1 2/1");
    modul.FuseExt1 = "1";
    modul.FuseLow1 = "SAME";
    modul.FuseLow6 = "SAME";
    EXPECT_EQ(find("SAME"), "1 0/6");
}

TEST(BaseConvert, ConvertsWithoutLeadingZeros)
{
    EXPECT_EQ(BaseConvert(16, 2, "A5"), "10100101");
    EXPECT_EQ(BaseConvert(16, 2, "0"), "");
    EXPECT_EQ(BaseConvert(16, 2, ""), "");
    EXPECT_EQ(BaseConvert(2, 16, "00001111"), "F");
    EXPECT_EQ(BaseConvert(2, 16, "011011111"), "DF");
    EXPECT_EQ(BaseConvert(16, 2, "f"), "1111");
    EXPECT_EQ(BaseConvert(16, 36, "FFFFFFFF"), "1Z141Z3");
    EXPECT_EQ(BaseConvert(10, 16, "9007199254740991"), "1FFFFFFFFFFFFF");
    for (int value = 0; value < 256; ++value)
        EXPECT_EQ(BaseConvert(2, 16, BaseConvert(16, 2, QString::number(value, 16))),
                  value ? QString::number(value, 16).toUpper() : QString());
}

TEST(BaseConvert, AssertionsHoldInEveryBuild)
{
    EXPECT_TRUE(assertionOf(16, 2, "G1").startsWith("BaseXZahl enhällt ungültige Ziffern ("));
    EXPECT_TRUE(assertionOf(2, 16, "2").startsWith("BaseXZahl enhällt ungültige Ziffern ("));
    EXPECT_TRUE(assertionOf(37, 2, "1").startsWith("Basis ist größer 36 ("));
    EXPECT_TRUE(assertionOf(2, 37, "1").startsWith("Basis ist größer 36 ("));
    EXPECT_TRUE(assertionOf(10, 1, "5").startsWith("Basis ist kleiner 2 ("));
    EXPECT_TRUE(assertionOf(10, 0, "5").startsWith("Basis ist kleiner 2 ("));
    EXPECT_TRUE(assertionOf(0, 2, "").startsWith("Basis ist kleiner 2 ("));
    EXPECT_TRUE(assertionOf(16, 2, "FFFFFFFFFFFFFFFFF").startsWith("BaseXZahl ist zu groß ("));
    // The design's module name, not the build machine's folder.
    EXPECT_TRUE(assertionOf(16, 2, "G1").contains(QRegularExpression(R"( \(Units/Utils, Zeile \d+\)$)")));
}
