#pragma once

#include <QLocale>

class QTranslator;

// Qt's own texts (the standard buttons of the message boxes, the file dialogs)
// in the language of the given locale, as the platform's own dialogs follow the
// system's language whichever language the program's texts are in. Call once
// the application object exists. Returns the translator now installed, owned
// by the application; null when Qt has no translation for that language.
QTranslator *InstallQtTranslations(const QLocale &locale = QLocale::system());
