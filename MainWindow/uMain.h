#pragma once

#include "BoardOperations.h"
#include "ControlRules.h"
#include "HexContainer.h"
#include "MainWindowLink.h"
#include "PageList.h"
#include "ProgressBar.h"

#include <QMainWindow>
#include <QPixmap>
#include <memory>
#include <vector>

class HexView;
class NavigationList;
class PageHost;
class PortChooser;
class RadioGroup;
class TargetSystemCombo;
class TModul;
struct FuseReadResult;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QToolButton;

// False while a module operation runs: the window then refuses to close,
// to change pages and to clear or save the log.
extern bool OperationIdle;

// The titles and filters of the two open dialogs (language texts).
struct OpenDialogTexts {
    QString title;
    QString filter;
};

// The progress bar of the device operations, on the window's status bar.
class StatusProgressBar : public ProgressBar {
public:
    explicit StatusProgressBar(QProgressBar *bar) : m_bar(bar) {}
    void setMinimum(int value) override;
    void setMaximum(int value) override;
    void setPosition(int value) override;
    int minimum() const override;
    int maximum() const override;
    int position() const override;

private:
    QProgressBar *m_bar;
};

// The program's main window. Its creation handler builds the working state,
// its close query decides whether the program may end and writes the
// settings. The implementation is split by concern over the uMain*.cpp files.
class TMainFrm : public QMainWindow, public MainWindowLink {
    Q_OBJECT
public:
    // The navigation entries.
    enum Node { NodeTarget = 0, NodeSeparator = 1, NodeDevice = 2, NodeFlash = 3,
                NodeEeprom = 4, NodeProgram = 5 };
    static constexpr int MinimumWidth = 1014;
    static constexpr int MinimumHeight = 720;

    explicit TMainFrm(QWidget *parent = nullptr);
    ~TMainFrm() override;

    // uMainCreate.cpp: creation and shut-down. The constructor builds the
    // window and runs FormCreate. The device lists' change handlers are
    // connected to their `activated` signal; creation and the target change
    // run them by emitting it.
    void FormCreate();
    bool FormCloseQuery();
    void FormClose();

    // uMainTexts.cpp: texts and menu commands.
    void ApplyLanguageTexts();
    void ac_CloseExecute();
    void ac_OptionsExecute();
    void ac_AboutExecute();
    void Action_BoardSettingsExecute();

    // uMainNavigation.cpp.
    void RestoreLastPage();
    bool vst_AuswahlFocusChanging(int oldNode, int newNode) const;
    void vst_AuswahlFocusChanged(int node);
    QString vst_AuswahlGetText(int node) const;
    QString vst_AuswahlGetHint(int node) const;

    // uMainTarget.cpp: target system and port.
    enum TargetModes { NoTarget = 0, BoardTarget = 1, ModuleTarget = 2 };
    void SetTargetMode(int mode);
    int targetMode() const { return TargetMode; }
    void cbb_TargetsystemChange();
    // The selected definition's memory sizes in bytes; 0 when none is selected.
    int SelectedFlashSize() const;
    int SelectedEepromSize() const;

    // uMainDevice.cpp: the definitions and the device choice.
    // Fills both device lists from "Microcontroller.kvt" beside the program.
    void LoadMicrocontrollerDefinitions();
    // The definition of a list entry (nullptr for no entry).
    static const TModul *DefinitionAt(const QComboBox *list, int index);
    // The chosen entry of the current target mode's list; nullptr in mode 0 or without a choice.
    const TModul *SelectedDefinition() const;
    void cbb_MicrocontrollerChange();
    void cbb_MicrocontrollerModuleChange();
    // flags[0]: SPIEN not programmed, flags[1]: JTAGEN not programmed.
    void ShowFuseWarning(const bool (&flags)[2]);

    // uMainBoard.cpp: the operations on the development board, each from its
    // button. None starts while another board operation runs; each takes its
    // snapshot once, with the controls switched off, and switches them on
    // again whatever happened.
    void SetControlsEnabled(bool value);
    BoardSnapshot TakeBoardSnapshot() const;
    void btn_ChipEraseClick();
    void btn_CheckSignatureClick();
    void btn_ResetTargetClick();
    void btn_ReadFlashClick();
    void btn_ReadEEpromClick();
    void btn_VerifyFlashClick();
    void btn_VerifyEEpromClick();
    void btn_WriteFlashClick();
    void btn_WriteEEpromClick();
    void btn_StartAutoProgramClick();
    // btn_ReadFuse and btn_FuseRead share the first, btn_ReadLock and btn_LockRead the second.
    void btn_ReadFuseClick();
    void btn_ReadLockClick();
    void btn_WriteFuseClick();
    void btn_WriteLockClick();

