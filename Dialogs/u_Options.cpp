#include "u_Options.h"

#include "DialogSupport.h"
#include "LanguageList.h"
#include "RadioGroup.h"
#include "SettingsValues.h"
#include "Utils.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <algorithm>

namespace {
constexpr QSize DesignSize(539, 155);
constexpr int PageListWidth = 200;
constexpr int PageColumnWidth = 190;
constexpr int RecentFilesEditWidth = 41;

constexpr int CaptionText = 1000;
constexpr int GeneralPageText = 1001;
constexpr int LanguagePageText = 1002;
constexpr int CancelText = 1003;
constexpr int OkText = 1004;
constexpr int AskClosingText = 1005;
constexpr int LanguageGroupText = 1007;
constexpr int SpienText = 1013;
constexpr int AskReloadText = 1014;
constexpr int RecentFilesText = 1016;

using SettingsSection::ProgramOptions;
const QString Messages = QStringLiteral("Messages");
const QString AskOnShutDown = QStringLiteral("AskOnShutDown");
const QString Spien = QStringLiteral("Spien");
const QString RecentFiles = QStringLiteral("RecentFiles");
const QString ShowReloadMessage = QStringLiteral("ShowReloadMessage");
const QString LanguageID = QStringLiteral("LanguageID");
const QString DefaultLanguageId = QStringLiteral("EN");
// Written when no language is chosen: the library that always stands in.
const QString NoChoiceLanguageId = QStringLiteral("DE");

// A page node owns its entry and shows its caption.
class EntryItem : public QTreeWidgetItem {
public:
    explicit EntryItem(const TEntry &entry) : QTreeWidgetItem({entry.Caption}), Entry(entry) {}
    TEntry Entry;
};

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
}

void TOptionsFrm::Execute(QWidget *owner)
{
    TOptionsFrm form(owner);
    form.SetTranslation();
    form.LoadSettings();
    if (RunModal(form) == QDialog::Accepted)
        form.SaveSettings();
}

TOptionsFrm::TOptionsFrm(QWidget *parent) : QDialog(parent, FixedDialogFlags)
{
    setWindowTitle(QStringLiteral("Optionen"));
    vst_left = named(new QTreeWidget(this), "vst_left");
    vst_left->setHeaderHidden(true);
    vst_left->setColumnCount(1);
    vst_left->setColumnWidth(0, PageColumnWidth);
    vst_left->setFixedWidth(PageListWidth);
    vst_left->setRootIsDecorated(true);
    connect(vst_left, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *node) { vst_leftFocusChanged(node); });

    pnl_General = named(new QWidget(this), "pnl_General");
    buildGeneralPage();
    pnl_Language = named(new QWidget(this), "pnl_Language");
    rg_Language = named(new RadioGroup(pnl_Language), "rg_Language");
    (new QVBoxLayout(pnl_Language))->addWidget(rg_Language);

    btn_OK = named(new QPushButton(QStringLiteral("OK"), this), "btn_OK");
    btn_Cancel = named(new QPushButton(QStringLiteral("Cancel"), this), "btn_Cancel");
    connect(btn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *pages = new QGridLayout;
    pages->addWidget(pnl_General, 0, 0);
    pages->addWidget(pnl_Language, 0, 0);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btn_OK);
    buttons->addWidget(btn_Cancel);
    auto *right = new QVBoxLayout;
    right->addLayout(pages, 1);
    right->addLayout(buttons);
    auto *row = new QHBoxLayout(this);
    row->addWidget(vst_left);
    row->addLayout(right, 1);
    ClearDefaultButtons(*this);
    FitFixedSize(*this, DesignSize);
}

void TOptionsFrm::buildGeneralPage()
{
    chk_AskClosing = named(new QCheckBox(pnl_General), "chk_AskClosing");
    chk_AskReload = named(new QCheckBox(pnl_General), "chk_AskReload");
    lbl_RecentFiles = named(new QLabel(QStringLiteral("Anzahl gespeicherten Dateien:"), pnl_General),
                            "lbl_RecentFiles");
    edt_RecentFiles = named(new QLineEdit(pnl_General), "edt_RecentFiles");
    edt_RecentFiles->setFixedWidth(RecentFilesEditWidth);
    edt_RecentFiles->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{1,2}")), edt_RecentFiles));
    connect(edt_RecentFiles, &QLineEdit::textChanged, this, &TOptionsFrm::checkRecentFiles);
    Bevel1 = named(new QFrame(pnl_General), "Bevel1");
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    chk_Spien = named(new QCheckBox(pnl_General), "chk_Spien");

    auto *recent = new QHBoxLayout;
    recent->addWidget(lbl_RecentFiles);
    recent->addWidget(edt_RecentFiles);
    recent->addStretch(1);
    auto *column = new QVBoxLayout(pnl_General);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(chk_AskClosing);
    column->addWidget(chk_AskReload);
    column->addLayout(recent);
    column->addWidget(Bevel1);
    column->addWidget(chk_Spien);
    column->addStretch(1);
}

