#include "BoardOperations.h"

#include "DeviceInterface.h"
#include "HexContainer.h"
#include "MemoryStream.h"
#include "Utils.h"

#include <QFileInfo>

namespace {
// What saving a read memory differs in between flash and EEPROM.
struct SaveTexts {
    int title;
    int filter;
    int readFailed;
    const char *suffix;
    const char *folderKey;
};
constexpr SaveTexts FlashSave {32, 14, 34, "hex", "LastFlashDir"};
constexpr SaveTexts EepromSave {33, 15, 35, "eep", "LastEEpromDir"};
constexpr int TextSaveFailed = 36;
constexpr int TextOverwrite = 78;

bool preconditionHolds(BoardOperation operation, const BoardSnapshot &snapshot)
{
    if (operation == BoardOperation::ResetTarget)
        return true;
    if (!snapshot.modul)
        return false;
    switch (operation) {
    case BoardOperation::VerifyFlash:
    case BoardOperation::WriteFlash:
        return snapshot.flashUsable();
    case BoardOperation::VerifyEeprom:
    case BoardOperation::WriteEeprom:
        return snapshot.eepromUsable();
    default:
        return true;
    }
}

FrameKind frameOf(BoardOperation operation)
{
    return operation == BoardOperation::CheckSignature ? FrameKind::SignatureCheck : FrameKind::Manual;
}

// The operation's own steps after the signature check (none for the
// signature check itself; the reset has a frame of its own).
bool runSteps(BoardOperation operation, const TModul &modul, const BoardSnapshot &snapshot, const BoardReport &report,
              TMemoryStream &stream)
{
    const TLogProc &log = report.log;
    ProgressBar &bar = report.progress;
    switch (operation) {
    case BoardOperation::ChipErase:
        return ChipErase(modul, log);
    case BoardOperation::ReadFlash:
        return ReadFlash(modul, stream, bar, true, log);
    case BoardOperation::ReadEeprom:
        return ReadEeprom(modul, stream, bar, true, log);
    case BoardOperation::VerifyFlash:
        return VerifyFlash(modul, snapshot.flashImage, bar, log);
    case BoardOperation::VerifyEeprom:
        return VerifyEeprom(modul, snapshot.eepromImage, bar, log);
    case BoardOperation::WriteFlash:
        return (!snapshot.eraseBeforeWrite || ChipErase(modul, log))
            && WriteFlash(modul, snapshot.flashImage, bar, log)
            && (!snapshot.verifyFlashAfterWrite || VerifyFlash(modul, snapshot.flashImage, bar, log));
    case BoardOperation::WriteEeprom:
        return WriteEeprom(modul, snapshot.eepromImage, bar, log)
            && (!snapshot.verifyEepromAfterWrite || VerifyEeprom(modul, snapshot.eepromImage, bar, log));
    case BoardOperation::CheckSignature:
    case BoardOperation::ResetTarget:
        break;
    }
    return true;
}

void saveReadMemory(const SaveTexts &texts, bool readOk, TMemoryStream &stream, BoardPrompts &prompts)
{
    if (!readOk) {
        prompts.showError(Utility->Text(texts.readFailed));
        return;
    }
    QString folder;
    Utility->IniRead(SettingsSection::ProgramOptions, QString::fromLatin1(texts.folderKey), DefaultFolder(), folder);
    const QString fileName = prompts.saveFileName(
        {Utility->Text(texts.title), Utility->Text(texts.filter), folder, QString::fromLatin1(texts.suffix)});
    if (fileName.isEmpty())
        return;
    const QFileInfo file(fileName);
    if (file.exists() && !prompts.warnYesNo(file.fileName() + Utility->Text(TextOverwrite)))
        return;
    if (!THexContainer::SaveStreamToFile(stream, fileName))
        prompts.showError(Utility->Text(TextSaveFailed));
}
}

BoardResult RunBoardOperation(BoardOperation operation, const BoardSnapshot &snapshot, const BoardReport &report)
{
    if (BoardOperationRunning() || !preconditionHolds(operation, snapshot))
        return {};
    if (operation == BoardOperation::ResetTarget)
        return RunResetFrame(report.log);
    // Every other operation has a microcontroller: its precondition holds.
    const TModul &modul = *snapshot.modul;
    TMemoryStream stream;
    const BoardResult result = RunBoardFrame(frameOf(operation), modul, report.log,
                                             [&] { return runSteps(operation, modul, snapshot, report, stream); });
    if (operation == BoardOperation::ReadFlash || operation == BoardOperation::ReadEeprom) {
        const SaveTexts &texts = operation == BoardOperation::ReadFlash ? FlashSave : EepromSave;
        QString ignored;
        // A settings or file error while saving is reported like any other.
        RunLoggingErrors(report.log, ignored, [&] { saveReadMemory(texts, result.ok, stream, report.prompts); });
    }
    return result;
}