    // uMainFuses.cpp: the fuse and lock edits and the bit editor. Every
    // handler that needs the chosen microcontroller does nothing without one.
    void edt_FuseBitsLowChange();
    void edt_FuseBitsHighChange();
    void edt_FuseBitsExtendetChange();
    void edt_LockBitsChange();
    // The focus left one of the four edits: SPIEN kept programmed unless the
    // settings allow otherwise, the edit filled up to two digits.
    void edt_FuseBitsLowExit(QLineEdit *sender);
    void btn_ChangeLowClick();
    void btn_ChangeHighClick();
    void btn_ChangeExtendedClick();
    void btn_ChangeLockClick();
    void btn_OKClick();
    void btn_AbortClick();
    void pnl_BitsExit();
    void btn_FuseDefaultClick();
    void btn_LockDefaultClick();
    // The byte the bit editor was last opened for.
    TModul::BitByte bitsTarget() const { return m_bitsTarget; }

    // uMainFiles.cpp: the image files. A loader never throws for a file it
    // cannot read: it reports the error and leaves the image unusable.
    void LoadFlashFile(const QString &fileName);
    void LoadEepromFile(const QString &fileName);
    void btn_OpenFlashFileClick();
    void btn_OpenEEpromClick();
    // The choosers' change handlers, with the dialog's file or the chooser's current text.
    void edt_FlashFileChange(const QString &fileName);
    void edt_EEPromChange(const QString &fileName);
    void btn_unloadFlashClick();
    void btn_unloadEEPromClick();
    void LoadRecentFiles();
    // The reload check; while a device operation runs it waits for the operation's end.
    void ApplicationActivated();
    void CheckFlashFileChanged();
    void CheckEepromFileChanged();

    // uMainControls.cpp: the operations' enabling from the current state.
    void UpdateControls();
    void chk_CheckSignatureClick();
    // The automatic-run boxes in the order of AutoStep.
    std::array<QCheckBox *, AutoStepCount> AutoRunBoxes() const;
    // A device operation runs between these two calls (see DeviceOperationScope);
    // an activation meanwhile runs its reload check at the end.
    void BeginDeviceOperation();
    void EndDeviceOperation();
    bool DeviceOperationRunning() const;

    // uMainLog.cpp: the log window.
    void AddLogLine(TFontStyles styles, TColor colour, const QString &text);
    void AddLog(TFontStyles styles, TColor colour, const QString &text, bool newLine);
    void btn_ClearLogClick();
    void btn_SaveLogClick();

    // uMainModule.cpp: the module page's jobs. From a job's button press to its
    // end the window is busy: OperationIdle is False, both groups, the menu and
    // the port chooser are disabled, and so is the pressed button.
    void SetModuleControlsEnabled(bool Value);
    void btn_Module_FlashEraseClick();
    void btn_Module_ProgramFlashClick();
    void btn_Module_VerifyFlashClick();
    void btn_Module_EepromEraseClick();
    void btn_Module_ProgramEepromClick();
    void btn_Module_VerifyEepromClick();

    // MainWindowLink: what the device routines read and write.
    void addLogLine(TFontStyles styles, TColor colour, const QString &text) override;
    int spiSpeedIndex() const override;
    int spiSpeedCount() const override;
    QString spiSpeedText() const override;
    int powerOptionIndex() const override;
    void setSystemIdentifier(const QString &text) override;
    void setSystemSoftwareRevision(const QString &text) override;
    void setSystemSerialNumber(const QString &text) override;
    ProgressBar &progressBar() override;

    // A pure function: where the window goes, from the stored values and the screen size.
    struct Placement {
        int left, top, width, height;
        bool operator==(const Placement &) const = default;
    };
    static Placement PlaceWindow(bool firstStart, Placement stored, QSize screen);

    // The folder of the pictures, with its trailing separator.
    static QString ResourceFolder();

    // Menu.
    QAction *ac_Close;
    QAction *ac_Options;
    QAction *Action_BoardSettings;
    QAction *ac_About;
    PortChooser *ComboBox1;

    // Title panel.
    QWidget *pnl_Top;
    QLabel *img_Titel;
    QLabel *img_TitelRechts;
    QLabel *Label_SystemIdentifier;
    QLabel *Label_SystemSoftwareRevision;
    QLabel *Label_SystemSerialNumber;

    // Status bar.
    QLabel *StaticText_ProgramVersion;
    QProgressBar *pb_steps;

    // Navigation and pages.
    NavigationList *vst_Auswahl;
    PageHost *Panel1;
    QWidget *pnl_Start;
    QLabel *Image1;
    QWidget *pnl_Target;
    QLabel *lbl_TargetSystem;
    TargetSystemCombo *cbb_Targetsystem;

