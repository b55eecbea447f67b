#pragma once

// The board operations run as the main window runs them, against a fresh
// board simulator: a snapshot of a chosen target with small images, the
// recorder in place of the window (its log writer, progress bar, SPI and
// voltage choices) and scripted answers to the operations' questions.
#include "AutoProgram.h"
#include "BoardOperations.h"
#include "FuseOperations.h"
#include "ProgLinkFixture.h"

#include <QStringList>

class ScriptedPrompts : public BoardPrompts {
public:
    bool confirmWarning(const WarningDialogTexts &texts) override;
    QString saveFileName(const SaveFileRequest &request) override;
    bool warnYesNo(const QString &text) override;
    void showError(const QString &text) override;

    QStringList asked;  // every question, in order, as "kind: texts"
    bool goOn = true;   // the warning dialog's answer
    QString fileName;   // the save dialog's answer
    bool overwrite = true;
};

class OperationsTest : public ProgLinkTest {
protected:
    void SetUp() override;

    BoardReport report() { return {window.logProc(), window.bar, prompts}; }
    BoardResult run(BoardOperation operation) { return RunBoardOperation(operation, snapshot, report()); }
    // The commands the board saw, repeats counted: "info enter sig wflash*2 leave off".
    QString trace() const;
    QStringList logTexts() const;
    int redLines() const;

    // Flash: two pages of data; EEPROM: two pages of data.
    QByteArray flashData;
    QByteArray eepromData;
    BoardSnapshot snapshot;
    ScriptedPrompts prompts;
};
