// Each job of the module page with its exact log and every byte it sends,
// and every way it can fail: the port, the connect dialog's abort, a module
// that does not answer, answers too few carriage returns or hangs up, a verify
// mismatch, a failed start, an image byte that is not hexadecimal, a
// definition whose pages the bootloader cannot take.
#include "BootloaderFixture.h"
#include "ModuleJobs.h"
#include "TestEnvironment.h"
#include "Utils.h"

using Action = ModuleSimulator::Action;
using Memory = ModuleSimulator::Memory;
using Job = ModuleJob;
using Result = ModuleJobResult;

namespace {
const QMap<TColor, QString> Colours {{clBlack, "black"}, {clBlue, "blue"}, {clGray, "grey"},
                                     {clGreen, "green"}, {clRed, "red"},   {clOlive, "olive"}};

// The log as text, one entry a line: its runs joined by "|", each run its
// colour, "*" for bold, "_" for underline, ":" and its text.
class TextLog : public ModuleJobLog {
public:
    void addLog(TFontStyles styles, TColor colour, const QString &text) override
    {
        open << Colours.value(colour) + (styles & fsBold ? "*" : "") + (styles & fsUnderline ? "_" : "") + ":" + text;
    }
    void addLogLine(TFontStyles styles, TColor colour, const QString &text) override
    {
        addLog(styles, colour, text);
        lines << open.join('|');
        open.clear();
    }
    QStringList lines, open;
};

const QStringList Heading {"blue*:T7200: |blue*:Mega328 Module", "blue:"}, Connected {"grey:T7210 ... |grey:T7260"};
const QStringList Succeeded {"green:T7250", "grey:"}, Failed {"red*:T7251", "grey:"};
const QByteArray FlashBytes = QByteArray(512, '\xFF') + pattern(128, 5) + QByteArray(384, '\xFF');
// The last EEPROM page is empty and is written and compared all the same.
const QByteArray EepromBytes = pattern(508, 3) + QByteArray(4, '\xFF');

// The frames of one walk over a memory's first `pages` pages: an address for
// each, a block for each flash page with data and for every EEPROM page.
QByteArray walk(char command, char memory, int pages = -1)
{
    const int pageSize = memory == 'F' ? 128 : 4;
    const QByteArray &bytes = memory == 'F' ? FlashBytes : EepromBytes;
    QByteArray frames;
    for (int address = 0; address < bytes.size() && pages-- != 0; address += pageSize) {
        const QByteArray page = bytes.mid(address, pageSize);
        frames += addressFrame(address);
        if (memory == 'E' || page.count('\xFF') < pageSize)
            frames += blockFrame(command, pageSize, memory) + (command == 'B' ? page : QByteArray());
    }
    return frames;
}
const QByteArray Handshake = "IS", Start = "IE", TwentyHandshakes = Handshake.repeated(20);

// The log after the heading: connected, the given lines, the summary.
QStringList ok(const QStringList &lines) { return Connected + lines + Succeeded; }
QStringList failed(const QStringList &lines) { return Connected + lines + Failed; }
const QStringList Hints {"olive*_:T7270", "olive:T7271", "olive:T7272", "grey:"};
QStringList unconnected(const QString &c) { return QStringList {"grey:T7210 ... |" + c + ":T7261"} + Failed + Hints; }
QStringList refused(const QString &why) { return QStringList {"grey:T7210 ... |red:T7261", "red:" + why} + Failed; }
// A step's line: its text, then its result.
QString done(int step) { return QStringLiteral("black:T%1 ... |green:T7260").arg(step); }
QString broke(int step) { return QStringLiteral("black:T%1 ... |red:T7261").arg(step); }

struct Scene { ModuleSimulator &sim; RecordingConnectDialog &dialog; ModuleJobSnapshot &snapshot; };

struct JobCase {
    const char *name;
    Job job;
    QStringList log = {};  // after the heading; empty: the job must not start
    QByteArray sent = {};  // every byte the module received
    std::function<void(Scene &)> arrange = {};
    bool verify = true, start = true;
};

void PrintTo(const JobCase &c, std::ostream *out) { *out << c.name; }

auto aborting = [](Scene &s) {
    s.sim.setEntersBootloaderAfter(1000);
    useProgramIdentificationWindow();
    s.dialog.onShow = [] { BootloaderAbort = true; };
};
auto fault = [](char c, int n, Action a, int v = 0, int at = 0) {
    return [=](Scene &s) { s.sim.addFault({c, n, a, v, 0, at}); };
};
}

