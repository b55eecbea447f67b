#pragma once

// The board operations run as the main window runs them, against a fresh
// board simulator: a snapshot of a chosen target with small images and every
// box ticked, the recorder in place of the window (its log writer, progress
// bar, SPI and voltage choices) and scripted answers to the questions.
#include "AutoProgram.h"
#include "BoardOperations.h"
#include "FuseOperations.h"
#include "ProgLinkFixture.h"
#include "ProgUSB.h"

// Answers from a script; `asked` keeps every question in order, its texts joined by '|'.
class ScriptedPrompts : public BoardPrompts {
public:
    bool confirmWarning(const WarningDialogTexts &t) override
    {
        return ask({"warning: " + t.heading, t.subHeading, t.body, t.yesText, t.abortText}, goOn);
    }
    QString saveFileName(const SaveFileRequest &r) override { return ask({"save: " + r.title, r.filter, r.defaultSuffix}, true) ? fileName : ""; }
    bool warnYesNo(const QString &text) override { return ask({"overwrite: " + text}, overwrite); }
    void showError(const QString &text) override { ask({"error: " + text}, true); }
    bool ask(const QStringList &texts, bool answer) { return asked << texts.join(u'|'), answer; }

    QStringList asked;
    bool goOn = true;  // the warning dialog's answer
    QString fileName;  // the save dialog's answer
    bool overwrite = true;
};

class OperationsTest : public ProgLinkTest {
protected:
    void SetUp() override;

    BoardReport report() { return {window.logProc(), window.bar, prompts}; }
    BoardResult run(BoardOperation operation) { return RunBoardOperation(operation, snapshot, report()); }
    // The commands the board saw, repeats counted: "info enter sig wflash*2 leave off".
    std::string trace() const;
    QStringList logTexts() const;

    const QByteArray flashData = pattern(256, 1);  // the flash image: two pages
    const QByteArray eepromData = pattern(8, 2);   // the EEPROM image: two pages
    BoardSnapshot snapshot;
    ScriptedPrompts prompts;
};
