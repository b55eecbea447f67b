// Each job of the module page with its exact log, and every way it can fail:
// the port, the connect dialog's abort, a module that does not answer or
// hangs up, a verify mismatch, a failed start, an image byte that is not
// hexadecimal, a definition whose pages the bootloader cannot take.
#include "BootloaderFixture.h"
#include "ModuleJobs.h"
#include "TestEnvironment.h"
#include "Utils.h"

using Fault = ModuleSimulator::Fault;
using Action = ModuleSimulator::Action;
using Memory = ModuleSimulator::Memory;
using Result = ModuleJobResult;

namespace {
// The log as text, one entry a line: its runs joined by "|", each run its
// colour, "*" for bold, "_" for underline, ":" and its text.
class TextLog : public ModuleJobLog {
public:
    void addLog(TFontStyles styles, TColor colour, const QString &text) override
    {
        static const QMap<TColor, QString> names {{clBlack, "black"}, {clBlue, "blue"}, {clGray, "grey"},
                                                  {clGreen, "green"}, {clRed, "red"},   {clOlive, "olive"}};
        open << names.value(colour, QString::number(colour, 16)) + (styles & fsBold ? "*" : "")
                    + (styles & fsUnderline ? "_" : "") + ":" + text;
    }
    void addLogLine(TFontStyles styles, TColor colour, const QString &text) override
    {
        addLog(styles, colour, text);
        lines << open.join('|');
        open.clear();
    }
    QStringList lines, open;
};

const QStringList Connected {"grey:T7210 ... |grey:T7260"};
const QStringList Succeeded {"green:T7250", "grey:"};
const QStringList Failed {"red*:T7251", "grey:"};
const QStringList Hints {"olive*_:T7270", "olive:T7271", "olive:T7272", "grey:"};
const QByteArray FlashBytes = QByteArray(512, '\xFF') + pattern(128, 5) + QByteArray(384, '\xFF');
const QByteArray EepromBytes = pattern(512, 3);

// What a case may change before the job runs.
struct Scene {
    ModuleSimulator &sim;
    RecordingConnectDialog &dialog;
    ModuleJobSnapshot &snapshot;
};

struct JobCase {
    const char *name;
    ModuleJob job;
    QStringList log = {};  // after the heading
    Result result = Result::Failed;
    std::function<void(Scene &)> arrange = [](Scene &) {};
    bool verify = true, start = true;
    bool started = false;  // "IE" went out
    bool opens = true;     // false: the port must stay untouched
};
void PrintTo(const JobCase &c, std::ostream *out) { *out << c.name; }

auto aborting = [](Scene &s) {
    s.sim.setEntersBootloaderAfter(1000);
    s.dialog.onShow = [] { BootloaderAbort = true; };
};
auto holding = [](Memory memory, const QByteArray &bytes) {
    return [=](Scene &s) { s.sim.fill(memory, 0, bytes); };
};
QStringList operator+(const QStringList &a, const char *b) { return a + QStringList {b}; }
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
    c.arrange(scene);
    TextLog log;

    EXPECT_EQ(runModuleJob(snapshot, *Bootloader, log), c.result);

