// The main window's language texts and its menu commands.
#include "uMain.h"

#include "BoardFrame.h"
#include "NavigationList.h"
#include "QtTranslations.h"
#include "RadioGroup.h"
#include "UiServices.h"
#include "Utils.h"
#include "u_AboutBox.h"
#include "u_DeviceSettings.h"
#include "u_Options.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>

namespace {
constexpr int CaptionText = 0;
constexpr int FlashOpenTitle = 12;
constexpr int EepromOpenTitle = 13;
constexpr int FlashFilter = 14;
constexpr int EepromFilter = 15;
constexpr int MenuClose = 6500;
constexpr int MenuOptions = 6501;
constexpr int MenuBoardSettings = 6503;
constexpr int MenuAbout = 6504;
constexpr int PowerCaption = 4000;
constexpr int FirstPowerItem = 4001;

// Controls without a caption of their kind keep their text id unused.
void applyCaption(QObject *control, const QString &text)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(text);
    else if (auto *action = qobject_cast<QAction *>(control))
        action->setText(text);
}
}

void TMainFrm::registerText(QObject *control, int textId)
{
    m_texts.push_back({control, textId});
}

void TMainFrm::ApplyLanguageTexts()
{
    // The questions and file dialogs that Qt draws speak the language of the
    // texts too, from the creation on (portable mode is known by then) and
    // after every change.
    InstallQtTranslations(Utility->LanguageInUse());
    for (const TextBinding &binding : m_texts)
        applyCaption(binding.control, Utility->Text(binding.textId));

    dlgOpen_Flash.title = Utility->Text(FlashOpenTitle);
    dlgOpen_EEprom.title = Utility->Text(EepromOpenTitle);
    dlgOpen_Flash.filter = QtFileFilter(Utility->Text(FlashFilter));
    dlgOpen_EEprom.filter = QtFileFilter(Utility->Text(EepromFilter));

    setWindowTitle(Utility->Text(CaptionText));

    ac_Close->setText(Utility->Text(MenuClose));
    ac_Options->setText(Utility->Text(MenuOptions));
    Action_BoardSettings->setText(Utility->Text(MenuBoardSettings));
    ac_About->setText(Utility->Text(MenuAbout));

    RadioGroup_Power->setTitle(Utility->Text(PowerCaption));
    for (int item = 0; item < RadioGroup_Power->count(); ++item)
        RadioGroup_Power->setItemText(item, Utility->Text(FirstPowerItem + item));
    reserveFuseNoteRoom();
    // Not by a text id of its own: a re-texting must not turn "read" back into "not read".
    showFuseNote(m_fuseNote);

    // The list asks for its captions only when it paints; nothing else would repaint it.
    vst_Auswahl->refreshEntries();
}

void TMainFrm::ac_CloseExecute()
{
    close();
}

void TMainFrm::ac_OptionsExecute()
{
    // Whatever the dialog ended with; an error out of it skips the re-texting.
    TOptionsFrm::Execute(this);
    ApplyLanguageTexts();
}

void TMainFrm::ac_AboutExecute()
{
    TAboutBox::Execute(this);
}

void TMainFrm::Action_BoardSettingsExecute()
{
    // The port is in use while a board operation runs.
    if (BoardOperationRunning())
        return;
    TDeviceSettingsForm::Execute(this);
}