    QWidget *pnl_DevelopmentBord;
    QGroupBox *grp_Controller;
    QComboBox *cbb_Microcontroller;
    QLabel *Label16, *Label17, *Label18;
    QLabel *Label_mc_signature, *Label_MC_FlashMemory, *Label_MC_EepromMemory;
    QGroupBox *grp_SPI;
    QComboBox *cbb_SPI;
    QGroupBox *grp_FuseBits;
    QLabel *img_HighWarning;
    QLineEdit *edt_FuseBitsLow, *edt_FuseBitsHigh, *edt_FuseBitsExtendet;
    QToolButton *btn_ChangeLow, *btn_ChangeHigh, *btn_ChangeExtended;
    QPushButton *btn_FuseDefault, *btn_FuseRead;
    QGroupBox *grp_LockBits;
    QLineEdit *edt_LockBits;
    QToolButton *btn_ChangeLock;
    QPushButton *btn_LockDefault, *btn_LockRead;

    QWidget *pnl_MicrocontrollerModule;
    QGroupBox *grp_ModulAuswahl;
    QComboBox *cbb_MicrocontrollerModule;
    QLabel *Label20, *Label21, *Label22, *Label23;

    QWidget *pnl_StartProgramm_DevelopmentBoard;
    QLabel *lbl_ProgramHeading;
    QGroupBox *GroupBox_Auto;
    QCheckBox *chk_CheckSignature, *chk_EraseChip, *chk_ProgramFlash, *chk_VerifyFlash;
    QCheckBox *chk_ProgramEEProm, *chk_VerifyEEProm, *chk_ProgramFuseBits, *chk_ProgramLockBits;
    QPushButton *btn_StartAutoProgram;
    QGroupBox *GroupBox_ProgFlash;
    QPushButton *btn_WriteFlash, *btn_VerifyFlash, *btn_ReadFlash;
    QCheckBox *chk_ManualVerifyFlash;
    QGroupBox *GroupBox_ProgEeprom;
    QPushButton *btn_WriteEEprom, *btn_VerifyEEprom, *btn_ReadEEprom;
    QCheckBox *chk_ManualVerifyEeprom;
    QGroupBox *GroupBox_ProgFuse;
    QPushButton *btn_WriteFuse, *btn_ReadFuse;
    QLabel *img_Warnung2;
    QGroupBox *GroupBox_ProgLock;
    QPushButton *btn_WriteLock, *btn_ReadLock;
    QGroupBox *GroupBox_ProgCommon;
    QPushButton *btn_ChipErase, *btn_CheckSignature, *btn_ResetTarget;
    QCheckBox *chk_EraseDeviceBefor;
    RadioGroup *RadioGroup_Power;
    QLabel *lbl_FuseNotRead;

    QWidget *pnl_StartProgramm_MicrocontrollerModule;
    QLabel *Label24;
    QGroupBox *grp_ProgFlash;
    QToolButton *btn_Module_FlashErase, *btn_Module_ProgramFlash, *btn_Module_VerifyFlash;
    QCheckBox *chk_Module_VerifyFlash;
    QGroupBox *grp_ProgEEProm;
    QToolButton *btn_Module_EepromErase, *btn_Module_ProgramEeprom, *btn_Module_VerifyEeprom;
    QCheckBox *chk_Module_VerifyEeprom;
    QCheckBox *chk_Module_StartApplication;
    QProgressBar *ProgressBar1;

    QWidget *pnl_Flash;
    QLabel *lbl_FlashHeading;
    QPushButton *btn_OpenFlashFile, *btn_unloadFlash;
    QComboBox *edt_FlashFile;
    HexView *vst_Flash;
    QWidget *pnl_EEprom;
    QLabel *lbl_EEpromHeading;
    QPushButton *btn_OpenEEprom, *btn_unloadEEProm;
    QComboBox *edt_EEProm;
    HexView *vst_EEprom;

    QWidget *pnl_RichEdit;
    QTextEdit *redt_Status;
    QToolButton *btn_ClearLog, *btn_SaveLog;

    QWidget *pnl_Bits;
    QCheckBox *chk_Bit[8];
    QPushButton *btn_Abort, *btn_OK;

    OpenDialogTexts dlgOpen_Flash;
    OpenDialogTexts dlgOpen_EEprom;

    // The images and their page lists live as long as the window.
    THexContainer FlashImage;
    THexContainer EepromImage;
    TPageList FlashPages;
    TPageList EepromPages;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // uMainLayout.cpp: the window's frame.
    void buildMenu();
    QWidget *buildTitlePanel();
    void buildStatusBar();
    QWidget *buildStartPage();
    QWidget *buildTargetPage();
    QWidget *buildLogPanel();
    QWidget *buildBitsPanel();

