// The navigation list and the pages it brings to the front.
#include "uMain.h"

#include "ExceptionGuard.h"
#include "LanguageLibrary.h"
#include "LayoutHelpers.h"
#include "NavigationList.h"
#include "PageHost.h"
#include "ScreenCursor.h"
#include "Utils.h"

#include <QComboBox>
#include <QDir>

namespace {
using SettingsSection::ProgramOptions;
const QString LastShowedPage = QStringLiteral("LastShowedPage");
const QString LineEnd = QStringLiteral("\r\n");

constexpr int NoDeviceHint = 68;
constexpr int NoImageHint = 38;
constexpr int FlashMisfitHint = 39;
constexpr int EepromMisfitHint = 40;
constexpr int BoardCaption = 200;
constexpr int ModuleCaption = 206;

// Caption text ids by node; node 2 depends on the target mode.
constexpr int NodeCaptions[NavigationList::NodeCount] = {205, 204, BoardCaption, 201, 202, 203};
// Picture file names by node (the separator has none).
const char *const NodePictures[NavigationList::NodeCount] = {
    "Nav_Target.png", nullptr, "Nav_Device.png", "Nav_Flash.png", "Nav_EEprom.png",
    "Nav_Program.png"};

// Every caption the list can show, in every language library beside the program.
// A library that does not load adds nothing here; choosing it reports the fault.
QStringList CaptionsOfAllLanguages()
{
    QString folder;
    Utility->ExeFolder(folder);
    const QStringList files = QDir(folder).entryList(
        {QLatin1Char('*') + QLatin1String(LanguageLibrarySuffix)}, QDir::Files);
    QList<int> ids(std::begin(NodeCaptions), std::end(NodeCaptions));
    ids[NavigationList::SeparatorNode] = ModuleCaption;
    QStringList captions;
    for (const QString &file : files) {
        int error = 0;
        void *library = LanguageLibrary::load(folder + file, error);
        const auto getValue = library ? reinterpret_cast<LanguageValueFunction>(
                                            LanguageLibrary::findExport(library, "getValue", error))
                                      : nullptr;
        if (!getValue)
            continue;
        for (int id : ids) {
            captions << LanguageLibrary::fetchText([&](char *buffer, std::int32_t size,
                                                       std::int32_t mode) {
                return getValue(id, buffer, size, mode);
            });
        }
    }
    return captions;
}
}

void TMainFrm::setupNavigation()
{
    vst_Auswahl->setPaintFolder(ResourceFolder());
    vst_Auswahl->fitWidthToCaptions(CaptionsOfAllLanguages());
    vst_Auswahl->setProviders({[this](int node) { return vst_AuswahlGetText(node); },
                               [this](int node) { return vst_AuswahlGetHint(node); },
                               [this](int node) { return navigationPicture(node); }});
    vst_Auswahl->setChangeFilter(
        [this](int oldNode, int newNode) { return vst_AuswahlFocusChanging(oldNode, newNode); });
    connect(vst_Auswahl, &NavigationList::nodeFocused, this,
            [this](int node) { Guarded([&] { vst_AuswahlFocusChanged(node); }); });
    connect(vst_Auswahl, &NavigationList::focusLost, this, [] { ScreenCursor::setDefault(); });
}

QPixmap TMainFrm::navigationPicture(int node) const
{
    if (node < 0 || node >= NavigationList::NodeCount || !NodePictures[node])
        return {};
    return ResourcePicture(QString::fromLatin1(NodePictures[node]));
}

QString TMainFrm::vst_AuswahlGetText(int node) const
{
    if (node < 0 || node >= NavigationList::NodeCount)
        return {};
    if (node == NodeDevice)
        return Utility->Text(TargetMode == BoardTarget ? BoardCaption : ModuleCaption);
    return Utility->Text(NodeCaptions[node]);
}

QString TMainFrm::vst_AuswahlGetHint(int node) const
{
    if (node == NodeFlash || node == NodeEeprom)
        return cbb_Microcontroller->currentIndex() < 0 ? Utility->Text(NoDeviceHint) : QString();
    if (node != NodeProgram)
        return {};
    QStringList lines;
    if (!FlashImage.ImageLoaded && !EepromImage.ImageLoaded)
        lines << Utility->Text(NoImageHint);
    if (FlashImage.ImageLoaded && FlashImage.ImageMisfit)
        lines << Utility->Text(FlashMisfitHint);
    if (EepromImage.ImageLoaded && EepromImage.ImageMisfit)
        lines << Utility->Text(EepromMisfitHint);
    return lines.join(LineEnd);
}

bool TMainFrm::vst_AuswahlFocusChanging(int, int newNode) const
{
    if (!OperationIdle)
        return false;
    return newNode >= 0 && newNode != NodeSeparator && vst_Auswahl->isNodeEnabled(newNode);
}

void TMainFrm::bringToFront(QWidget *page)
{
    Panel1->bringToFront(page);
}

void TMainFrm::vst_AuswahlFocusChanged(int node)
{
    switch (node) {
    case NodeTarget:
        bringToFront(pnl_Target);
        break;
    case NodeDevice:
        bringToFront(TargetMode == BoardTarget ? pnl_DevelopmentBord : pnl_MicrocontrollerModule);
        bringToFront(pnl_RichEdit);
        break;
    case NodeFlash:
        bringToFront(pnl_Flash);
        break;
    case NodeEeprom:
        bringToFront(pnl_EEprom);
        break;
    case NodeProgram:
        bringToFront(TargetMode == BoardTarget ? pnl_StartProgramm_DevelopmentBoard
                                               : pnl_StartProgramm_MicrocontrollerModule);
        bringToFront(pnl_RichEdit);
        break;
    default:
        return;
    }
    Utility->IniWrite(ProgramOptions, LastShowedPage, node);
}

void TMainFrm::RestoreLastPage()
{
    int page = 0;
    Utility->IniRead(ProgramOptions, LastShowedPage, 0, page);
    // An unknown page asks for the separator, which the focus rule refuses.
    vst_Auswahl->requestFocus(page >= 0 && page < NavigationList::NodeCount ? page
                                                                            : NodeSeparator);
}
