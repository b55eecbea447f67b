// The English and German tables as the program's callers rely on them: the same
// ids in both (German stands in for any missing language), valid UTF-8, the same
// format fields, file filters the dialogs can split, and texts that fit the way
// callers join them with values.

#include "LanguageLibraryFile.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

// Every id the program uses lies in this range; probing it finds each table's ids
// through the exports alone.
constexpr std::int32_t FirstProbedId = -1000;
constexpr std::int32_t LastProbedId = 99999;

// A caller writes "<file name><text 78>".
constexpr std::int32_t OverwriteQuestionId = 78;

using TextMap = std::map<std::int32_t, std::string>;

class LanguageTablesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const char *id : {"EN", "DE"}) {
            LanguageLibraryFile library(programLanguagePath(id));
            ASSERT_TRUE(library.isLoaded()) << library.loadError();
            tables()[id] = library.textsBetween(FirstProbedId, LastProbedId);
        }
    }

    static std::map<std::string, TextMap> &tables()
    {
        static std::map<std::string, TextMap> loaded;
        return loaded;
    }
    static const TextMap &english() { return tables()["EN"]; }
    static const TextMap &german() { return tables()["DE"]; }
};

bool isValidUtf8(const std::string &text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return !decoder.hasError() && !decoded.contains(QChar::ReplacementCharacter);
}

std::vector<std::string> formatFieldsOf(const std::string &text)
{
    static const std::regex field(R"(%[-+ 0#]*[0-9]*(\.[0-9]+)?[a-zA-Z%])");
    std::vector<std::string> fields;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), field); it != std::sregex_iterator(); ++it)
        fields.push_back(it->str());
    return fields;
}

TEST_F(LanguageTablesTest, EveryIdHasATextInBothLanguagesWithTheSameFormatFields)
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

// Valid UTF-8 with no blank at either end, but for the text a file name goes before.
TEST_F(LanguageTablesTest, TextsAreValidUtf8WithoutSurroundingBlanks)
{
    for (const auto &[language, texts] : tables()) {
        for (const auto &[id, text] : texts) {
            const QString decoded = QString::fromStdString(text);
            EXPECT_TRUE(isValidUtf8(text)) << language << " id " << id;
            EXPECT_EQ(decoded.front().isSpace(), id == OverwriteQuestionId) << language << " id " << id << ": '" << text << "'";
            EXPECT_FALSE(decoded.back().isSpace()) << language << " id " << id << ": '" << text << "'";
        }
        EXPECT_TRUE(isValidUtf8(LanguageLibraryFile(programLanguagePath(language)).languageName())) << language;
    }
}

TEST_F(LanguageTablesTest, FileFiltersAreDescriptionAndPatternPairs)
{
    for (std::int32_t id : {14, 15, 77}) {
        QStringList patterns[2];
        for (const TextMap *texts : {&english(), &german()}) {
            const QStringList parts = QString::fromStdString(texts->at(id)).split(u'|');
            ASSERT_EQ(parts.size() % 2, 0) << "id " << id << ": " << texts->at(id);
            for (qsizetype i = 0; i < parts.size(); i += 2) {
                EXPECT_FALSE(parts[i].isEmpty()) << "id " << id;
                EXPECT_FALSE(parts[i + 1].contains(u' ') || parts[i + 1].contains(u';')) << "id " << id << ": one pattern per filter";
                patterns[texts == &german()] << parts[i + 1];
            }
        }
        EXPECT_EQ(patterns[1], patterns[0]) << "id " << id << ": the patterns differ by language";
    }
}

TEST_F(LanguageTablesTest, TextsFitWhatTheirCallersAppend)
{
    // Followed by ": " and a value; by " ... " and a result, " ...", ". " and a reason, or " (0x..)".
    const std::map<std::string, std::vector<std::int32_t>> mustNotEndIn {
        {":", {3040, 3042, 3043, 7200}},
        {".:!", {3101, 3102, 3103, 3104, 3105, 3106, 3107, 3108,
                 7210, 7211, 7212, 7213, 7214, 7215, 7216, 7217, 7218}}};
    for (const auto &[language, texts] : tables()) {
        for (const auto &[endings, ids] : mustNotEndIn) {
            for (std::int32_t id : ids) {
                ASSERT_TRUE(texts.count(id)) << language << " id " << id;
                EXPECT_EQ(endings.find(texts.at(id).back()), std::string::npos) << language << " id " << id;
            }
        }
    }
}

}  // namespace
