// Every language library we build, loaded the way the program loads it: the
// exports and their two-call rule, short buffers, the library's own id and name;
// then the English and German tables as the program's callers rely on them.

#include "LanguageAbi.h"
#include "LanguageLibrary.h"

#include <QRegularExpression>
#include <QStringList>
#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

using lumaprog::language::ModeCopy;
using lumaprog::language::ModeLength;
using ExportCall = std::function<std::int32_t(char *, std::int32_t, std::int32_t)>;

constexpr char Guard = '\x5a';
constexpr std::size_t GuardBytes = 16;

QString programLanguagePath(const QString &languageId)
{
    return qEnvironmentVariable("LUMAPROG_BIN_DIR") + '/' + languageId + LanguageLibrarySuffix;
}

// The text by the two-call rule; a length answer that is not the text's own fails the test.
QString fetch(const ExportCall &call)
{
    const std::int32_t length = call(nullptr, 0, ModeLength);
    const QString text = LanguageLibrary::fetchText(call);
    EXPECT_EQ(text.toUtf8().size(), length) << "the length answered is not the text's";
    return text;
}

struct Exports {
    LanguageValueFunction value = nullptr;
    LanguageInfoFunction id = nullptr, fullName = nullptr;

    QString text(std::int32_t textId) const
    {
        return fetch([this, textId](char *buffer, std::int32_t size, std::int32_t mode) {
            return value(textId, buffer, size, mode);
        });
    }
};

Exports loadExports(const QString &path)
{
    int error = 0;
    void *library = LanguageLibrary::load(path, error);
    EXPECT_NE(library, nullptr) << path.toStdString() << ": error " << error;
    Exports exports;
    if (library) {
        exports.value = reinterpret_cast<LanguageValueFunction>(LanguageLibrary::findExport(library, "getValue", error));
        exports.id = reinterpret_cast<LanguageInfoFunction>(LanguageLibrary::findExport(library, "getLangID", error));
        exports.fullName =
            reinterpret_cast<LanguageInfoFunction>(LanguageLibrary::findExport(library, "getLangFull", error));
    }
    return exports;
}

struct LibraryCase {
    QString path;
    const char *id;  // the file name without ".lang.so"
    const char *fullName;
};

class LanguageLibraryTest : public ::testing::TestWithParam<LibraryCase> {
protected:
    void SetUp() override { ASSERT_TRUE(library.value && library.id && library.fullName); }

    Exports library = loadExports(GetParam().path);
};

TEST_P(LanguageLibraryTest, LanguageIdIsTheFileNameAndTheNameIsItsOwn)
{
    EXPECT_EQ(fetch(library.id), GetParam().id);
    EXPECT_EQ(fetch(library.fullName), QString::fromUtf8(GetParam().fullName));
}

TEST_P(LanguageLibraryTest, CopyFillsTheBufferGivenCutsAShortOneAndWritesNothingBeyondOrWithoutRoom)
{
    const QByteArray expected = library.text(0).toUtf8();  // the main window's caption, which every library has
    ASSERT_FALSE(expected.isEmpty());
    // Every size from one byte up to the text and its terminator.
    for (std::int32_t size = 1; size <= expected.size() + 1; ++size) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + GuardBytes, Guard);
        library.value(0, buffer.data(), size, ModeCopy);

        EXPECT_EQ(QByteArray(buffer.data(), qstrnlen(buffer.data(), uint(buffer.size()))), expected.left(size - 1));
        for (std::size_t i = static_cast<std::size_t>(size); i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], Guard) << "size " << size << ": byte " << i << " written";
    }

    char id[2 + GuardBytes];
    std::fill(std::begin(id), std::end(id), Guard);
    library.id(id, 2, ModeCopy);
    EXPECT_EQ(QByteArray(id, 2), QByteArray(GetParam().id, 1) + '\0');
    EXPECT_EQ(id[2], Guard);

    // No room: nothing is written, and no buffer is no crash.
    std::fill(std::begin(id), std::end(id), Guard);
    library.value(0, id, 0, ModeCopy);
    library.value(0, id, -1, ModeCopy);
    library.id(id, 0, ModeCopy);
    EXPECT_EQ(QByteArray(id, sizeof id), QByteArray(sizeof id, Guard));
    library.value(0, nullptr, 10, ModeCopy);
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageLibraryTest,
                         ::testing::Values(LibraryCase{programLanguagePath("EN"), "EN", "English"},
                                           LibraryCase{programLanguagePath("DE"), "DE", "Deutsch"},
                                           LibraryCase{qEnvironmentVariable("LUMAPROG_TEST_LIB_DIR") + "/TT.lang.so",
                                                       "TT", "Test"}),
                         [](const auto &info) { return std::string(info.param.id); });

TEST(ProgramLanguages, UnknownIdsGiveTheEmptyText)
{
    for (const char *language : {"EN", "DE"}) {
        const Exports library = loadExports(programLanguagePath(language));
        ASSERT_TRUE(library.value);
        for (std::int32_t unknown : {-1, INT_MIN, INT_MAX, 6502, 100000}) {
            EXPECT_EQ(library.value(unknown, nullptr, 0, ModeLength), 0) << language << " id " << unknown;

            char buffer[4] = {Guard, Guard, Guard, Guard};
            library.value(unknown, buffer, sizeof buffer, ModeCopy);
            EXPECT_EQ(buffer[0], '\0') << language << " id " << unknown;
            EXPECT_EQ(buffer[1], Guard);
        }
    }
}

