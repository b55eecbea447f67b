// The device definitions and the choice of a microcontroller or module.
#include "uMain.h"

#include "DefinitionFile.h"
#include "HexView.h"
#include "LayoutHelpers.h"
#include "LogWriter.h"
#include "Modul.h"
#include "UiServices.h"
#include "Utils.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <functional>

Q_DECLARE_METATYPE(const TModul *)

namespace {
// The fuse note's two texts.
constexpr int FuseNotReadText = 724;
constexpr int FusesReadText = 725;

// The definition file's own messages are built in, not language texts.
const QString DefinitionErrorTitle = QStringLiteral("Fehler!");
const QString WrongVersionText = QStringLiteral("Die Datei hat nicht die erforderliche Version!");

const QString SpienWarning =
    QStringLiteral("No SPIEN Fuse programmed. No further programming via ISP interface possible!");
const QString JtagenWarning = QStringLiteral(
    "No JTAGEN Fuse programmed. No further programming and debugging via JTAG interface possible!");
const QString LineEnd = QStringLiteral("\r\n");

QString byteCount(int size)
{
    return QString::number(size) + QStringLiteral(" Byte");
}

// Runs a device change's steps and then its closing steps, also when a step
// raises: the page must never go on offering what the new device cannot
// take. The step's error then goes on to the handler's guard.
void withClosingSteps(const std::function<void()> &steps, const std::function<void()> &closing)
{
    try {
        steps();
    } catch (...) {
        closing();
        throw;
    }
    closing();
}
}

const TModul *TMainFrm::DefinitionAt(const QComboBox *list, int index)
{
    if (index < 0 || index >= list->count())
        return nullptr;
    return list->itemData(index).value<const TModul *>();
}

const TModul *TMainFrm::SelectedDefinition() const
{
    if (TargetMode == BoardTarget)
        return DefinitionAt(cbb_Microcontroller, cbb_Microcontroller->currentIndex());
    if (TargetMode == ModuleTarget)
        return DefinitionAt(cbb_MicrocontrollerModule, cbb_MicrocontrollerModule->currentIndex());
    return nullptr;
}

void TMainFrm::LoadMicrocontrollerDefinitions()
{
    cbb_Microcontroller->clear();
    cbb_MicrocontrollerModule->clear();
    m_definitions.clear();
    QString folder;
    Utility->ExeFolder(folder);
    try {
        const DefinitionFileResult result = ReadDefinitionFile(
            folder + QString::fromLatin1(DefinitionFileName),
            [this](std::unique_ptr<TModul> definition) { addDefinition(std::move(definition)); });
        if (result == DefinitionFileResult::WrongVersion)
            uiServices().showError(this, DefinitionErrorTitle, WrongVersionText);
    } catch (const std::exception &error) {
        // The definitions read before the fault stay, and the window starts with them.
        uiServices().showError(this, DefinitionErrorTitle, QString::fromUtf8(error.what()));
    }
    // Filling selected the first entries; nothing is chosen until the settings say so.
    cbb_Microcontroller->setCurrentIndex(-1);
    cbb_MicrocontrollerModule->setCurrentIndex(-1);
}

void TMainFrm::addDefinition(std::unique_ptr<TModul> definition)
{
    QComboBox *list = definition->Categorie != 0 ? cbb_MicrocontrollerModule : cbb_Microcontroller;
    // Sorted by name; an equal name goes behind the entries already there.
    int position = 0;
    while (position < list->count()
           && QString::compare(list->itemText(position), definition->Name, Qt::CaseInsensitive) <= 0)
        ++position;
    const TModul *entry = definition.get();
    m_definitions.push_back(std::move(definition));
    list->insertItem(position, entry->Name, QVariant::fromValue(entry));
}

void TMainFrm::cbb_MicrocontrollerChange()
{
    const TModul *device = DefinitionAt(cbb_Microcontroller, cbb_Microcontroller->currentIndex());
    if (!device)
        return;
    // The enabling comes first: it must not wait on the label's text lookup.
    withClosingSteps([&] { applyMicrocontroller(*device); }, [this] {
        UpdateControls();
        showFuseNote(FuseNote::NotRead);
    });
}

void TMainFrm::applyMicrocontroller(const TModul &device)
{
    edt_FuseBitsLow->setText(device.DefaultFuseLow);
    edt_FuseBitsHigh->setText(device.DefaultFuseHigh);
    edt_FuseBitsExtendet->setText(device.DefaultFuseExt);
    edt_LockBits->setText(device.DefaultLock);
    grp_FuseBits->setEnabled(true);
    const bool low = Utility->HasFuseLowByte(device);
    const bool high = Utility->HasFuseHighByte(device);
    const bool extended = Utility->HasFuseExtByte(device);
    const bool lock = Utility->HasLockByte(device);
    edt_FuseBitsLow->setEnabled(low);
    btn_ChangeLow->setEnabled(low);
    edt_FuseBitsHigh->setEnabled(high);
    btn_ChangeHigh->setEnabled(high);
    edt_FuseBitsExtendet->setEnabled(extended);
    btn_ChangeExtended->setEnabled(extended);
    edt_LockBits->setEnabled(lock);
    btn_ChangeLock->setEnabled(lock);
    grp_SPI->setEnabled(true);
    Label_mc_signature->setText(QStringLiteral("0x") + device.Signatur);
    Label_MC_FlashMemory->setText(byteCount(device.FlashSize));
    Label_MC_EepromMemory->setText(byteCount(device.EEPromSize));

    reloadLoadedImages();

    // A default fuse text that is not hexadecimal raises here.
    bool flags[2] = {false, false};
    checkSpienJtagen(device, flags);
    ShowFuseWarning(flags);
}

void TMainFrm::cbb_MicrocontrollerModuleChange()
{
    const TModul *device =
        DefinitionAt(cbb_MicrocontrollerModule, cbb_MicrocontrollerModule->currentIndex());
    if (!device)
        return;
    withClosingSteps([&] {
        Label22->setText(byteCount(device->FlashSize));
        Label23->setText(byteCount(device->EEPromSize));
        reloadLoadedImages();
    }, [this] { UpdateControls(); });
}

void TMainFrm::reloadLoadedImages()
{
    // Each load sizes the image and checks its fit against the new device.
    if (FlashImage.ImageLoaded)
        LoadFlashFile(FlashImage.ImageFileName);
    if (EepromImage.ImageLoaded)
        LoadEepromFile(EepromImage.ImageFileName);
    // The device's range colours the views even without an image.
    vst_Flash->imageChanged();
    vst_EEprom->imageChanged();
}

void TMainFrm::showFuseNote(FuseNote note)
{
    m_fuseNote = note;
    const bool read = note == FuseNote::Read;
    lbl_FuseNotRead->setText(Utility->Text(read ? FusesReadText : FuseNotReadText));
    lbl_FuseNotRead->setStyleSheet(
        QStringLiteral("color: %1;").arg(ColourFromBgr(read ? clGreen : clRed).name()));
}

void TMainFrm::reserveFuseNoteRoom()
{
    ReserveRoom(lbl_FuseNotRead, {Utility->Text(FuseNotReadText), Utility->Text(FusesReadText)});
}

void TMainFrm::ShowFuseWarning(const bool (&flags)[2])
{
    QString hint;
    if (flags[0])
        hint = SpienWarning;
    if (flags[1]) {
        if (!hint.isEmpty())
            hint += LineEnd;
        hint += JtagenWarning;
    }
    const bool warn = !hint.isEmpty();
    for (QLabel *picture : {img_HighWarning, img_Warnung2}) {
        picture->setToolTip(hint);
        picture->setVisible(warn);
    }
}