class ModuleJobs : public BootloaderTest, public ::testing::WithParamInterface<JobCase> {};

TEST_P(ModuleJobs, RunsToItsEndWithItsLog)
{
    const JobCase &c = GetParam();
    sim.setEntersBootloaderAfter(0);
    THexContainer flash, eeprom;
    makeImage(flash, FlashBytes.size(), {{512, FlashBytes.mid(512, 128)}});
    makeImage(eeprom, EepromBytes.size(), {{0, EepromBytes}});
    flash.ImageMisfit = eeprom.ImageMisfit = false;
    const TModul modul = module();
    ModuleJobSnapshot snapshot = ModuleJobSnapshot::take(c.job, &modul, flash, eeprom, c.verify, c.verify,
                                                         [&] { return c.start; });
    Scene scene {sim, dialog, snapshot};
    if (c.arrange)
        c.arrange(scene);
    TextLog log;
    const ModuleJobResult result = runModuleJob(snapshot, *Bootloader, log);

    const bool succeeded = c.log.mid(c.log.size() - 2) == Succeeded;
    EXPECT_EQ(result, c.log.isEmpty() ? Result::NotStarted : succeeded ? Result::Succeeded : Result::Failed);
    EXPECT_EQ(log.lines, c.log.isEmpty() ? c.log : Heading + c.log);
    EXPECT_TRUE(log.open.isEmpty() && !Bootloader->IsOpen());
    EXPECT_EQ(sim.received(), c.sent);
    EXPECT_TRUE(sim.violations().isEmpty());
    for (const auto &exchange : sim.exchanges())
        if (exchange.request.startsWith("IB") && exchange.request.endsWith('F')) {
            EXPECT_GE(exchange.pauseBeforeDataMs, 15.0);  // the module's 20 ms before flash data
        }
    EXPECT_TRUE(!succeeded || c.job != Job::ProgramFlash || sim.memory(Memory::Flash) == FlashBytes);
    EXPECT_TRUE(!succeeded || c.job != Job::ProgramEeprom || sim.memory(Memory::Eeprom) == EepromBytes);
}

