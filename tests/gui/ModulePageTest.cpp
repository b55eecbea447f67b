// The module page's buttons against the module simulator on a pseudo-terminal:
// every job reaches the log and leaves the window idle, and while a job waits
// for the module's reset the window refuses to close, to change page or to clear the log.
#include "GuiFixture.h"

#include "Bootloader.h"
#include "ConnectBootloaderDialog.h"
#include "LogWriter.h"
#include "ModuleSimulator.h"

using Memory = ModuleSimulator::Memory;

namespace {
constexpr int FlashSize = 1024, EepromSize = 512;
const QByteArray ModuleDefinition = "[Mega328 Module]\nCategorie=1\nFlashSize=1024\nFlashPageSize=128\n"
                                    "EEPromSize=512\nEEPromPageSize=4\n";
const QString Busy = "idle 0, groups 00, menu 0, port 0 blue 0, pressed 0, start box 1";
const QString Idle = "idle 1, groups 11, menu 1, port 1 blue 2, pressed 1, start box 1";

// How the module answers the handshake.
enum class Module { Ready, SilentUntilReset, SilentUntilAbort };
// What is chosen as the flash file.
enum class FlashFile { Hex, None, NotHex };

struct JobRow {
    const char *name;
    QToolButton *TMainFrm::*button;
    QString log;  // after the heading, lines joined by "|"; empty: the job must not start
    Module module = Module::Ready;
    FlashFile flash = FlashFile::Hex;
};
void PrintTo(const JobRow &row, std::ostream *out) { *out << row.name; }

QString logOf(const QString &lines)
{
    return lines.isEmpty() ? QString() : QString("T7200: Mega328 Module||" + lines + "|").replace('|', '\n');
}
}

class ModuleJobButtons : public GuiTest, public ::testing::WithParamInterface<JobRow> {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        InitBootloaderModule();
        writeDefinitions(ModuleDefinition);
        writeSetting("Interface", "ProgrammerCom", sim.portPath());
        writeSetting("ProgramOptions", "Targetsystem", "1");
    }
    void TearDown() override
    {
        Form1 = nullptr;  // a child of the window
        window.reset();
        FinalizeBootloaderModule();
        GuiTest::TearDown();
    }
    QString state(QToolButton *pressed) const
    {
        // How many of the port's text colours are blue in the chooser's present state.
        const QPalette &port = window->ComboBox1->palette();
        const QColor blue = ColourFromBgr(clBlue);
        const int blueTexts = (port.text().color() == blue) + (port.buttonText().color() == blue);
        return QString("idle %1, groups %2%3, menu %4, port %5 blue %6, pressed %7, start box %8")
            .arg(OperationIdle).arg(window->grp_ProgFlash->isEnabled()).arg(window->grp_ProgEEProm->isEnabled())
            .arg(window->menuBar()->isEnabled()).arg(window->ComboBox1->isEnabled()).arg(blueTexts)
            .arg(pressed->isEnabledTo(pressed->parentWidget())).arg(window->chk_Module_StartApplication->isEnabled());
    }

    ModuleSimulator sim {{FlashSize, 128, EepromSize, 4}};
    std::unique_ptr<TMainFrm> window;
};

