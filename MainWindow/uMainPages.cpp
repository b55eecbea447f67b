// Building the device and programming pages of the main window.
#include "uMain.h"

#include "HexView.h"
#include "LayoutHelpers.h"
#include "RadioGroup.h"
#include "Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int HexEditWidth = 121;
constexpr int WarningSize = 32;
constexpr int DeviceListRows = 16;

const QStringList SpiClockTexts = {
    QStringLiteral("4 MHz (250ns)"),    QStringLiteral("2 MHz (500ns)"),
    QStringLiteral("1 MHz (1µs)"),      QStringLiteral("500  kHz (2µs)"),
    QStringLiteral("250  kHz (4µs)"),   QStringLiteral("125  kHz (8µs)"),
    QStringLiteral("50  kHz (20µs)"),   QStringLiteral("25  kHz (40µs)"),
    QStringLiteral("10  kHz (100µs)"),  QStringLiteral("5  kHz (200µs)"),
    QStringLiteral("1  kHz (1ms)"),
};

// A warning picture that comes and goes keeps its room: nothing beside it moves.
QLabel *WarningPicture(QWidget *parent)
{
    QLabel *picture = PictureLabel(parent, QStringLiteral("Warning.png"), QSize(WarningSize, WarningSize));
    QSizePolicy policy = picture->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    picture->setSizePolicy(policy);
    return picture;
}
}

QGroupBox *TMainFrm::buildFuseGroup()
{
    grp_FuseBits = tagged(new QGroupBox(pnl_DevelopmentBord), 404);
    grp_FuseBits->setEnabled(false);
    auto *grid = new QGridLayout(grp_FuseBits);
    img_HighWarning = WarningPicture(grp_FuseBits);
    grid->addWidget(img_HighWarning, 0, 0, 3, 1, Qt::AlignTop);
    const QStringList captions = {QStringLiteral("Low:"), QStringLiteral("High:"),
                                  QStringLiteral("Extended:")};
    QLineEdit **edits[] = {&edt_FuseBitsLow, &edt_FuseBitsHigh, &edt_FuseBitsExtendet};
    QToolButton **buttons[] = {&btn_ChangeLow, &btn_ChangeHigh, &btn_ChangeExtended};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QLabel(captions[row], grp_FuseBits), row, 1);
        grid->addWidget(new QLabel(QStringLiteral("0x"), grp_FuseBits), row, 2);
        *edits[row] = new QLineEdit(grp_FuseBits);
        (*edits[row])->setFixedWidth(HexEditWidth);
        grid->addWidget(*edits[row], row, 3);
        *buttons[row] = PictureButton(grp_FuseBits, QStringLiteral("Bits.png"));
        grid->addWidget(*buttons[row], row, 4);
    }
    btn_FuseDefault = tagged(new QPushButton(QStringLiteral("Default"), grp_FuseBits), 405);
    btn_FuseRead = tagged(new QPushButton(QStringLiteral("Read"), grp_FuseBits), 406);
    grid->addWidget(btn_FuseDefault, 3, 3);
    grid->addWidget(btn_FuseRead, 4, 3);
    grid->setColumnStretch(5, 1);
    return grp_FuseBits;
}

QGroupBox *TMainFrm::buildLockGroup()
{
    grp_LockBits = tagged(new QGroupBox(pnl_DevelopmentBord), 407);
    auto *grid = new QGridLayout(grp_LockBits);
    grid->addWidget(new QLabel(QStringLiteral("0x"), grp_LockBits), 0, 0);
    edt_LockBits = new QLineEdit(grp_LockBits);
    edt_LockBits->setFixedWidth(HexEditWidth);
    grid->addWidget(edt_LockBits, 0, 1);
    btn_ChangeLock = PictureButton(grp_LockBits, QStringLiteral("Bits.png"));
    grid->addWidget(btn_ChangeLock, 0, 2);
    btn_LockDefault = tagged(new QPushButton(QStringLiteral("Default"), grp_LockBits), 405);
    btn_LockRead = tagged(new QPushButton(QStringLiteral("Read"), grp_LockBits), 408);
    grid->addWidget(btn_LockDefault, 1, 1);
    grid->addWidget(btn_LockRead, 2, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);
    return grp_LockBits;
}