void TOptionsFrm::SetTranslation()
{
    setWindowTitle(Utility->Text(CaptionText));
    btn_Cancel->setText(Utility->Text(CancelText));
    btn_OK->setText(Utility->Text(OkText));
    chk_AskClosing->setText(Utility->Text(AskClosingText));
    chk_Spien->setText(Utility->Text(SpienText));
    chk_AskReload->setText(Utility->Text(AskReloadText));
    rg_Language->setTitle(Utility->Text(LanguageGroupText));
    lbl_RecentFiles->setText(Utility->Text(RecentFilesText));
    FitFixedSize(*this, DesignSize);
}

void TOptionsFrm::ListLanguages()
{
    QString folder;
    Utility->ExeFolder(folder);
    for (const QString &entry : ListLanguageEntries(folder))
        rg_Language->addItem(entry);
}

void TOptionsFrm::addPage(const QString &caption, int index)
{
    vst_left->addTopLevelItem(new EntryItem(TEntry(caption, index)));
}

void TOptionsFrm::LoadSettings()
{
    ListLanguages();
    addPage(Utility->Text(GeneralPageText), 0);
    addPage(Utility->Text(LanguagePageText), 1);

    chk_AskClosing->setChecked(ReadBoolSetting(ProgramOptions, AskOnShutDown, true));
    chk_Spien->setChecked(ReadBoolSetting(ProgramOptions, Spien, false));
    const QString recent =
        ReadTextSetting(ProgramOptions, RecentFiles, QString::number(DefaultRecentFilesCount));
    int position = 0;
    QString shown = recent;
    // A stored count the edit would not take is shown as the count in effect.
    if (edt_RecentFiles->validator()->validate(shown, position) != QValidator::Acceptable)
        shown = QString::number(std::clamp(Utility->RecentFilesCount(), 0, MaxRecentFiles));
    edt_RecentFiles->setText(shown);
    chk_AskReload->setChecked(ReadBoolSetting(Messages, ShowReloadMessage, true));

    const QString languageId = ReadTextSetting(ProgramOptions, LanguageID, DefaultLanguageId);
    for (int item = 0; item < rg_Language->count(); ++item) {
        if (LanguageIdOfEntry(rg_Language->itemText(item)) == languageId)
            rg_Language->setItemIndex(item);
    }

    QTreeWidgetItem *first = vst_left->topLevelItem(0);
    vst_left->setCurrentItem(first);
    first->setSelected(true);
    FitFixedSize(*this, DesignSize);
}

void TOptionsFrm::vst_leftFocusChanged(QTreeWidgetItem *node)
{
    pnl_General->hide();
    pnl_Language->hide();
    if (!node)
        return;
    if (static_cast<EntryItem *>(node)->Entry.Index != 0)
        pnl_Language->show();
    else
        pnl_General->show();
}

void TOptionsFrm::checkRecentFiles()
{
    btn_OK->setEnabled(edt_RecentFiles->hasAcceptableInput());
}

void TOptionsFrm::SaveSettings()
{
    Utility->IniWrite(ProgramOptions, AskOnShutDown, chk_AskClosing->isChecked());
    Utility->IniWrite(ProgramOptions, Spien, chk_Spien->isChecked());
    Utility->IniWrite(ProgramOptions, RecentFiles, edt_RecentFiles->text());
    Utility->IniWrite(Messages, ShowReloadMessage, chk_AskReload->isChecked());
    const int chosen = rg_Language->itemIndex();
    Utility->IniWrite(ProgramOptions, LanguageID,
                      chosen >= 0 ? LanguageIdOfEntry(rg_Language->itemText(chosen)) : NoChoiceLanguageId);
}
