#pragma once

#include <QString>

// Qt's own texts (the standard buttons of the questions, the file dialogs) in
// the language the program's texts are in, named by its language id ("DE",
// "EN"), whatever the system's language. Each call replaces the translation
// installed by the one before; English, the language of Qt's own texts, and a
// language Qt has no translation for leave Qt's built-in English. Call once
// the application object exists. True when a translation is installed.
bool InstallQtTranslations(const QString &languageId);
