// The English and German tables as the program's callers rely on them: the same
// ids in both (German stands in for any missing language), valid UTF-8, the same
// format fields, file filters the dialogs can split, and texts that fit the way
// callers join them with values.

#include "LanguageLibraryFile.h"

#include <QByteArray>
#include <QStringDecoder>
#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
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

    static std::vector<std::pair<std::string, const TextMap *>> both()
    {
        return {{"EN", &english()}, {"DE", &german()}};
    }
};

std::set<std::int32_t> idsOf(const TextMap &texts)
{
    std::set<std::int32_t> ids;
    for (const auto &[id, text] : texts)
        ids.insert(id);
    return ids;
}

std::string listOf(const std::set<std::int32_t> &ids)
{
    std::ostringstream out;
    for (std::int32_t id : ids)
        out << id << ' ';
    return out.str();
}

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

std::vector<std::string> filterParts(const std::string &filter)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (auto bar = filter.find('|'); bar != std::string::npos; bar = filter.find('|', start)) {
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    parts.push_back(filter.substr(start));
    return parts;
}

bool endsWithAnyOf(const std::string &text, const std::string &characters)
{
    return !text.empty() && characters.find(text.back()) != std::string::npos;
}

TEST_F(LanguageTablesTest, EveryIdHasATextInBothLanguages)
{
    const auto englishIds = idsOf(english());
    const auto germanIds = idsOf(german());
    ASSERT_TRUE(englishIds.count(0)) << "the main window's caption is missing";

    std::set<std::int32_t> onlyEnglish, onlyGerman;
    std::set_difference(englishIds.begin(), englishIds.end(), germanIds.begin(), germanIds.end(),
                        std::inserter(onlyEnglish, onlyEnglish.end()));
    std::set_difference(germanIds.begin(), germanIds.end(), englishIds.begin(), englishIds.end(),
                        std::inserter(onlyGerman, onlyGerman.end()));
    EXPECT_TRUE(onlyEnglish.empty()) << "ids without German text: " << listOf(onlyEnglish);
    EXPECT_TRUE(onlyGerman.empty()) << "ids without English text: " << listOf(onlyGerman);
}

TEST_F(LanguageTablesTest, TextsAndLanguageNamesAreValidUtf8)
{
    for (const auto &[language, texts] : both()) {
        for (const auto &[id, text] : *texts)
            EXPECT_TRUE(isValidUtf8(text)) << language << " id " << id;
    }
    for (const char *id : {"EN", "DE"})
        EXPECT_TRUE(isValidUtf8(LanguageLibraryFile(programLanguagePath(id)).languageName())) << id;
}

TEST_F(LanguageTablesTest, TranslationsKeepTheFormatFieldsInOrder)
{
    for (const auto &[id, englishText] : english()) {
        const auto translation = german().find(id);
        if (translation != german().end()) {
            EXPECT_EQ(formatFieldsOf(translation->second), formatFieldsOf(englishText)) << "id " << id;
        }
    }
}

TEST_F(LanguageTablesTest, FileFiltersAreDescriptionAndPatternPairs)
{
    for (std::int32_t id : {14, 15, 77}) {
        std::vector<std::string> englishPatterns;
        for (const auto &[language, texts] : both()) {
            const auto parts = filterParts(texts->at(id));
            ASSERT_EQ(parts.size() % 2, 0u) << language << " id " << id << ": " << texts->at(id);
            std::vector<std::string> patterns;
            for (std::size_t i = 0; i < parts.size(); i += 2) {
                EXPECT_FALSE(parts[i].empty()) << language << " id " << id;
                EXPECT_EQ(parts[i + 1].find_first_of(" ;"), std::string::npos)
                    << language << " id " << id << ": one pattern per filter";
                patterns.push_back(parts[i + 1]);
            }
            if (language == "EN") {
                englishPatterns = patterns;
            } else {
                EXPECT_EQ(patterns, englishPatterns) << "id " << id << ": the patterns differ by language";
            }
        }
    }
}

TEST_F(LanguageTablesTest, TextsHaveNoSurroundingBlanks)
{
    for (const auto &[language, texts] : both()) {
        for (const auto &[id, text] : *texts) {
            const bool startsWithBlank = std::isspace(static_cast<unsigned char>(text.front()));
            EXPECT_EQ(startsWithBlank, id == OverwriteQuestionId) << language << " id " << id << ": '" << text << "'";
            EXPECT_FALSE(std::isspace(static_cast<unsigned char>(text.back())))
                << language << " id " << id << ": '" << text << "'";
        }
    }
}

TEST_F(LanguageTablesTest, TextsFitWhatTheirCallersAppend)
{
    // Followed by ": " and a value.
    const std::vector<std::int32_t> beforeColon{3040, 3042, 3043, 7200};
    // Followed by " ... " and a result, " ...", ". " and a reason, or " (0x..)".
    const std::vector<std::int32_t> beforeDotsOrValue{3101, 3102, 3103, 3104, 3105, 3106, 3107, 3108,
                                                      7210, 7211, 7212, 7213, 7214, 7215, 7216, 7217, 7218};
    for (const auto &[language, texts] : both()) {
        for (std::int32_t id : beforeColon) {
            ASSERT_TRUE(texts->count(id)) << language << " id " << id;
            EXPECT_FALSE(endsWithAnyOf(texts->at(id), ":")) << language << " id " << id;
        }
        for (std::int32_t id : beforeDotsOrValue) {
            ASSERT_TRUE(texts->count(id)) << language << " id " << id;
            EXPECT_FALSE(endsWithAnyOf(texts->at(id), ".:!")) << language << " id " << id;
        }
    }
}

}  // namespace
