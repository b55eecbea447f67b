#include "ModuleJobs.h"

#include "Bootloader.h"
#include "Utils.h"

#include <array>

namespace {
// Texts of the module log.
constexpr int HeadingText = 7200;
constexpr int ConnectingText = 7210;
constexpr int ProgramFlashText = 7211;
constexpr int VerifyFlashText = 7212;
constexpr int EraseFlashText = 7213;
constexpr int ProgramEepromText = 7214;
constexpr int VerifyEepromText = 7215;
constexpr int EraseEepromText = 7216;
constexpr int ApplicationStartedText = 7217;
constexpr int ApplicationNotStartedText = 7218;
constexpr int NotStartedReasonText = 7219;
constexpr int JobSucceededText = 7250;
constexpr int JobFailedText = 7251;
constexpr int DoneText = 7260;
constexpr int FailedText = 7261;
constexpr std::array<int, 3> ConnectionHintTexts = {7270, 7271, 7272};
constexpr int FlashPagesRefusedText = 7302;
constexpr int EepromPagesRefusedText = 7303;

constexpr TFontStyles Plain = 0;
const QString Ellipsis = QStringLiteral(" ...");
const QString StepEnd = QStringLiteral(" ... ");

using StepOperation = bool (*)(tKalworksBootloader &, const TModul &, const THexContainer &);

struct Step {
    int text;
    StepOperation run;
    bool verifies;  // a failure is explained by the link's verify error text
};

// What sets the six jobs apart.
struct JobPlan {
    bool flash;                      // works on the flash, else on the EEPROM
    Step step;
    std::optional<Step> verifyAfter; // program jobs: the verify the user may ask for
    TColor connectFailedColour;      // an erase that could not connect is only a note
    bool startsApplication;          // a flash erase leaves nothing to start
};

const Step EraseFlashStep {EraseFlashText,
                           [](tKalworksBootloader &link, const TModul &modul, const THexContainer &) {
                               return link.EraseFlash(modul);
                           },
                           false};
const Step ProgramFlashStep {ProgramFlashText,
                             [](tKalworksBootloader &link, const TModul &modul, const THexContainer &image) {
                                 return link.ProgramFlash(modul, image);
                             },
                             false};
const Step VerifyFlashStep {VerifyFlashText,
                            [](tKalworksBootloader &link, const TModul &modul, const THexContainer &image) {
                                return link.VerifyFlash(modul, image);
                            },
                            true};
const Step EraseEepromStep {EraseEepromText,
                            [](tKalworksBootloader &link, const TModul &modul, const THexContainer &) {
                                return link.EraseEeprom(modul);
                            },
                            false};
const Step ProgramEepromStep {ProgramEepromText,
                              [](tKalworksBootloader &link, const TModul &modul, const THexContainer &image) {
                                  return link.ProgramEeprom(modul, image);
                              },
                              false};
const Step VerifyEepromStep {VerifyEepromText,
                             [](tKalworksBootloader &link, const TModul &modul, const THexContainer &image) {
                                 return link.VerifyEeprom(modul, image);
                             },
                             true};

const JobPlan &planOf(ModuleJob job)
{
    static const JobPlan eraseFlash {true, EraseFlashStep, std::nullopt, clGray, false};
    static const JobPlan programFlash {true, ProgramFlashStep, VerifyFlashStep, clRed, true};
    static const JobPlan verifyFlash {true, VerifyFlashStep, std::nullopt, clRed, true};
    static const JobPlan eraseEeprom {false, EraseEepromStep, std::nullopt, clGray, true};
    static const JobPlan programEeprom {false, ProgramEepromStep, VerifyEepromStep, clRed, true};
    static const JobPlan verifyEeprom {false, VerifyEepromStep, std::nullopt, clRed, true};
    switch (job) {
    case ModuleJob::EraseFlash: return eraseFlash;
    case ModuleJob::ProgramFlash: return programFlash;
    case ModuleJob::VerifyFlash: return verifyFlash;
    case ModuleJob::EraseEeprom: return eraseEeprom;
    case ModuleJob::ProgramEeprom: return programEeprom;
    case ModuleJob::VerifyEeprom: return verifyEeprom;
    }
    return verifyFlash;
}

bool isFlashJob(ModuleJob job)
{
    return planOf(job).flash;
}

QString text(int id)
{
    return Utility->Text(id);
}

// Why the bootloader cannot take the definition's pages; empty when it can.
QString pageSizeProblem(const TModul &modul, bool flash)
{
    const int pageSize = flash ? modul.FlashPageSize : modul.EEPromPageSize;
    if (tKalworksBootloader::UsablePageSize(pageSize, flash))
        return {};
    return modul.Name + QStringLiteral(": ")
           + text(flash ? FlashPagesRefusedText : EepromPagesRefusedText)
                 .arg(pageSize)
                 .arg(tKalworksBootloader::PageBufferSize);
}

// One job from its heading to its summary.
class JobRun {
public:
    JobRun(const ModuleJobSnapshot &snapshot, tKalworksBootloader &link, ModuleJobLog &log)
        : m_snapshot(snapshot), m_modul(*snapshot.modul), m_plan(planOf(snapshot.job)), m_link(link), m_log(log)
    {
    }