TEST_P(ModuleJobButtons, RunTheirJobIntoTheLogAndLeaveTheWindowIdle)
{
    const JobRow &row = GetParam();
    if (row.module == Module::Ready)
        sim.setEntersBootloaderAfter(0);
    window = createWindow();
    Form1 = new TForm1(window.get());
    window->show();
    chooseEntry(window->cbb_MicrocontrollerModule, 0);
    const QString flashFile = writeHexFile("flash.hex", FlashSize, 1);
    if (row.flash == FlashFile::Hex)
        window->LoadFlashFile(flashFile);
    if (row.flash == FlashFile::NotHex) {  // the compiler's ELF output beside the HEX file
        const QString elf = files.filePath("flash.elf");
        writeFile(elf, "\x7F" "ELF\x02\x01\x01");
        window->LoadFlashFile(elf);
    }
    window->LoadEepromFile(writeHexFile("eeprom.eep", EepromSize, 2));
    window->vst_Auswahl->requestFocus(TMainFrm::NodeProgram);
    window->redt_Status->clear();
    QToolButton *pressed = (*window).*row.button;
    ASSERT_TRUE(pressed->isEnabled());

    // Runs at the job's first log line, when the job lets events through.
    QString during;
    QTimer::singleShot(0, window.get(), [&] { during = state(pressed); });
    // A silent module keeps the job in its connect loop until the dialog's answer.
    bool asked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, window.get(), [&] {
        if (asked || !Form1->isVisible())
            return;
        asked = true;
        EXPECT_TRUE(sim.waitForReceived(2 * 20, 2000)) << "the dialog came before 20 handshakes";
        const bool closed = window->close();
        window->vst_Auswahl->requestFocus(TMainFrm::NodeTarget);
        window->btn_ClearLog->click();
        EXPECT_EQ(joined({closed, window->vst_Auswahl->focusedNode(), logText(*window)}),
                  joined({false, TMainFrm::NodeProgram, logOf("T7210 ... ").chopped(1)}));
        // A changed image file is asked about once the job has ended.
        QFile file(flashFile);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
        window->ApplicationActivated();
        EXPECT_TRUE(ui.questions.isEmpty());
        // The start box stays usable and is read only after the job's steps.
        window->chk_Module_StartApplication->setChecked(false);
        if (row.module == Module::SilentUntilReset)
            sim.pressReset();
        else
            QTest::mouseClick(Form1->SpeedButton1, Qt::LeftButton);
    });
    poll.start(5);

    pressed->click();
    QCoreApplication::processEvents();

    EXPECT_EQ(joined({during, state(pressed), asked, ui.questions.size(), Form1->isVisible(), logText(*window)}),
              joined({row.log.isEmpty() ? Idle : Busy, Idle, row.module != Module::Ready,
                      row.module != Module::Ready ? 1 : 0, false, logOf(row.log)}));
    const QList<ModuleSimulator::Exchange> exchanges = sim.exchanges();
    EXPECT_EQ(std::ranges::count_if(exchanges, [](const auto &e) { return e.request.startsWith("IE"); }),
              row.log.contains("T7217 ...") ? 1 : 0);
    EXPECT_TRUE(!row.log.isEmpty() || sim.received().isEmpty());
    EXPECT_TRUE(!row.log.contains("T7214 ... T7260") || sim.memory(Memory::Eeprom) == pattern(EepromSize, 2));
    EXPECT_TRUE(!row.log.contains("T7211 ... T7260") || sim.memory(Memory::Flash) == pattern(FlashSize, 1));
}

INSTANTIATE_TEST_SUITE_P(, ModuleJobButtons, ::testing::Values(
    JobRow {"EraseFlash", &TMainFrm::btn_Module_FlashErase, "T7210 ... T7260|T7213 ... T7260|T7218|T7250|"},
    JobRow {"ProgramFlashVerifiesAndStarts", &TMainFrm::btn_Module_ProgramFlash,
            "T7210 ... T7260|T7211 ... T7260|T7212 ... T7260|T7217 ...|T7250|"},
    JobRow {"VerifyFlashOfAnErasedModule", &TMainFrm::btn_Module_VerifyFlash,
            "T7210 ... T7260|T7212 ... T7261|Address 00000: buffer value: 0x01, read value: 0xFF|T7251|"},
    JobRow {"EraseEeprom", &TMainFrm::btn_Module_EepromErase, "T7210 ... T7260|T7216 ... T7260|T7217 ...|T7250|"},
    JobRow {"ProgramEepromVerifiesAndStarts", &TMainFrm::btn_Module_ProgramEeprom,
            "T7210 ... T7260|T7214 ... T7260|T7215 ... T7260|T7217 ...|T7250|"},
    JobRow {"VerifyEepromOfAnErasedModule", &TMainFrm::btn_Module_VerifyEeprom,
            "T7210 ... T7260|T7215 ... T7261|Address 00000: buffer value: 0x02, read value: 0xFF|T7251|"},
    JobRow {"EraseFlashWithoutItsImageDoesNothing", &TMainFrm::btn_Module_FlashErase, "", Module::Ready,
            FlashFile::None},
    JobRow {"EraseFlashForAFileThatIsNoHexDoesNothing", &TMainFrm::btn_Module_FlashErase, "", Module::Ready,
            FlashFile::NotHex},
    JobRow {"ResetWhileWaitingRunsTheJobWithoutTheStart", &TMainFrm::btn_Module_ProgramFlash,
            "T7210 ... T7260|T7211 ... T7260|T7212 ... T7260|T7250|", Module::SilentUntilReset},
    JobRow {"AbortWhileWaitingEndsWithTheHints", &TMainFrm::btn_Module_FlashErase,
            "T7210 ... T7261|T7251||T7270|T7271|T7272|", Module::SilentUntilAbort}),
    [](const auto &info) { return std::string(info.param.name); });
