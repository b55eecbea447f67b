// The flash and EEPROM image files: opening, the recent-file lists, the fit
// check against the chosen device, unloading and the reload of a changed file.
#include "uMain.h"

#include "Exceptions.h"
#include "HexView.h"
#include "Modul.h"
#include "ScreenCursor.h"
#include "SettingsValues.h"
#include "UiServices.h"
#include "Utils.h"

#include <QComboBox>
#include <QFileInfo>
#include <QScopeGuard>

#include <optional>

namespace {
using SettingsSection::ProgramOptions;
const QString RecentSection = QStringLiteral("RescentFiles");
// The file keys' value for "no file loaded".
const QString NoFile = QStringLiteral("nil");

constexpr int FileMessageTitle = 17;
constexpr int EepromMisfitText = 18;
constexpr int FlashMisfitText = 19;
constexpr int FlashReloadQuestion = 71;
constexpr int EepromReloadQuestion = 72;
constexpr int FlashFileMissingText = 7000;
constexpr int EepromFileMissingText = 7001;
constexpr int BothFilesMissingText = 7002;

constexpr Qt::MatchFlags SameName = Qt::MatchFixedString | Qt::MatchCaseSensitive;

// Reads the file into image; the error's message when it cannot be read.
std::optional<QString> readImage(THexContainer &image, const QString &fileName)
{
    HourglassGuard hourglass;
    try {
        image.LoadFromFile(fileName);
    } catch (const Exception &error) {
        return error.message();
    }
    return std::nullopt;
}
}

// The parts of one side, flash or EEPROM.
struct TMainFrm::ImageSide {
    THexContainer &image;
    TPageList &pages;
    QComboBox *chooser;
    HexView *view;
    const OpenDialogTexts &dialog;
    int TModul::*size;
    int TModul::*pageSize;
    QString folderKey;
    QString fileKey;
    QString recentKey;
    int misfitText;
    int reloadQuestion;
};

TMainFrm::ImageSide TMainFrm::flashSide()
{
    return {FlashImage, FlashPages, edt_FlashFile, vst_Flash, dlgOpen_Flash,
            &TModul::FlashSize, &TModul::FlashPageSize, QStringLiteral("LastFlashDir"),
            QStringLiteral("LastFlashFile"), QStringLiteral("FlashFile_"), FlashMisfitText,
            FlashReloadQuestion};
}

TMainFrm::ImageSide TMainFrm::eepromSide()
{
    return {EepromImage, EepromPages, edt_EEProm, vst_EEprom, dlgOpen_EEprom,
            &TModul::EEPromSize, &TModul::EEPromPageSize, QStringLiteral("LastEEpromDir"),
            QStringLiteral("LastEEpromFile"), QStringLiteral("FlashEEProm_"), EepromMisfitText,
            EepromReloadQuestion};
}

void TMainFrm::LoadFlashFile(const QString &fileName) { loadImageFile(flashSide(), fileName); }
void TMainFrm::LoadEepromFile(const QString &fileName) { loadImageFile(eepromSide(), fileName); }
void TMainFrm::btn_OpenFlashFileClick() { openImageFile(flashSide()); }
void TMainFrm::btn_OpenEEpromClick() { openImageFile(eepromSide()); }
void TMainFrm::edt_FlashFileChange(const QString &fileName) { chooseImageFile(flashSide(), fileName); }
void TMainFrm::edt_EEPromChange(const QString &fileName) { chooseImageFile(eepromSide(), fileName); }
void TMainFrm::btn_unloadFlashClick() { unloadImage(flashSide()); }
void TMainFrm::btn_unloadEEPromClick() { unloadImage(eepromSide()); }
void TMainFrm::CheckFlashFileChanged() { checkImageFileChanged(flashSide()); }
void TMainFrm::CheckEepromFileChanged() { checkImageFileChanged(eepromSide()); }

void TMainFrm::loadImageFile(const ImageSide &side, QString fileName)
{
    const TModul *device = SelectedDefinition();
    // The same file read again keeps the user's place in the view; another one is shown from its start.
    const bool sameFile = side.image.ImageLoaded && side.image.ImageFileName == fileName;
    THexContainer read;
    const std::optional<QString> error = readImage(read, fileName);
    // A file that cannot be read leaves the empty image of a failed read,
    // neither loaded nor fitting, so that nothing of an earlier file is shown,
    // programmed or offered for reload under the new name.
    side.image = std::move(read);
    if (error) {
        side.chooser->setCurrentIndex(-1);
        side.view->imageReplaced();
        UpdateControls();  // settled before the message, which lets the window repaint
        uiServices().showError(this, Utility->Text(FileMessageTitle), *error);
        return;
    }
    side.image.ImageFileName = fileName;
    side.image.ImageMisfit = false;
    fitImageToDevice(side, device);
    if (sameFile)
        side.view->imageChanged();
    else
        side.view->imageReplaced();
    Utility->IniWrite(ProgramOptions, side.folderKey,
                      QFileInfo(fileName).absolutePath() + QLatin1Char('/'));
    Utility->IniWrite(ProgramOptions, side.fileKey, fileName);
}

