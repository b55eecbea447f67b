#include "CoreFixture.h"

#include "Exceptions.h"
#include "LanguageLibrary.h"
#include "QtTranslations.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <dlfcn.h>

namespace {

const QString libraries = QStringLiteral(CORE_TEST_LIB_DIR) + '/';
const QString missingLibraryText =
    QStringLiteral("Fehler!|Standard Sprach-DLL nicht gefunden!\r\nBitte installieren Sie die Anwendung neu!");

class Texts : public CoreFixture {
protected:
    // Puts one of the test libraries into the executable's folder under a name of our choice.
    void install(const QString &built, const QString &languageId, const QString &folder = {})
    {
        const QString target = (folder.isEmpty() ? folders.exeFolder() : folder) + '/' + languageId + LanguageLibrarySuffix;
        ASSERT_TRUE(QFile::copy(libraries + built + LanguageLibrarySuffix, target)) << target.toStdString();
    }
    void setLanguage(const QString &languageId) { utility.IniWrite("ProgramOptions", "LanguageID", languageId); }

    // The message of the EDllError that looking up id 0 raises; empty when none is raised.
    QString lookupError()
    {
        try {
            utility.Text(0);
        } catch (const EDllError &error) {
            return error.message();
        }
        return {};
    }
};

bool isErrorWithNumber(const QString &message, const QString &prefix)
{
    return QRegularExpression("^" + QRegularExpression::escape(prefix) + "\r\n[1-9][0-9]*$").match(message).hasMatch();
}

}  // namespace

TEST_F(Texts, ChosenLanguageIsReadAfreshAndAnyOtherIdFallsBackToGermanSilently)
{
    QTemporaryDir root;
    const QString programFolder = root.path() + "/program";
    ASSERT_TRUE(QDir().mkpath(programFolder));
    TUtility::SetExeFolderOverride(programFolder);
    install("EN", "EN", programFolder);
    install("DE", "DE", programFolder);
    install("EN", "evil", root.path());  // would answer "EN ..." if it were ever loaded
    EXPECT_EQ(utility.Text(0), "EN 0");
    EXPECT_EQ(utility.UnknownErrorText(), "EN 7300");
    QString text;
    utility.GetText(1016, text);
    EXPECT_EQ(text, "EN 1016");
    setLanguage("DE");
    EXPECT_EQ(utility.Text(0), "DE 0");

    // Missing, no plain name, or not the file's exact name.
    for (const char *id : {"XX", "../evil", "..", "sub/EN", "", "en"}) {
        setLanguage(id);
        EXPECT_EQ(utility.Text(4), "DE 4") << id;
    }
    EXPECT_TRUE(hooks.errors.isEmpty());
    EXPECT_TRUE(hooks.messages.isEmpty());
    EXPECT_FALSE(Application::terminated());
    EXPECT_EQ(read<QString>("ProgramOptions", "LanguageID", ""), "en");  // the fallback leaves the settings alone
}

TEST_F(Texts, BothLibrariesMissingTellsTheUserOncePerLookupAndRaises)
{
    setLanguage("EN");
    for (int lookup = 1; lookup <= 2; ++lookup) {
        EXPECT_TRUE(isErrorWithNumber(lookupError(), "Fatal ERROR: loading Dll")) << lookup;
        EXPECT_EQ(hooks.errors.size(), lookup);
        EXPECT_EQ(hooks.errors.last(), missingLibraryText);
        EXPECT_TRUE(Application::terminated());
    }
}

// Qt's standard buttons and file dialogs speak the chosen language, each
// choice replacing the one before; English leaves Qt's own texts.
TEST(QtTranslations, FollowTheChosenLanguageIdReplacingTheLastOne)
{
    const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };
    ASSERT_TRUE(InstallQtTranslations("DE")) << "Qt's translations are not installed";
    EXPECT_EQ(yes(), "&Ja");
    for (const char *language : {"EN", "XX", ""}) {
        ASSERT_TRUE(InstallQtTranslations("DE"));
        EXPECT_FALSE(InstallQtTranslations(language)) << language;
        EXPECT_EQ(yes(), "&Yes") << language;
    }
    EXPECT_TRUE(InstallQtTranslations("fr"));
    EXPECT_EQ(yes(), "&Oui");
    InstallQtTranslations("EN");
}

TEST_F(Texts, LibraryWithoutGetValueOrNoLibraryAtAllFailsOnEveryLookup)
{
    install("DE", "DE");
    install("NoGetValue", "NG");
    writeFile(folders.exeFolder() + "/EN" + LanguageLibrarySuffix, "this is not a shared object\n");
    const std::pair<const char *, const char *> cases[] = {{"NG", "Fatal ERROR: Get function in Dll"},
                                                           {"EN", "Fatal ERROR: loading Dll"}};
    for (const auto &[language, prefix] : cases) {
        setLanguage(language);
        EXPECT_TRUE(isErrorWithNumber(lookupError(), prefix)) << language;
        EXPECT_TRUE(isErrorWithNumber(lookupError(), prefix)) << language;
        EXPECT_TRUE(isErrorWithNumber(utility.UnknownErrorText(), prefix)) << language << ": never raises";
    }
    EXPECT_TRUE(hooks.errors.isEmpty());
}

TEST_F(Texts, TextsAreTakenByteExactAndBoundedByTheTwoCallRule)
{
    install("EN", "EN");
    const QString nonAscii = QString::fromUtf8("öffnen – 10 µs");
    EXPECT_EQ(utility.Text(5), nonAscii);
    EXPECT_EQ(utility.Text(7), "");

    const QByteArray path = QFile::encodeName(folders.exeFolder() + "/EN" + LanguageLibrarySuffix);
    void *library = dlopen(path.constData(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << "the lookup must keep the library loaded";
    using RecordedCalls = const std::int32_t *(*)(std::int32_t *);
    const auto recordedCalls = reinterpret_cast<RecordedCalls>(dlsym(library, "recordedCalls"));
    ASSERT_TRUE(recordedCalls);
    std::int32_t count = 0;
    const std::int32_t *calls = recordedCalls(&count);
    // Per call: id, buffer given, size, mode.
    const std::vector<std::int32_t> expected = {5, 0, 0, 0, 5, 1, std::int32_t(nonAscii.toUtf8().size()) + 1, 1,
                                                7, 0, 0, 0, 7, 1, 1, 1};
    EXPECT_EQ(std::vector<std::int32_t>(calls, calls + 4 * count), expected);

    EXPECT_EQ(utility.Text(9), "");  // a negative length is an empty text
    const QString endless = utility.Text(8);
    EXPECT_EQ(endless.size(), LanguageLibrary::MaxTextLength);
    EXPECT_EQ(endless.count('x'), LanguageLibrary::MaxTextLength);
}
