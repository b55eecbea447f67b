// The log window and what the device routines write into the main window.
#include "uMain.h"

#include "Exceptions.h"
#include "LogWriter.h"
#include "RadioGroup.h"
#include "RtfWriter.h"
#include "UiServices.h"
#include "Utils.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QTextEdit>

namespace {
constexpr int SaveLogTitle = 76;
constexpr int SaveLogFilter = 77;
constexpr int OverwriteQuestion = 78;
using SettingsSection::ProgramOptions;
const QString LastLogDir = QStringLiteral("LastLogDir");
}

void TMainFrm::AddLogLine(TFontStyles styles, TColor colour, const QString &text)
{
    AppendLog(*redt_Status, styles, colour, text, true);
}

void TMainFrm::AddLog(TFontStyles styles, TColor colour, const QString &text, bool newLine)
{
    AppendLog(*redt_Status, styles, colour, text, newLine);
}

void TMainFrm::btn_ClearLogClick()
{
    if (OperationIdle)
        redt_Status->clear();
}

void TMainFrm::btn_SaveLogClick()
{
    if (!OperationIdle)
        return;
    QString folder = DefaultFolder();
    Utility->IniRead(ProgramOptions, LastLogDir, DefaultFolder(), folder);
    // The question below is the only one before an existing log file is replaced.
    const FileDialogRequest request{.title = Utility->Text(SaveLogTitle),
                                    .filter = QtFileFilter(Utility->Text(SaveLogFilter)),
                                    .folder = folder,
                                    .defaultSuffix = QStringLiteral("rtf"),
                                    .confirmOverwrite = false};
    const QString fileName = uiServices().saveFileName(this, request);
    if (fileName.isEmpty())
        return;
    const QFileInfo file(fileName);
    if (file.exists()
        && !uiServices().warnYesNo(this, file.fileName() + Utility->Text(OverwriteQuestion)))
        return;
    Utility->IniWrite(ProgramOptions, LastLogDir, file.absolutePath() + QLatin1Char('/'));

    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly) || out.write(WriteRtf(*redt_Status->document())) < 0
        || !out.commit())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2")
                                .arg(fileName, out.errorString()));
}

void TMainFrm::addLogLine(TFontStyles styles, TColor colour, const QString &text)
{
    AddLogLine(styles, colour, text);
}

int TMainFrm::spiSpeedIndex() const
{
    return cbb_SPI->currentIndex();
}

int TMainFrm::spiSpeedCount() const
{
    return cbb_SPI->count();
}

QString TMainFrm::spiSpeedText() const
{
    return cbb_SPI->currentText();
}

int TMainFrm::powerOptionIndex() const
{
    return RadioGroup_Power->itemIndex();
}

void TMainFrm::setSystemIdentifier(const QString &text)
{
    Label_SystemIdentifier->setText(text);
}

void TMainFrm::setSystemSoftwareRevision(const QString &text)
{
    Label_SystemSoftwareRevision->setText(text);
}

void TMainFrm::setSystemSerialNumber(const QString &text)
{
    Label_SystemSerialNumber->setText(text);
}

ProgressBar &TMainFrm::progressBar()
{
    return m_progress;
}