    // uMainPages.cpp: the device, programming and image pages.
    QWidget *buildBoardPage();
    QGroupBox *buildFuseGroup();
    QGroupBox *buildLockGroup();
    QWidget *buildModulePage();
    QWidget *buildBoardProgramPage();
    QWidget *buildModuleProgramPage();
    QWidget *buildImagePage(bool flash);

    // uMainHandlers.cpp: every user action through the error guard.
    void connectHandlers();

    // uMainTexts.cpp: registers a control's text id (its Tag), in creation order.
    template <typename Control> Control *tagged(Control *control, int textId)
    {
        registerText(control, textId);
        return control;
    }
    void registerText(QObject *control, int textId);
    struct TextBinding {
        QObject *control;
        int textId;
    };
    std::vector<TextBinding> m_texts;

    // uMainCreate.cpp.
    void installCursorResets();
    void showDefinitionsOnSplash();

    // uMainSettings.cpp.
    void readPlacement();
    void readSettings();
    void readCheckBoxes();
    void readPortList();
    void readTargetSystem();
    void selectStoredDefinition(QComboBox *list, const QString &key,
                                const std::vector<QLabel *> &labels);
    void writeSettings();

    // uMainNavigation.cpp.
    void setupNavigation();
    QPixmap navigationPicture(int node) const;
    void bringToFront(QWidget *page);

    // uMainTarget.cpp.
    void setupTargetList();

    // uMainDevice.cpp.
    void addDefinition(std::unique_ptr<TModul> definition);
    // The microcontroller change's steps up to the fuse check.
    void applyMicrocontroller(const TModul &device);
    void reloadLoadedImages();
    // The note beside the fuse edits tells whether they hold bytes read from
    // the device: not read after start-up and a device change, read after a
    // fuse read. A language change re-texts it in the state it is in.
    enum class FuseNote { NotRead, Read };
    void showFuseNote(FuseNote note);
    // The note keeps the room of the wider of its texts in the current language.
    void reserveFuseNoteRoom();

    // uMainBoard.cpp.
    void runBoardOperation(QPushButton *button, BoardOperation operation);
    void applyFuseRead(const FuseReadResult &result);

    // uMainFuses.cpp.
    // The edits' key filter and exit handler, the bit editor's focus handling.
    void setupFuseEdits();
    // The chosen microcontroller of the board page; nullptr when none is chosen.
    const TModul *boardDefinition() const;
    QLineEdit *byteEdit(TModul::BitByte byte) const;
    // The SPIEN and JTAGEN check on the device and the three fuse edits.
    void checkSpienJtagen(const TModul &device, bool (&flags)[2]) const;
    void refreshFuseWarning();
    void showBitTooltip(TModul::BitByte byte);
    void openBitEditor(TModul::BitByte byte);

    // uMainFiles.cpp: the flash and the EEPROM side are one code over their parts.
    struct ImageSide;
    ImageSide flashSide();
    ImageSide eepromSide();
    void loadImageFile(const ImageSide &side, QString fileName);
    void fitImageToDevice(const ImageSide &side, const TModul *device);
    void chooseImageFile(const ImageSide &side, const QString &fileName);
    void openImageFile(const ImageSide &side);
    void unloadImage(const ImageSide &side);
    void checkImageFileChanged(const ImageSide &side);
    bool restoreLastFile(const ImageSide &side);
    void fillRecentList(const ImageSide &side);

    bool SpienWarningShown = false;
    int SavedHintPause = 0;
    int SavedHintHidePause = 0;
    int TargetMode = 0;
    int RecentFileCount = 0;
    StatusProgressBar m_progress;
    // The definitions of both lists' entries, in file order.
    std::vector<std::unique_ptr<TModul>> m_definitions;
    int m_deviceOperations = 0;
    bool m_reloadCheckPending = false;
    bool m_checkingFiles = false;
    TModul::BitByte m_bitsTarget = TModul::LowFuse;
    FuseNote m_fuseNote = FuseNote::NotRead;
    // Declared last, so destroyed first: handlers that the focus changes of
    // the window's own destruction would run see that it is gone.
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
};

// Marks a device operation for its lifetime, also when an error passes.
class DeviceOperationScope {
public:
    explicit DeviceOperationScope(TMainFrm &window) : m_window(window) { m_window.BeginDeviceOperation(); }
    ~DeviceOperationScope() { m_window.EndDeviceOperation(); }
    DeviceOperationScope(const DeviceOperationScope &) = delete;
    DeviceOperationScope &operator=(const DeviceOperationScope &) = delete;

private:
    TMainFrm &m_window;
};

// The one main window.
extern TMainFrm *MainFrm;
