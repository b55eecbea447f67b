// The link itself and its connect loop: identification, the loop's dialog and
// abort, stale input, pacing, and a close that fails.
#include "BootloaderFixture.h"

#include "SerialPort.h"
#include "Utils.h"

#include <QElapsedTimer>

using Action = ModuleSimulator::Action;
using Connecting = BootloaderTest;

namespace {
struct LoopCase {
    const char *name;
    std::function<void(ModuleSimulator &)> arrange;  // on the open port
    bool connects;
    int handshakes;    // the "IS" requests the module saw (at most, where timing decides)
    int shownAt = -1;  // handshakes seen when the dialog showed; -1: never shown
    std::function<void(ModuleSimulator &)> onShow = {};  // else the user aborts
    int entersBootloaderAfter = 0;
    const char *moduleName = "Mega328 Module";
    bool opens = true;   // Connect itself does not open the port
    int shownAfterMs = 0;  // at least, since the loop started
};

void PrintTo(const LoopCase &c, std::ostream *out) { *out << c.name; }

// The module runs its application, which ignores the handshakes, until the
// user resets it at the dialog; its bootloader's first two answers come garbled.
void resetGarbledTwice(ModuleSimulator &sim)
{
    Bootloader->setTimeouts(answeringTimeouts());
    for (const int occurrence : {1, 2})
        sim.addFault({'S', occurrence, Action::Replace, 'X', 0, 1});
    sim.pressReset();
}
constexpr int NeverByItself = 1000;  // handshakes before the application enters the bootloader

const LoopCase LoopCases[] = {
    {"DialogAppearsOnceAtTheTwentiethFailureAndTheResetConnects", [](ModuleSimulator &) { useProgramIdentificationWindow(); },
     true, 23, 20, resetGarbledTwice, NeverByItself},
    {"OtherProtocolVersionIsRetriedLikeSilence",
     [](ModuleSimulator &sim) { sim.setIdentification("MEGA328 MODULE", 1); }, true, 21, 20,
     [](ModuleSimulator &sim) { sim.setIdentification("MEGA328 MODULE", 0); }},
    {"LowerCaseDefinitionNameExpectsItInCapitals",
     [](ModuleSimulator &sim) { sim.setIdentification("MEGA328 MODULE rev B"); }, true, 1, -1, {}, 0,
     "mega328 module"},
    // A shifted answer would never match.
    {"StrayInputAfterOpeningDoesNotShiftTheAnswers",
     [](ModuleSimulator &sim) { sim.sendStray(QByteArray("\x0D\x0D" "DT\x00MEG", 8)); }, true, 1},
    // Eight bytes of the first answer come only once the second "IS" went
    // out; the second answer's tail is then left over for the third attempt.
    {"LatePartialAnswerSpoilsOneAttemptAtMost",
     [](ModuleSimulator &sim) { sim.addFault({'S', 1, Action::Truncate, 8, 0, 0, true}); }, true, 3},
    {"HangUpEndsOnlyByAbortAndLeavesALinkThatCloses", [](ModuleSimulator &sim) { sim.hangUp(); }, false, 0, 0},
    // Twenty failed attempts of at least 20 ms each come before the dialog.
    {"ClosedPortFailsEveryAttemptAtAPaceTheUserCanAbort", nullptr, false, 0, 0, {}, 0, "Mega328 Module", false,
     19 * 20},
};

class ConnectLoop : public BootloaderTest, public ::testing::WithParamInterface<LoopCase> {};
}

TEST_P(ConnectLoop, EndsAsTheModuleAnswers)
{
    const LoopCase &c = GetParam();
    sim.setEntersBootloaderAfter(c.entersBootloaderAfter);
    ASSERT_TRUE(!c.opens || Bootloader->Open());
    if (c.arrange)
        c.arrange(sim);
    int shownAt = -1;
    qint64 shownAfterMs = -1;
    QElapsedTimer clock;
    dialog.onShow = [&] {
        shownAt = sim.handshakesSeen();
        shownAfterMs = clock.elapsed();
        c.onShow ? c.onShow(sim) : void(BootloaderAbort = true);
    };
    clock.start();
    EXPECT_EQ(Bootloader->Connect(module(c.moduleName)), c.connects);
    EXPECT_EQ(shownAt, c.shownAt);
    EXPECT_GE(shownAfterMs, c.shownAt >= 0 ? c.shownAfterMs : -1);
    EXPECT_TRUE(c.opens || sim.received().isEmpty());
    EXPECT_EQ(dialog.shows, c.shownAt >= 0 ? 1 : 0);
    EXPECT_EQ(dialog.closes, 1);
    EXPECT_EQ(sim.handshakesSeen(), c.handshakes);
    Bootloader->Close();
    EXPECT_FALSE(Bootloader->IsOpen());
}

