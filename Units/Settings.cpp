// TUtility's settings access: the kind of value chooses how a key is read or
// written; errors are shown, never passed on.
#include "Exceptions.h"
#include "FileErrors.h"
#include "IniFile.h"
#include "UiHooks.h"
#include "Utils.h"

#include <QLocale>
#include <QScopeGuard>
#include <QSet>
#include <cmath>

namespace {

constexpr int FileTooLargeTextId = 7309;

// Every text lookup reads the settings file and shut-down writes some thirty
// keys, so each trouble with a file is reported once, until a write to it
// succeeds again. What stands under the file's name, refused or unreadable,
// meets reads and writes alike and is told once for both; a write that fails
// of its own, as in a folder that takes no new file, once for the writes.
enum class Trouble { WithTheFile, WithWriting };

QSet<QString> &filesReported(Trouble trouble)
{
    static QSet<QString> withTheFile, withWriting;
    return trouble == Trouble::WithTheFile ? withTheFile : withWriting;
}

Trouble troubleOf(const Exception &error)
{
    return dynamic_cast<const EIniFileException *>(&error) ? Trouble::WithWriting : Trouble::WithTheFile;
}

// Set while the message of a settings error is made: its reason is a
// language text, and looking that up reads the settings file again, whose
// error must then give the default quietly, neither recurse nor show a box.
bool makingMessage = false;

// A language library that cannot be loaded has told the user so already;
// its error then stands in for the reason, so that the settings error is
// still shown.
QString refusalReason(TUtility &utility, EIniFileRefused::Reason reason)
{
    try {
        if (reason == EIniFileRefused::Reason::TooLarge)
            return utility.Text(FileTooLargeTextId).arg(IniFile::MaxFileSizeMiB);
        return utility.Text(NotARegularFileTextId);
    } catch (const Exception &lookupError) {
        return lookupError.message();
    }
}

QString messageOf(TUtility &utility, const Exception &error)
{
    const auto *refused = dynamic_cast<const EIniFileRefused *>(&error);
    return refused ? error.message() + QLatin1Char(' ') + refusalReason(utility, refused->reason()) : error.message();
}

void reportOnce(TUtility &utility, const QString &file, const Exception &error)
{
    QSet<QString> &reported = filesReported(troubleOf(error));
    if (makingMessage || reported.contains(file))
        return;
    reported.insert(file);
    QString message;
    {
        makingMessage = true;
        const auto done = qScopeGuard([] { makingMessage = false; });
        message = messageOf(utility, error);
    }
    uiHooks().showMessage(message);
}

std::optional<QString> readRaw(TUtility &utility, const QString &section, const QString &key)
{
    const QString file = utility.SettingsFile();
    try {
        return IniFile(file).read(section, key);
    } catch (const Exception &error) {
        reportOnce(utility, file, error);
        return std::nullopt;
    }
}

void writeRaw(TUtility &utility, const QString &section, const QString &key, const QString &value)
{
    const QString file = utility.SettingsFile();
    try {
        IniFile(file).write(section, key, value);
        filesReported(Trouble::WithTheFile).remove(file);
        filesReported(Trouble::WithWriting).remove(file);
    } catch (const Exception &error) {
        reportOnce(utility, file, error);
    }
}

// Floating-point values in the C locale's own format, without group separators,
// so that "1,5" is no number rather than fifteen.
QLocale numberFormat()
{
    QLocale format = QLocale::c();
    format.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return format;
}

}  // namespace

void TUtility::IniRead(const QString &section, const QString &key, int def, int &value)
{
    value = def;
    if (const auto raw = readRaw(*this, section, key))
        value = parseProfileInteger(*raw).value_or(def);
}

void TUtility::IniRead(const QString &section, const QString &key, bool def, bool &value)
{
    value = def;
    if (const auto raw = readRaw(*this, section, key))
        if (const auto number = parseProfileInteger(*raw))
            value = *number != 0;
}

void TUtility::IniRead(const QString &section, const QString &key, double def, double &value)
{
    value = def;
    if (const auto raw = readRaw(*this, section, key)) {
        bool ok = false;
        const double number = numberFormat().toDouble(*raw, &ok);
        if (ok && std::isfinite(number))
            value = number;
    }
}

void TUtility::IniRead(const QString &section, const QString &key, const QString &def, QString &value)
{
    value = readRaw(*this, section, key).value_or(def);
}

void TUtility::IniWrite(const QString &section, const QString &key, int value)
{
    writeRaw(*this, section, key, QString::number(value));
}

void TUtility::IniWrite(const QString &section, const QString &key, bool value)
{
    writeRaw(*this, section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TUtility::IniWrite(const QString &section, const QString &key, double value)
{
    writeRaw(*this, section, key, numberFormat().toString(value, 'g', QLocale::FloatingPointShortest));
}

void TUtility::IniWrite(const QString &section, const QString &key, const QString &value)
{
    writeRaw(*this, section, key, value);
}

int TUtility::RecentFilesCount()
{
    QString text;
    IniRead(SettingsSection::ProgramOptions, QStringLiteral("RecentFiles"),
            QString::number(DefaultRecentFilesCount), text);
    return std::max(0, parseProfileInteger(text).value_or(DefaultRecentFilesCount));
}