QWidget *TMainFrm::buildBoardPage()
{
    pnl_DevelopmentBord = new QWidget;
    auto *grid = new QGridLayout(pnl_DevelopmentBord);

    grp_Controller = tagged(new QGroupBox(pnl_DevelopmentBord), 400);
    auto *form = new QFormLayout(grp_Controller);
    cbb_Microcontroller = new QComboBox(grp_Controller);
    cbb_Microcontroller->setMaxVisibleItems(DeviceListRows);
    form->addRow(cbb_Microcontroller);
    Label16 = tagged(new QLabel(QStringLiteral("Signature:"), grp_Controller), 401);
    Label17 = tagged(new QLabel(QStringLiteral("Flash:"), grp_Controller), 402);
    Label18 = tagged(new QLabel(QStringLiteral("EEPROM:"), grp_Controller), 403);
    Label_mc_signature = new QLabel(grp_Controller);
    Label_MC_FlashMemory = new QLabel(grp_Controller);
    Label_MC_EepromMemory = new QLabel(grp_Controller);
    form->addRow(Label16, Label_mc_signature);
    form->addRow(Label17, Label_MC_FlashMemory);
    form->addRow(Label18, Label_MC_EepromMemory);

    grp_SPI = tagged(new QGroupBox(pnl_DevelopmentBord), 409);
    grp_SPI->setEnabled(false);
    auto *spiLayout = new QVBoxLayout(grp_SPI);
    cbb_SPI = new QComboBox(grp_SPI);
    cbb_SPI->addItems(SpiClockTexts);
    spiLayout->addWidget(cbb_SPI);
    spiLayout->addStretch();

    grid->addWidget(grp_Controller, 0, 0);
    grid->addWidget(grp_SPI, 0, 1);
    grid->addWidget(buildFuseGroup(), 1, 0);
    grid->addWidget(buildLockGroup(), 1, 1);
    grid->setRowStretch(2, 1);
    return pnl_DevelopmentBord;
}

QWidget *TMainFrm::buildModulePage()
{
    pnl_MicrocontrollerModule = new QWidget;
    QVBoxLayout *layout = new QVBoxLayout(pnl_MicrocontrollerModule);
    grp_ModulAuswahl = tagged(new QGroupBox(pnl_MicrocontrollerModule), 420);
    auto *form = new QFormLayout(grp_ModulAuswahl);
    cbb_MicrocontrollerModule = new QComboBox(grp_ModulAuswahl);
    cbb_MicrocontrollerModule->setMaxVisibleItems(DeviceListRows);
    form->addRow(cbb_MicrocontrollerModule);
    Label20 = tagged(new QLabel(QStringLiteral("Flash:"), grp_ModulAuswahl), 402);
    Label21 = tagged(new QLabel(QStringLiteral("EEPROM:"), grp_ModulAuswahl), 403);
    Label22 = new QLabel(grp_ModulAuswahl);
    Label23 = new QLabel(grp_ModulAuswahl);
    form->addRow(Label20, Label22);
    form->addRow(Label21, Label23);
    layout->addWidget(grp_ModulAuswahl);
    layout->addStretch();
    return pnl_MicrocontrollerModule;
}