INSTANTIATE_TEST_SUITE_P(, ConnectLoop, ::testing::ValuesIn(LoopCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Connecting, IdentifierIsFilteredThenMustBeginWithTheUpperCaseName)
{
    struct Case {
        QByteArray identifier;
        QByteArray expected;
        tKalworksBootloader::HandshakeResult result;
        std::uint8_t version = 0;
    };
    const Case cases[] = {
        {"MEGA328 MODULE rev B", "MEGA328 MODULE", tKalworksBootloader::Connected},
        {"mega328 module", "MEGA328 MODULE", tKalworksBootloader::NoAnswer},
        {"MEGA328", "MEGA328 MODULE", tKalworksBootloader::NoAnswer},
        {QByteArray("MEGA328\0 MOD_ULE", 16), "MEGA328 MODULE", tKalworksBootloader::Connected},
        {"ME/GA\xE4" "328-1.0", "MEGA328-1.0", tKalworksBootloader::Connected},
        {"anything at all", "", tKalworksBootloader::Connected},
        // Bytes past the 31 of the identifier are not part of it.
        {QByteArray(30, 'X') + "YZ", QByteArray(30, 'X') + "Y", tKalworksBootloader::Connected},
        {QByteArray(30, 'X') + "YZ", QByteArray(30, 'X') + "YZ", tKalworksBootloader::NoAnswer},
        {"MEGA328 MODULE", "MEGA328 MODULE", tKalworksBootloader::OtherVersion, 1},
    };
    openModuleInBootloader();
    for (const Case &c : cases) {
        sim.setIdentification(c.identifier, c.version);
        EXPECT_EQ(Bootloader->Handshake(c.expected, 0), c.result) << c.identifier.toStdString();
    }
}

TEST_F(Connecting, WrongHeaderShortLateOrSlowIdentificationIsNoAnswer)
{
    sim.addFault({'S', 2, Action::Truncate, 255});
    sim.addFault({'S', 3, Action::Answer, 0, 0, 0, true});
    openModuleInBootloader();
    sim.setIdentification("MEGA328 MODULE", 0, "DX");
    EXPECT_EQ(Bootloader->Handshake("MEGA328 MODULE", 0), tKalworksBootloader::NoAnswer);
    sim.setIdentification("MEGA328 MODULE");
    EXPECT_EQ(Bootloader->Handshake("MEGA328 MODULE", 0), tKalworksBootloader::NoAnswer);
    sim.setIdentification("MEGA328 MODULE", 1);  // what the late answer says, should it be taken
    EXPECT_EQ(Bootloader->Handshake("MEGA328 MODULE", 0), tKalworksBootloader::NoAnswer);
    sim.setIdentification("MEGA328 MODULE");
    sim.releaseHeld();  // the late answer arrives, and the next handshake must not take it
    EXPECT_EQ(Bootloader->Handshake("MEGA328 MODULE", 0), tKalworksBootloader::Connected);

    // The program's window holds the identification at the module's line rate...
    constexpr double LineMsAtTheModulesRate = 256 * 10 * 1000.0 / tKalworksBootloader::BaudRate;  // 10.24 ms
    EXPECT_GT(BootloaderTimeouts().identification, LineMsAtTheModulesRate);
    sim.setLineRate(tKalworksBootloader::BaudRate);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Bootloader->Handshake("MEGA328 MODULE", 0), tKalworksBootloader::Connected);
    EXPECT_GE(clock.elapsed(), 10);
    // ...but not at a rate that needs longer than it: 256 ms, far beyond any wait for the scheduler.
    useProgramIdentificationWindow();
    sim.setLineRate(10000);
    EXPECT_EQ(Bootloader->Handshake("MEGA328 MODULE", 0), tKalworksBootloader::NoAnswer);
}

TEST_F(Connecting, AnswerTakenByTheNextAttemptLeavesNothingForTheFirstMemoryCommand)
{
    // The first answer comes only once the second "IS" went out: the first
    // attempt gives up, the second takes the first answer. The answer to the
    // second request follows a while later, after Connect has succeeded and
    // well before the link has waited out a late answer.
    constexpr int TrailingAnswerMs = 200;
    sim.addFault({'S', 1, Action::Answer, 0, 0, 0, true});
    sim.addFault({'S', 2, Action::Answer, 0, TrailingAnswerMs});
    openModuleInBootloader();
    ASSERT_TRUE(Bootloader->Connect(module()));
    EXPECT_EQ(sim.handshakesSeen(), 2);
    EXPECT_TRUE(Bootloader->EraseFlash(module()));
    EXPECT_EQ(sim.received(), "ISISIN");
}

TEST_F(Connecting, InputLeftFromBeforeTheOpenIsDiscarded)
{
    sim.setEntersBootloaderAfter(0);
    sim.sendStray("\x0A");
    ASSERT_TRUE(Bootloader->Open());
    EXPECT_TRUE(Bootloader->StartApplication());
    EXPECT_EQ(sim.received(), "IE");
}

TEST_F(Connecting, ReadAndWriteOnAClosedPortFailQuietly)
{
    std::uint8_t byte = 'I';
    EXPECT_FALSE(Bootloader->Write(&byte, 1));
    EXPECT_FALSE(Bootloader->Read(&byte, 1, 10));
    CurrentComPort = "/nonexistent/tty";
    EXPECT_FALSE(Bootloader->Open());
}

namespace {
// A port whose close fails the first time, as a removed USB adapter's can.
class FailingCloseBootloader : public tKalworksBootloader {
protected:
    void closePort(SerialPort &port) override
    {
        if (failures-- > 0)
            throw SerialIoError("close failed");
        tKalworksBootloader::closePort(port);
    }

private:
    int failures = 1;
};
}

TEST_F(Connecting, FailedCloseLogsAndStartsOverWithAFreshPortOfTheFirstSettings)
{
    sim.setEntersBootloaderAfter(0);
    FailingCloseBootloader link;
    link.setTimeouts(answeringTimeouts());
    ASSERT_TRUE(link.Open());
    EXPECT_EQ(link.Handshake("MEGA328 MODULE", 0), tKalworksBootloader::Connected);
    link.Close();
    const QList<LogLine> removed = {{0, clRed, QStringLiteral("COM PORT ERROR: Port removed!")}};
    EXPECT_EQ(mainWindow.log, removed);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(std::tuple(link.port().readTimeout(), link.port().writeTimeout(), link.port().portName()),
              std::tuple(2000, 2000, sim.portPath()));
    ASSERT_TRUE(link.Open());
    EXPECT_EQ(link.Handshake("MEGA328 MODULE", 0), tKalworksBootloader::Connected);
    link.Close();
    EXPECT_EQ(mainWindow.log, removed);
}