// Every id the program uses lies in this range; probing it finds each table's ids
// through the exports alone.
constexpr std::int32_t FirstProbedId = -1000;
constexpr std::int32_t LastProbedId = 99999;

// A caller writes "<file name><text 78>".
constexpr std::int32_t OverwriteQuestionId = 78;

using TextMap = std::map<std::int32_t, QString>;

// The English and German tables, read once.
const std::map<QString, TextMap> &tables()
{
    static const std::map<QString, TextMap> loaded = [] {
        std::map<QString, TextMap> read;
        for (const char *language : {"EN", "DE"}) {
            const Exports library = loadExports(programLanguagePath(language));
            for (std::int32_t id = FirstProbedId; library.value && id <= LastProbedId; ++id) {
                if (library.value(id, nullptr, 0, ModeLength) != 0)
                    read[language].emplace(id, library.text(id));
            }
        }
        return read;
    }();
    return loaded;
}
const TextMap &english() { return tables().at("EN"); }
const TextMap &german() { return tables().at("DE"); }

QStringList formatFieldsOf(const QString &text)
{
    // printf's fields and QString::arg's %1 to %99.
    static const QRegularExpression field(R"(%[-+ 0#]*[0-9]*(\.[0-9]+)?[a-zA-Z%]|%[1-9][0-9]?)");
    QStringList fields;
    for (const QRegularExpressionMatch &match : field.globalMatch(text))
        fields << match.captured();
    return fields;
}

TEST(LanguageTables, EveryIdHasATextInBothLanguagesWithTheSameFormatFields)
{
    ASSERT_TRUE(english().count(0)) << "the main window's caption is missing";
    for (const auto &[id, text] : german())
        EXPECT_TRUE(english().count(id)) << "id " << id << " has no English text";
    for (const auto &[id, text] : english()) {
        EXPECT_TRUE(german().count(id)) << "id " << id << " has no German text";
        if (german().count(id)) {
            EXPECT_EQ(formatFieldsOf(german().at(id)), formatFieldsOf(text)) << "id " << id;
        }
    }
}

// Valid UTF-8 (which reads back without replacement characters) with no blank at
// either end, but for the text a file name goes before.
TEST(LanguageTables, TextsAreValidUtf8WithoutSurroundingBlanks)
{
    for (const auto &[language, texts] : tables()) {
        for (const auto &[id, text] : texts) {
            const std::string shown = language.toStdString() + " id " + std::to_string(id) + ": '" + text.toStdString() + "'";
            EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << shown;
            EXPECT_EQ(text.front().isSpace(), id == OverwriteQuestionId) << shown;
            EXPECT_FALSE(text.back().isSpace()) << shown;
        }
    }
}

TEST(LanguageTables, FileFiltersAreDescriptionAndPatternPairs)
{
    for (std::int32_t id : {14, 15, 77}) {
        QStringList patterns[2];
        for (const TextMap *texts : {&english(), &german()}) {
            const QStringList parts = texts->at(id).split(u'|');
            ASSERT_EQ(parts.size() % 2, 0) << "id " << id << ": " << texts->at(id).toStdString();
            for (qsizetype i = 0; i < parts.size(); i += 2) {
                EXPECT_FALSE(parts[i].isEmpty()) << "id " << id;
                EXPECT_FALSE(parts[i + 1].contains(u' ') || parts[i + 1].contains(u';')) << "id " << id << ": one pattern per filter";
                patterns[texts == &german()] << parts[i + 1];
            }
        }
        EXPECT_EQ(patterns[1], patterns[0]) << "id " << id << ": the patterns differ by language";
    }
}

// Texts that no table may leave in English: a German window shows them in German.
TEST(LanguageTables, MessagesOfTheProgramsOwnChecksAreTranslated)
{
    for (std::int32_t id : {7300, 7301, 7302, 7303, 7304, 7305, 7306, 7307}) {
        ASSERT_TRUE(english().count(id) && german().count(id)) << "id " << id;
        EXPECT_NE(german().at(id), english().at(id)) << "id " << id;
    }
}

TEST(LanguageTables, TextsFitWhatTheirCallersAppend)
{
    // Followed by ": " and a value; by " ... " and a result, " ...", ". " and a reason, or " (0x..)".
    const std::map<QString, std::vector<std::int32_t>> mustNotEndIn {
        {":", {3040, 3042, 3043, 7200}},
        {".:!", {3101, 3102, 3103, 3104, 3105, 3106, 3107, 3108,
                 7210, 7211, 7212, 7213, 7214, 7215, 7216, 7217, 7218}}};
    for (const auto &[language, texts] : tables()) {
        for (const auto &[endings, ids] : mustNotEndIn) {
            for (std::int32_t id : ids) {
                ASSERT_TRUE(texts.count(id)) << language.toStdString() << " id " << id;
                EXPECT_FALSE(endings.contains(texts.at(id).back())) << language.toStdString() << " id " << id;
            }
        }
    }
}

}  // namespace
