// Qt's own texts (the buttons of the questions, the file dialogs) speak the
// language chosen in the options, not the system's: this program runs once
// under an English and once under a German system (see CMakeLists.txt).
#include "GuiFixture.h"

#include "ChooseLanguage.h"
#include "RealDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>

namespace {
struct QtTexts {
    QString language;
    QString question;    // Yes and No of a question
    QString fileDialog;  // Open and Cancel of the open dialog
};

const QtTexts German{"DE", "&Ja|&Nein", "&Öffnen|Abbrechen"};
const QtTexts English{"EN", "&Yes|&No", "&Open|Cancel"};

// The texts that `read` takes from the first dialog `ask` shows, a dialog of kind Dialog.
template <typename Dialog>
QString readWhileShown(const std::function<void()> &ask, const std::function<QString(Dialog &)> &read)
{
    QString texts;
    whileFirstDialogShown(ask, [&](QDialog &dialog) {
        if (auto *shown = qobject_cast<Dialog *>(&dialog))
            texts = read(*shown);
    });
    return texts;
}

QString questionButtons(TMainFrm &window)
{
    return readWhileShown<QMessageBox>([&] { uiServices().askYesNo(&window, QStringLiteral("?")); },
                                       [](QMessageBox &box) {
                                           return box.button(QMessageBox::Yes)->text() + u'|'
                                                  + box.button(QMessageBox::No)->text();
                                       });
}

QString openDialogButtons(TMainFrm &window)
{
    return readWhileShown<QFileDialog>([&] { window.btn_OpenFlashFile->click(); }, [](QFileDialog &dialog) {
        auto *buttons = dialog.findChild<QDialogButtonBox *>();
        return buttons->button(QDialogButtonBox::Open)->text() + u'|'
               + buttons->button(QDialogButtonBox::Cancel)->text();
    });
}

std::string systemLocale()
{
    return "system locale " + QLocale::system().name().toStdString();
}
}

// The window's creation, as the program's start runs it, installs Qt's texts
// of the stored language.
TEST_F(GuiTest, QtsOwnTextsSpeakTheChosenLanguageFromTheStart)
{
    if (qEnvironmentVariable("LANG").startsWith(QLatin1String("de"))) {
        ASSERT_EQ(QLocale::system().language(), QLocale::German) << systemLocale();
    }
    for (const QtTexts &chosen : {German, English, German}) {
        SCOPED_TRACE(chosen.language.toStdString() + ", " + systemLocale());
        writeSetting(QStringLiteral("ProgramOptions"), QStringLiteral("LanguageID"), chosen.language);
        auto window = showWindow();
        EXPECT_EQ(questionButtons(*window), chosen.question);
        EXPECT_EQ(openDialogButtons(*window), chosen.fileDialog);
    }
}

// A stored language without a library gets the German texts, Qt's among them.
TEST_F(GuiTest, QtsOwnTextsFollowTheGermanLibraryStandingInForAMissingOne)
{
    writeOptions({{"LanguageID", "XX"}});
    auto window = showWindow();
    EXPECT_EQ(questionButtons(*window), German.question) << systemLocale();
}

TEST_F(GuiTest, AfterALanguageChangeTheNextQuestionSpeaksTheNewLanguage)
{
    writeOptions({{"LanguageID", "EN"}});
    auto window = showWindow();
    for (const QtTexts &chosen : {German, English}) {
        SCOPED_TRACE(chosen.language.toStdString() + ", " + systemLocale());
        chooseLanguageInOptions(*window, chosen.language, [](QDialog &) { return int(QDialog::Rejected); });
        EXPECT_EQ(questionButtons(*window), chosen.question);
        EXPECT_EQ(openDialogButtons(*window), chosen.fileDialog);
    }
}