QWidget *TMainFrm::buildBoardProgramPage()
{
    // The automatic run with the heading and the fuse note on the left, the single
    // operations on the right: low enough for the log to show below the page.
    QWidget *page = pnl_StartProgramm_DevelopmentBoard = new QWidget;
    auto *row = new QHBoxLayout(page);
    auto *left = new QVBoxLayout;
    auto *grid = new QGridLayout;
    row->addLayout(left);
    row->addLayout(grid, 1);
    lbl_ProgramHeading = tagged(new QLabel(QStringLiteral("Programm"), page), 710);
    left->addWidget(lbl_ProgramHeading);

    GroupBox_Auto = tagged(new QGroupBox(page), 700);
    auto *autoLayout = new QVBoxLayout(GroupBox_Auto);
    QCheckBox **autoBoxes[] = {&chk_CheckSignature, &chk_EraseChip, &chk_ProgramFlash,
                               &chk_VerifyFlash, &chk_ProgramEEProm, &chk_VerifyEEProm,
                               &chk_ProgramFuseBits, &chk_ProgramLockBits};
    int textId = 701;
    for (QCheckBox **box : autoBoxes) {
        *box = tagged(new QCheckBox(GroupBox_Auto), textId++);
        autoLayout->addWidget(*box);
    }
    btn_StartAutoProgram = tagged(new QPushButton(GroupBox_Auto), 709);
    autoLayout->addWidget(btn_StartAutoProgram);
    autoLayout->addStretch();
    left->addWidget(GroupBox_Auto);

    GroupBox_ProgFlash = tagged(new QGroupBox(page), 711);
    auto *flash = new QVBoxLayout(GroupBox_ProgFlash);
    btn_WriteFlash = tagged(new QPushButton(GroupBox_ProgFlash), 712);
    chk_ManualVerifyFlash = tagged(new QCheckBox(GroupBox_ProgFlash), 713);
    btn_VerifyFlash = tagged(new QPushButton(GroupBox_ProgFlash), 714);
    btn_ReadFlash = tagged(new QPushButton(GroupBox_ProgFlash), 715);
    for (QWidget *w : std::initializer_list<QWidget *>{btn_WriteFlash, chk_ManualVerifyFlash,
                                                       btn_VerifyFlash, btn_ReadFlash})
        flash->addWidget(w);
    grid->addWidget(GroupBox_ProgFlash, 0, 0);

    GroupBox_ProgEeprom = tagged(new QGroupBox(page), 716);
    auto *eeprom = new QVBoxLayout(GroupBox_ProgEeprom);
    btn_WriteEEprom = tagged(new QPushButton(GroupBox_ProgEeprom), 717);
    chk_ManualVerifyEeprom = tagged(new QCheckBox(GroupBox_ProgEeprom), 718);
    btn_VerifyEEprom = tagged(new QPushButton(GroupBox_ProgEeprom), 719);
    btn_ReadEEprom = tagged(new QPushButton(GroupBox_ProgEeprom), 720);
    for (QWidget *w : std::initializer_list<QWidget *>{btn_WriteEEprom, chk_ManualVerifyEeprom,
                                                       btn_VerifyEEprom, btn_ReadEEprom})
        eeprom->addWidget(w);
    grid->addWidget(GroupBox_ProgEeprom, 0, 1);

    GroupBox_ProgFuse = tagged(new QGroupBox(page), 721);
    auto *fuse = new QHBoxLayout(GroupBox_ProgFuse);
    img_Warnung2 = WarningPicture(GroupBox_ProgFuse);
    btn_WriteFuse = tagged(new QPushButton(GroupBox_ProgFuse), 722);
    btn_ReadFuse = tagged(new QPushButton(GroupBox_ProgFuse), 723);
    fuse->addWidget(img_Warnung2);
    fuse->addWidget(btn_WriteFuse);
    fuse->addWidget(btn_ReadFuse);
    grid->addWidget(GroupBox_ProgFuse, 1, 0);

    GroupBox_ProgLock = tagged(new QGroupBox(page), 726);
    auto *lock = new QHBoxLayout(GroupBox_ProgLock);
    btn_WriteLock = tagged(new QPushButton(GroupBox_ProgLock), 727);
    btn_ReadLock = tagged(new QPushButton(GroupBox_ProgLock), 728);
    lock->addWidget(btn_WriteLock);
    lock->addWidget(btn_ReadLock);
    grid->addWidget(GroupBox_ProgLock, 1, 1);

    GroupBox_ProgCommon = tagged(new QGroupBox(page), 729);
    auto *common = new QGridLayout(GroupBox_ProgCommon);
    btn_ChipErase = tagged(new QPushButton(GroupBox_ProgCommon), 730);
    chk_EraseDeviceBefor = tagged(new QCheckBox(GroupBox_ProgCommon), 731);
    btn_CheckSignature = tagged(new QPushButton(GroupBox_ProgCommon), 732);
    btn_ResetTarget = tagged(new QPushButton(GroupBox_ProgCommon), 733);
    RadioGroup_Power = new RadioGroup(GroupBox_ProgCommon);
    RadioGroup_Power->addItem(QStringLiteral("Leave target voltage on"));
    RadioGroup_Power->addItem(QStringLiteral("Switch target voltage off"));
    RadioGroup_Power->addItem(QStringLiteral("Cycle target voltage (off-on)"));
    RadioGroup_Power->setItemIndex(0);
    common->addWidget(btn_ChipErase, 0, 0);
    common->addWidget(chk_EraseDeviceBefor, 1, 0);
    common->addWidget(btn_CheckSignature, 2, 0);
    common->addWidget(btn_ResetTarget, 3, 0);
    // The voltage choice beside the buttons keeps the page low enough for the log below it.
    common->addWidget(RadioGroup_Power, 0, 1, 4, 1);
    grid->addWidget(GroupBox_ProgCommon, 2, 0, 1, 2);

    // No text id of its own: its text follows the fuse note's state (showFuseNote).
    lbl_FuseNotRead = new QLabel(page);
    lbl_FuseNotRead->setWordWrap(true);
    left->addWidget(lbl_FuseNotRead);
    left->addStretch();
    grid->setRowStretch(3, 1);
    for (QLayout *layout : std::initializer_list<QLayout *>{row, flash, eeprom, fuse, lock, common})
        MakeCompact(layout);
    return page;
}