    ModuleJobResult run()
    {
        try {
            m_result = connectAndRunSteps();
        } catch (const std::exception &error) {
            fail(QString::fromUtf8(error.what()));
        } catch (...) {
            fail(Utility->UnknownErrorText());
        }
        if (m_opened)
            m_link.Close();
        try {
            writeSummary();
        } catch (...) {
            // The log is gone; the job has ended all the same.
        }
        return m_result ? ModuleJobResult::Succeeded : ModuleJobResult::Failed;
    }

private:
    bool connectAndRunSteps()
    {
        write(fsBold, clBlue, text(HeadingText) + QStringLiteral(": "));
        writeLine(fsBold, clBlue, m_modul.Name);
        writeLine(Plain, clBlue, QString());
        write(Plain, clGray, text(ConnectingText) + StepEnd);
        if (const QString problem = pageSizeProblem(m_modul, m_plan.flash); !problem.isEmpty()) {
            fail(problem);
            return false;
        }
        if (!m_link.Open()) {
            writeLine(Plain, clRed, text(FailedText));
            m_connectionFailed = true;
            return false;
        }
        m_opened = true;
        if (!m_link.Connect(m_modul)) {
            writeLine(Plain, m_plan.connectFailedColour, text(FailedText));
            m_connectionFailed = true;
            return false;
        }
        writeLine(Plain, clGray, text(DoneText));

        bool ok = runStep(m_plan.step);
        if (ok && m_plan.verifyAfter && m_snapshot.verifyAfterProgram)
            ok = runStep(*m_plan.verifyAfter);
        if (ok)
            startApplication();
        return ok;
    }

    bool runStep(const Step &step)
    {
        write(Plain, clBlack, text(step.text) + StepEnd);
        const bool ok = step.run(m_link, m_modul, m_snapshot.image);
        writeLine(Plain, ok ? clGreen : clRed, text(ok ? DoneText : FailedText));
        if (!ok && step.verifies && !m_link.VerifyErrorText.isEmpty())
            writeLine(Plain, clRed, m_link.VerifyErrorText);
        return ok;
    }

    // The job's own result stands whatever the start gives.
    void startApplication()
    {
        if (!m_snapshot.startApplication || !m_snapshot.startApplication())
            return;
        if (!m_plan.startsApplication)
            writeLine(Plain, clOlive, text(ApplicationNotStartedText));
        else if (m_link.StartApplication())
            writeLine(Plain, clOlive, text(ApplicationStartedText) + Ellipsis);
        else
            writeLine(Plain, clRed,
                      text(ApplicationNotStartedText) + QStringLiteral(". ") + text(NotStartedReasonText));
    }

    // Ends the line that is open with the failure and gives the reason below it.
    void fail(const QString &reason) noexcept
    {
        m_result = false;
        try {
            if (m_lineOpen)
                writeLine(Plain, clRed, text(FailedText));
            writeLine(Plain, clRed, reason);
        } catch (...) {
            // No texts or no log: the summary tries once more.
        }
    }

    void writeSummary()
    {
        if (m_result)
            writeLine(Plain, clGreen, text(JobSucceededText));
        else
            writeLine(fsBold, clRed, text(JobFailedText));
        writeLine(Plain, clGray, QString());
        if (!m_connectionFailed)
            return;
        writeLine(fsBold | fsUnderline, clOlive, text(ConnectionHintTexts[0]));
        for (std::size_t i = 1; i < ConnectionHintTexts.size(); ++i)
            writeLine(Plain, clOlive, text(ConnectionHintTexts[i]));
        writeLine(Plain, clGray, QString());
    }

    void write(TFontStyles styles, TColor colour, const QString &runText)
    {
        m_log.addLog(styles, colour, runText);
        m_lineOpen = true;
    }

    void writeLine(TFontStyles styles, TColor colour, const QString &lineText)
    {
        m_log.addLogLine(styles, colour, lineText);
        m_lineOpen = false;
    }

    const ModuleJobSnapshot &m_snapshot;
    const TModul &m_modul;
    const JobPlan &m_plan;
    tKalworksBootloader &m_link;
    ModuleJobLog &m_log;
    bool m_result = false;
    bool m_opened = false;
    bool m_connectionFailed = false;  // the port would not open or the module not answer
    bool m_lineOpen = false;
};
}

ModuleJobSnapshot ModuleJobSnapshot::take(ModuleJob job, const TModul *chosen, const THexContainer &flashImage,
                                          const THexContainer &eepromImage, bool verifyFlash, bool verifyEeprom,
                                          std::function<bool()> startApplication)
{
    const bool flash = isFlashJob(job);
    ModuleJobSnapshot snapshot;
    snapshot.job = job;
    if (chosen)
        snapshot.modul = *chosen;
    snapshot.image = flash ? flashImage : eepromImage;
    snapshot.verifyAfterProgram = flash ? verifyFlash : verifyEeprom;
    snapshot.startApplication = std::move(startApplication);
    return snapshot;
}

bool ModuleJobSnapshot::ready() const
{
    return modul.has_value() && image.ImageLoaded && !image.ImageMisfit;
}

ModuleJobResult runModuleJob(const ModuleJobSnapshot &snapshot, tKalworksBootloader &link, ModuleJobLog &log) noexcept
{
    if (!snapshot.ready())
        return ModuleJobResult::NotStarted;
    return JobRun(snapshot, link, log).run();
}

ModuleJobBusy::ModuleJobBusy(std::function<void(bool)> setEnabled) : m_setEnabled(std::move(setEnabled))
{
    m_setEnabled(false);
}

ModuleJobBusy::~ModuleJobBusy()
{
    m_setEnabled(true);
}
