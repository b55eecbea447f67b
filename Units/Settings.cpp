// TUtility's settings access: the kind of value chooses how a key is read or
// written; errors are shown, never passed on.
#include "Exceptions.h"
#include "IniFile.h"
#include "UiHooks.h"
#include "Utils.h"

#include <QLocale>
#include <QSet>
#include <cmath>

namespace {

// Every text lookup reads the settings, so an unreadable file would otherwise
// bring up one message box per lookup; each file's read error is shown once a run.
QSet<QString> &filesWithReportedReadError()
{
    static QSet<QString> files;
    return files;
}

// Shut-down writes some thirty keys; a file that refuses them is reported once
// until a write to it succeeds again.
QSet<QString> &filesWithReportedWriteError()
{
    static QSet<QString> files;
    return files;
}

void reportOnce(QSet<QString> &reported, const QString &file, const QString &message)
{
    if (reported.contains(file))
        return;
    reported.insert(file);
    uiHooks().showMessage(message);
}

std::optional<QString> readRaw(TUtility &utility, const QString &section, const QString &key)
{
    const QString file = utility.SettingsFile();
    try {
        return IniFile(file).read(section, key);
    } catch (const Exception &error) {
        reportOnce(filesWithReportedReadError(), file, error.message());
        return std::nullopt;
    }
}

void writeRaw(TUtility &utility, const QString &section, const QString &key, const QString &value)
{
    const QString file = utility.SettingsFile();
    try {
        IniFile(file).write(section, key, value);
        filesWithReportedWriteError().remove(file);
    } catch (const Exception &error) {
        reportOnce(filesWithReportedWriteError(), file, error.message());
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