INSTANTIATE_TEST_SUITE_P(, ModuleJobs, ::testing::Values(
    JobCase {"EraseFlashOnlyNotesTheApplicationIsNotStarted", Job::EraseFlash, ok({done(7213), "olive:T7218"}), "ISIN"},
    JobCase {"ProgramFlashVerifiesAndStarts", Job::ProgramFlash, ok({done(7211), done(7212), "olive:T7217 ..."}),
             Handshake + walk('B', 'F') + walk('g', 'F') + Start},
    JobCase {"ProgramFlashWithoutVerifyOrStart", Job::ProgramFlash, ok({done(7211)}), Handshake + walk('B', 'F'), {},
             false, false},
    JobCase {"VerifyFlash", Job::VerifyFlash, ok({done(7212)}), Handshake + walk('g', 'F'),
             [](Scene &s) { s.sim.fill(Memory::Flash, 0, FlashBytes); }, true, false},
    JobCase {"FlashSmallerThanAPageHasNoPageToVerify", Job::VerifyFlash, ok({done(7212), "olive:T7217 ..."}),
             Handshake + Start, [](Scene &s) { s.snapshot.modul->FlashSize = 100; }},
    JobCase {"EraseEepromStarts", Job::EraseEeprom, ok({done(7216), "olive:T7217 ..."}), "ISIUIE"},
    JobCase {"ProgramEepromVerifies", Job::ProgramEeprom, ok({done(7214), done(7215)}),
             Handshake + walk('B', 'E') + walk('g', 'E'), {}, true, false},
    JobCase {"VerifyEepromMismatchNamesTheFirstDifference", Job::VerifyEeprom,
             failed({broke(7215), "red:Address 00037: buffer value: 0x06, read value: 0xFF"}),
             Handshake + walk('g', 'E', 10), [](Scene &s) {
                 s.sim.fill(Memory::Eeprom, 0, EepromBytes);
                 s.sim.setStuckByte(Memory::Eeprom, 37, 0xFF);
                 s.sim.setStuckByte(Memory::Eeprom, 38, 0x00);
             }},
    JobCase {"VerifyWithoutAnswerHasNoText", Job::VerifyFlash, failed({broke(7212)}), Handshake + walk('g', 'F', 2),
             [](Scene &s) {
                 Bootloader->VerifyErrorText = "from an earlier verify";
                 s.sim.addFault({'A', 2, Action::Drop});
             }},
    JobCase {"ProgramFailsSkipsVerifyAndStart", Job::ProgramFlash, failed({broke(7211)}), Handshake + walk('B', 'F', 5),
             fault('B', 1, Action::Replace, 'x')},
    JobCase {"EraseFlashWaitsForACarriageReturnPerPage", Job::EraseFlash, failed({broke(7213)}), "ISIN",
             fault('N', 1, Action::Drop, 0, 8)},
    JobCase {"EraseEepromWaitsForACarriageReturnPerByte", Job::EraseEeprom, failed({broke(7216)}), "ISIU",
             fault('U', 1, Action::Drop, 0, 512)},
    JobCase {"FailedStartKeepsTheJobsSuccess", Job::EraseEeprom, ok({done(7216), "red:T7218. T7219"}), "ISIUIE",
             fault('E', 1, Action::Replace, 'x')},
    JobCase {"PortThatWillNotOpen", Job::VerifyEeprom, unconnected("red"), {},
             [](Scene &) { CurrentComPort = "/nonexistent/ttyACM9"; }},
    JobCase {"ConnectAbortedDuringAnEraseIsGrey", Job::EraseFlash, unconnected("grey"), TwentyHandshakes, aborting},
    JobCase {"ConnectAbortedDuringAnEepromEraseIsGrey", Job::EraseEeprom, unconnected("grey"), TwentyHandshakes,
             aborting},
    JobCase {"ConnectAbortedDuringAVerifyIsRed", Job::VerifyFlash, unconnected("red"), TwentyHandshakes, aborting},
    JobCase {"HangUpWhileProgramming", Job::ProgramFlash, failed({broke(7211)}), Handshake + walk('B', 'F', 3),
             fault('A', 3, Action::HangUp)},
    JobCase {"ImageByteThatIsNotHexadecimal", Job::ProgramFlash, failed({broke(7211), "red:No Hex-Number"}),
             Handshake + walk('B', 'F', 3), [](Scene &s) {
                 QTemporaryDir folder;
                 writeFile(folder.filePath("bad.hex"), ":02010000Z1AA00\n:00000001FF\n");
                 s.snapshot.image.LoadFromFile(folder.filePath("bad.hex"));
                 s.snapshot.image.Resize(1023);
             }},
    JobCase {"FlashPageOfNoBytesIsRefusedBeforeOpening", Job::EraseFlash,
             refused("Mega328 Module: T7302"),
             {}, [](Scene &s) { s.snapshot.modul->FlashPageSize = 0; }},
    JobCase {"EepromPageTooLargeIsRefusedBeforeOpening", Job::ProgramEeprom,
             refused("Mega328 Module: T7303"),
             {}, [](Scene &s) { s.snapshot.modul->EEPromPageSize = 602; }},
    JobCase {"NoModuleChosen", Job::EraseFlash, {}, {}, [](Scene &s) { s.snapshot.modul.reset(); }},
    JobCase {"ImageThatDoesNotFit", Job::EraseEeprom, {}, {}, [](Scene &s) { s.snapshot.image.ImageMisfit = true; }}),
    [](const auto &info) { return std::string(info.param.name); });
