#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <memory>

namespace {
// The translator installed last; the application owns it.
QPointer<QTranslator> &installedTranslator()
{
    static QPointer<QTranslator> translator;
    return translator;
}

void removeInstalledTranslator()
{
    if (QTranslator *old = installedTranslator()) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
}
}

bool InstallQtTranslations(const QString &languageId)
{
    removeInstalledTranslator();
    const QLocale locale(languageId.toLower());
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return false;
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installedTranslator() = translator.release();
    return true;
}
