// The Windows description on given facts, one row per family and edge.
#include "WindowsVersionText.h"

#include <gtest/gtest.h>

namespace {
WindowsVersionFacts nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build, const char *service = "",
                       std::uint8_t productType = 1)
{
    return {.major = major, .minor = minor, .buildNumber = build, .platformId = 2,
            .serviceText = QString::fromUtf8(service), .productType = productType};
}

template <typename Change> WindowsVersionFacts with(WindowsVersionFacts f, Change change)
{
    change(f);
    return f;
}

struct Row {
    const char *name;
    WindowsVersionFacts facts;
    const char *text;
};

const Row Rows[] = {
    {"XpProfessional", nt(5, 1, 2600, "Service Pack 2"), "Microsoft Windows XP Professional Service Pack 2 (Build 2600)"},
    {"NewerThanVistaHasNoName", nt(6, 1, 7601, "Service Pack 1"), "Service Pack 1 (Build 7601)"},
    {"Windows95", with(nt(4, 0, 950), [](auto &f) { f.platformId = 1; }), "Microsoft Windows 95 (Build: 950 )"},
    {"Nt4WithoutExtendedRecord",
     with(nt(4, 0, 1381, "Service Pack 6"), [](auto &f) { f.extended = false; f.productOptions = "WinNT"; }),
     "Microsoft Windows NT Workstation 4.0Service Pack 6 (Build 1381)"},
    {"VistaRtm", with(nt(6, 0, 6000), [](auto &f) { f.wmiCaption = "Microsoft Windows Vista Business"; }),
     "Microsoft Windows Vista Business RTM  (Build 6000)"},
    {"VistaWithoutCaption", nt(6, 0, 6000), " RTM  (Build 6000)"},
    {"BuildComparedOnLow16Bits", nt(5, 0, 0x10000 + 5111), "Windows Neptune ( Developers Release )  (Build 70647)"},
    {"NoVersionRecord", with(WindowsVersionFacts(), [](auto &f) { f.versionRead = false; }),
     "Fehler bei der Ermittlung der Windows-Version"},
};

class WindowsVersionTextTest : public ::testing::TestWithParam<Row> {};
}

TEST_P(WindowsVersionTextTest, DescribesTheFacts)
{
    EXPECT_EQ(GetWindowsVersionText(GetParam().facts), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowsVersionTextTest, ::testing::ValuesIn(Rows),
                         [](const auto &info) { return std::string(info.param.name); });