QWidget *TMainFrm::buildModuleProgramPage()
{
    QWidget *page = pnl_StartProgramm_MicrocontrollerModule = new QWidget;
    auto *grid = new QGridLayout(page);
    Label24 = tagged(new QLabel(QStringLiteral("Programm"), page), 710);
    grid->addWidget(Label24, 0, 0, 1, 2);

    const QString yellowBox = QStringLiteral("QCheckBox { background-color: yellow; }");
    grp_ProgFlash = tagged(new QGroupBox(page), 711);
    auto *flash = new QVBoxLayout(grp_ProgFlash);
    btn_Module_FlashErase = tagged(SpeedButton(grp_ProgFlash, QStringLiteral("Erase.png")), 740);
    btn_Module_ProgramFlash =
        tagged(SpeedButton(grp_ProgFlash, QStringLiteral("Program.png")), 712);
    chk_Module_VerifyFlash = tagged(new QCheckBox(grp_ProgFlash), 713);
    btn_Module_VerifyFlash = tagged(SpeedButton(grp_ProgFlash, QStringLiteral("Verify.png")), 714);
    for (QWidget *w : std::initializer_list<QWidget *>{btn_Module_FlashErase, btn_Module_ProgramFlash,
                                                       chk_Module_VerifyFlash, btn_Module_VerifyFlash})
        flash->addWidget(w);
    grid->addWidget(grp_ProgFlash, 1, 0);

    grp_ProgEEProm = tagged(new QGroupBox(page), 716);
    auto *eeprom = new QVBoxLayout(grp_ProgEEProm);
    btn_Module_EepromErase =
        tagged(SpeedButton(grp_ProgEEProm, QStringLiteral("Erase.png")), 741);
    btn_Module_ProgramEeprom =
        tagged(SpeedButton(grp_ProgEEProm, QStringLiteral("Program.png")), 717);
    chk_Module_VerifyEeprom = tagged(new QCheckBox(grp_ProgEEProm), 718);
    btn_Module_VerifyEeprom =
        tagged(SpeedButton(grp_ProgEEProm, QStringLiteral("Verify.png")), 719);
    for (QWidget *w : std::initializer_list<QWidget *>{btn_Module_EepromErase,
                                                       btn_Module_ProgramEeprom,
                                                       chk_Module_VerifyEeprom,
                                                       btn_Module_VerifyEeprom})
        eeprom->addWidget(w);
    grid->addWidget(grp_ProgEEProm, 1, 1);

    chk_Module_StartApplication = tagged(new QCheckBox(page), 742);
    grid->addWidget(chk_Module_StartApplication, 2, 0, 1, 2);
    for (QCheckBox *box : {chk_Module_VerifyFlash, chk_Module_VerifyEeprom,
                           chk_Module_StartApplication})
        box->setStyleSheet(yellowBox);
    ProgressBar1 = new QProgressBar(page);
    ProgressBar1->setFixedHeight(ProgressBarHeight);
    ProgressBar1->setTextVisible(false);
    grid->addWidget(ProgressBar1, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget *TMainFrm::buildImagePage(bool flash)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *row = new QHBoxLayout;
    auto *heading = tagged(new QLabel(flash ? QStringLiteral("Flash ") : QStringLiteral("EEprom"),
                                      page),
                           flash ? 600 : 500);
    auto *open = tagged(new QPushButton(QStringLiteral("öffnen"), page), flash ? 601 : 501);
    auto *chooser = new QComboBox(page);
    chooser->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *unload = tagged(new QPushButton(QStringLiteral("unload"), page), flash ? 602 : 502);
    row->addWidget(heading);
    row->addWidget(chooser, 1);
    row->addWidget(open);
    row->addWidget(unload);
    layout->addLayout(row);
    auto *view = flash ? new HexView(FlashImage, [this] { return SelectedFlashSize(); }, page)
                       : new HexView(EepromImage, [this] { return SelectedEepromSize(); }, page);
    layout->addWidget(view, 1);
    if (flash) {
        pnl_Flash = page;
        lbl_FlashHeading = heading;
        btn_OpenFlashFile = open;
        edt_FlashFile = chooser;
        btn_unloadFlash = unload;
        vst_Flash = view;
    } else {
        pnl_EEprom = page;
        lbl_EEpromHeading = heading;
        btn_OpenEEprom = open;
        edt_EEProm = chooser;
        btn_unloadEEProm = unload;
        vst_EEprom = view;
    }
    return page;
}