void TMainFrm::fitImageToDevice(const ImageSide &side, const TModul *device)
{
    if (!device)
        return;  // nothing to size the image by or to check it against
    const int size = device->*side.size;
    const int pageSize = device->*side.pageSize;
    bool fits = size > 0 && pageSize > 0;  // a definition without memory fits no image
    if (fits) {
        side.pages.Build(size / pageSize, pageSize);
        side.image.Resize(size - 1);
        try {
            side.pages.LoadFromImage(side.image);
        } catch (const EListError &) {
            fits = false;
        }
    }
    if (!fits) {
        side.image.ImageMisfit = true;
        uiServices().showError(this, Utility->Text(FileMessageTitle), Utility->Text(side.misfitText));
    }
}

void TMainFrm::chooseImageFile(const ImageSide &side, const QString &fileName)
{
    const int limit = Utility->RecentFilesCount();
    QComboBox *chooser = side.chooser;
    const int known = chooser->findText(fileName, SameName);
    if (known >= 0)
        chooser->removeItem(known);
    chooser->insertItem(0, fileName);
    chooser->setCurrentIndex(0);
    while (chooser->count() > limit)
        chooser->removeItem(chooser->count() - 1);
    loadImageFile(side, fileName);
    UpdateControls();
}

void TMainFrm::openImageFile(const ImageSide &side)
{
    const FileDialogRequest request{
        side.dialog.title, side.dialog.filter,
        ReadTextSetting(ProgramOptions, side.folderKey, DefaultFolder()), QString()};
    const QString fileName = uiServices().openFileName(this, request);
    if (!fileName.isEmpty())
        chooseImageFile(side, fileName);
}

void TMainFrm::unloadImage(const ImageSide &side)
{
    side.image.Clear();
    side.image.ImageLoaded = false;
    side.chooser->setCurrentIndex(-1);
    side.view->imageChanged();
    Utility->IniWrite(ProgramOptions, side.fileKey, NoFile);
    UpdateControls();
}

void TMainFrm::LoadRecentFiles()
{
    RecentFileCount = Utility->RecentFilesCount();
    fillRecentList(flashSide());
    fillRecentList(eepromSide());
    // The EEPROM file is restored first.
    const bool eepromMissing = !restoreLastFile(eepromSide());
    const bool flashMissing = !restoreLastFile(flashSide());
    if (!eepromMissing && !flashMissing)
        return;
    const int text = eepromMissing && flashMissing ? BothFilesMissingText
                     : eepromMissing              ? EepromFileMissingText
                                                  : FlashFileMissingText;
    uiServices().showError(this, Utility->Text(FileMessageTitle), Utility->Text(text));
}

void TMainFrm::fillRecentList(const ImageSide &side)
{
    for (int n = 0; n < RecentFileCount; ++n) {
        const QString name = ReadTextSetting(RecentSection, side.recentKey + QString::number(n), QString());
        if (!name.isEmpty() && QFileInfo::exists(name))
            side.chooser->addItem(name);
    }
    side.chooser->setCurrentIndex(-1);
}

bool TMainFrm::restoreLastFile(const ImageSide &side)
{
    const QString name = ReadTextSetting(ProgramOptions, side.fileKey, NoFile);
    if (name == NoFile)
        return true;
    if (!QFileInfo::exists(name)) {
        Utility->IniWrite(ProgramOptions, side.fileKey, NoFile);
        return false;
    }
    int index = side.chooser->findText(name, SameName);
    if (index < 0) {
        side.chooser->addItem(name);
        index = side.chooser->count() - 1;
    }
    side.chooser->setCurrentIndex(index);
    chooseImageFile(side, side.chooser->currentText());
    return true;
}

void TMainFrm::ApplicationActivated()
{
    if (DeviceOperationRunning()) {
        m_reloadCheckPending = true;
        return;
    }
    // The user may leave and come back while the question is open.
    if (m_checkingFiles)
        return;
    m_checkingFiles = true;
    const auto done = qScopeGuard([this] { m_checkingFiles = false; });
    CheckFlashFileChanged();
    CheckEepromFileChanged();
}

void TMainFrm::checkImageFileChanged(const ImageSide &side)
{
    THexContainer &image = side.image;
    if (!image.ImageLoaded)
        return;
    if (QFileInfo::exists(image.ImageFileName)) {
        const QDateTime changed = THexContainer::FileTime(image.ImageFileName);
        if (image.ImageFileDate.isValid() && changed <= image.ImageFileDate)
            return;
        const bool ask = ReadBoolSetting(QStringLiteral("Messages"), QStringLiteral("ShowReloadMessage"), true);
        if (ask && !uiServices().askYesNo(this, Utility->Text(side.reloadQuestion)))
            return;
        loadImageFile(side, image.ImageFileName);
    } else {
        // The file is gone: nothing of it may be written until it is loaded again.
        image.Clear();
        image.ImageFileDate = QDateTime();
        image.ImageMisfit = true;
        const TModul *device = SelectedDefinition();
        if (device && device->*side.size > 0)
            image.Resize(device->*side.size - 1);
    }
    side.view->imageChanged();
    UpdateControls();
}