    const QStringList heading {"blue*:T7200: |blue*:Mega328 Module", "blue:"};
    EXPECT_EQ(log.lines, c.result == Result::NotStarted ? QStringList() : heading + c.log);
    EXPECT_TRUE(log.open.isEmpty());
    EXPECT_FALSE(Bootloader->IsOpen());
    EXPECT_EQ(sim.received().contains("IE"), c.started);
    if (c.result == Result::Succeeded && (c.job == ModuleJob::ProgramFlash || c.job == ModuleJob::ProgramEeprom)) {
        EXPECT_EQ(sim.memory(c.job == ModuleJob::ProgramFlash ? Memory::Flash : Memory::Eeprom),
                  c.job == ModuleJob::ProgramFlash ? FlashBytes : EepromBytes);
    }
    if (!c.opens) {
        EXPECT_EQ(sim.received(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(, ModuleJobs, ::testing::Values(
    JobCase {.name = "EraseFlashOnlyNotesTheApplicationIsNotStarted", .job = ModuleJob::EraseFlash,
             .log = Connected + "black:T7213 ... |green:T7260" + "olive:T7218" + Succeeded, .result = Result::Succeeded},
    JobCase {.name = "ProgramFlashVerifiesAndStarts", .job = ModuleJob::ProgramFlash,
             .log = Connected + "black:T7211 ... |green:T7260" + "black:T7212 ... |green:T7260" + "olive:T7217 ..."
                 + Succeeded, .result = Result::Succeeded, .started = true},
    JobCase {.name = "ProgramFlashWithoutVerifyOrStart", .job = ModuleJob::ProgramFlash,
             .log = Connected + "black:T7211 ... |green:T7260" + Succeeded, .result = Result::Succeeded,
             .verify = false, .start = false},
    JobCase {.name = "VerifyFlash", .job = ModuleJob::VerifyFlash,
             .log = Connected + "black:T7212 ... |green:T7260" + Succeeded, .result = Result::Succeeded,
             .arrange = holding(Memory::Flash, FlashBytes), .start = false},
    JobCase {.name = "EraseEepromStarts", .job = ModuleJob::EraseEeprom,
             .log = Connected + "black:T7216 ... |green:T7260" + "olive:T7217 ..." + Succeeded,
             .result = Result::Succeeded, .started = true},
    JobCase {.name = "ProgramEepromVerifies", .job = ModuleJob::ProgramEeprom,
             .log = Connected + "black:T7214 ... |green:T7260" + "black:T7215 ... |green:T7260" + Succeeded,
             .result = Result::Succeeded, .start = false},
    JobCase {.name = "VerifyEepromMismatchGivesItsText", .job = ModuleJob::VerifyEeprom,
             .log = Connected + "black:T7215 ... |red:T7261" + "red:Address 00037: buffer value: 0x06, read value: 0xFF"
                 + Failed,
             .arrange = [](Scene &s) {
                 s.sim.fill(Memory::Eeprom, 0, EepromBytes);
                 s.sim.setStuckByte(Memory::Eeprom, 37, 0xFF);
             }},
    JobCase {.name = "VerifyWithoutAnswerHasNoText", .job = ModuleJob::VerifyFlash,
             .log = Connected + "black:T7212 ... |red:T7261" + Failed,
             .arrange = [](Scene &s) { s.sim.addFault({'A', 2, Action::Drop}); }},
    JobCase {.name = "ProgramFailsSkipsVerifyAndStart", .job = ModuleJob::ProgramFlash,
             .log = Connected + "black:T7211 ... |red:T7261" + Failed,
             .arrange = [](Scene &s) { s.sim.addFault({'B', 1, Action::Replace, 'x'}); }},
    JobCase {.name = "FailedStartKeepsTheJobsSuccess", .job = ModuleJob::EraseEeprom,
             .log = Connected + "black:T7216 ... |green:T7260" + "red:T7218. T7219" + Succeeded,
             .result = Result::Succeeded, .arrange = [](Scene &s) { s.sim.addFault({'E', 1, Action::Replace, 'x'}); },
             .started = true},
    JobCase {.name = "PortThatWillNotOpen", .job = ModuleJob::VerifyEeprom,
             .log = QStringList {"grey:T7210 ... |red:T7261"} + Failed + Hints,
             .arrange = [](Scene &) { CurrentComPort = "/nonexistent/ttyACM9"; }},
    JobCase {.name = "ConnectAbortedDuringAnEraseIsGrey", .job = ModuleJob::EraseFlash,
             .log = QStringList {"grey:T7210 ... |grey:T7261"} + Failed + Hints, .arrange = aborting},
    JobCase {.name = "ConnectAbortedDuringAVerifyIsRed", .job = ModuleJob::VerifyFlash,
             .log = QStringList {"grey:T7210 ... |red:T7261"} + Failed + Hints, .arrange = aborting},
    JobCase {.name = "HangUpWhileProgramming", .job = ModuleJob::ProgramFlash,
             .log = Connected + "black:T7211 ... |red:T7261" + Failed,
             .arrange = [](Scene &s) { s.sim.addFault({'A', 3, Action::HangUp}); }},
    JobCase {.name = "ImageByteThatIsNotHexadecimal", .job = ModuleJob::ProgramFlash,
             .log = Connected + "black:T7211 ... |red:T7261" + "red:No Hex-Number" + Failed,
             .arrange = [](Scene &s) {
                 QTemporaryDir folder;
                 writeFile(folder.filePath("bad.hex"), ":02010000Z1AA00\n:00000001FF\n");
                 s.snapshot.image.LoadFromFile(folder.filePath("bad.hex"));
                 s.snapshot.image.Resize(1023);
                 s.snapshot.image.ImageMisfit = false;
             }},
    JobCase {.name = "FlashPageOfNoBytesIsRefusedBeforeOpening", .job = ModuleJob::EraseFlash,
             .log = QStringList {"grey:T7210 ... |red:T7261", "red:Mega328 Module: flash pages of 0 bytes cannot be "
                                 "transferred (1 to 601 bytes, an even number)"} + Failed,
             .arrange = [](Scene &s) { s.snapshot.modul->FlashPageSize = 0; }, .opens = false},
    JobCase {.name = "EepromPageTooLargeIsRefusedBeforeOpening", .job = ModuleJob::ProgramEeprom,
             .log = QStringList {"grey:T7210 ... |red:T7261",
                                 "red:Mega328 Module: EEPROM pages of 602 bytes cannot be transferred (1 to 601 bytes)"}
                 + Failed, .arrange = [](Scene &s) { s.snapshot.modul->EEPromPageSize = 602; }, .opens = false},
    JobCase {.name = "NoModuleChosen", .job = ModuleJob::EraseFlash, .result = Result::NotStarted,
             .arrange = [](Scene &s) { s.snapshot.modul.reset(); }, .opens = false},
    JobCase {.name = "ImageNotLoaded", .job = ModuleJob::EraseEeprom, .result = Result::NotStarted,
             .arrange = [](Scene &s) { s.snapshot.image.ImageLoaded = false; }, .opens = false},
    JobCase {.name = "ImageThatDoesNotFit", .job = ModuleJob::VerifyFlash, .result = Result::NotStarted,
             .arrange = [](Scene &s) { s.snapshot.image.ImageMisfit = true; }, .opens = false}),
    [](const auto &info) { return std::string(info.param.name); });
