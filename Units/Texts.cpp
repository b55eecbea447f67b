// Texts by id from the language libraries beside the executable.
#include "Utils.h"

#include "Exceptions.h"
#include "LanguageLibrary.h"
#include "UiHooks.h"

#include <QFileInfo>

namespace {

constexpr const char *DefaultLanguageId = "EN";
constexpr const char *FallbackLanguageId = "DE";
constexpr int UnknownErrorTextId = 7300;

// The language id comes from the settings file and becomes part of a file name:
// anything but a plain name must not reach a library elsewhere.
bool isPlainLanguageId(const QString &id)
{
    return !id.isEmpty() && !id.contains(QLatin1Char('/')) && !id.contains(QLatin1Char('\\')) &&
           !id.contains(QLatin1String("..")) && !id.contains(QChar(u'\0'));
}

QString libraryPath(const QString &folder, const QString &languageId)
{
    return folder + languageId + QLatin1String(LanguageLibrarySuffix);
}

}  // namespace

QString TUtility::LanguageInUse()
{
    QString languageId;
    IniRead(SettingsSection::ProgramOptions, QStringLiteral("LanguageID"),
            QString::fromLatin1(DefaultLanguageId), languageId);
    QString folder;
    ExeFolder(folder);
    if (isPlainLanguageId(languageId) && QFileInfo::exists(libraryPath(folder, languageId)))
        return languageId;
    return QString::fromLatin1(FallbackLanguageId);
}

void TUtility::GetText(int id, QString &text)
{
    QString folder;
    ExeFolder(folder);
    const QString path = libraryPath(folder, LanguageInUse());
    if (!QFileInfo::exists(path)) {
        uiHooks().showError(QStringLiteral("Fehler!"),
                            QStringLiteral("Standard Sprach-DLL nicht gefunden!\r\n"
                                           "Bitte installieren Sie die Anwendung neu!"));
        Application::terminate();  // takes effect in the message loop; this lookup goes on
    }

    int error = 0;
    void *library = LanguageLibrary::load(path, error);
    if (!library)
        throw EDllError(QStringLiteral("Fatal ERROR: loading Dll\r\n") + QString::number(error));
    const auto getValue = reinterpret_cast<LanguageValueFunction>(
        LanguageLibrary::findExport(library, "getValue", error));
    if (!getValue)
        throw EDllError(QStringLiteral("Fatal ERROR: Get function in Dll\r\n") + QString::number(error));

    text = LanguageLibrary::fetchText(
        [&](char *buffer, std::int32_t size, std::int32_t mode) { return getValue(id, buffer, size, mode); });
}

QString TUtility::Text(int id)
{
    QString text;
    GetText(id, text);
    return text;
}

QString TUtility::UnknownErrorText() noexcept
{
    try {
        return Text(UnknownErrorTextId);
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
}
