// The exports of every language library we build: loading by full path, the
// two-call rule, short buffers, and the library's own id and name.

#include "LanguageLibraryFile.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using lumaprog::language::ModeCopy;
using lumaprog::language::ModeLength;

struct LibraryCase {
    std::string path;
    std::string id;        // the file name without ".lang.so"
    std::string fullName;
};

std::ostream &operator<<(std::ostream &out, const LibraryCase &library)
{
    return out << library.id;
}

constexpr char Guard = '\x5a';
constexpr std::size_t GuardBytes = 16;

class LanguageLibraryTest : public ::testing::TestWithParam<LibraryCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library.isLoaded()) << GetParam().path << ": " << library.loadError();
        ASSERT_NE(library.valueExport, nullptr);
        ASSERT_NE(library.idExport, nullptr);
        ASSERT_NE(library.fullNameExport, nullptr);
    }

    // The main window's caption: a text that every library has.
    std::string caption() const { return library.text(0); }

    LanguageLibraryFile library{GetParam().path};
};

TEST_P(LanguageLibraryTest, LanguageIdIsTheFileNameAndTheNameIsItsOwn)
{
    EXPECT_EQ(library.languageId(), GetParam().id);
    EXPECT_EQ(library.languageName(), GetParam().fullName);
}

TEST_P(LanguageLibraryTest, CopyFillsTheBufferGivenCutsAShortOneAndWritesNothingBeyond)
{
    const std::string expected = caption();  // read by the two-call rule, which checks the length
    ASSERT_FALSE(expected.empty());
    const auto length = static_cast<std::int32_t>(expected.size());
    // Every size from one byte up to the text and its terminator.
    for (std::int32_t size = 1; size <= length + 1; ++size) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + GuardBytes, Guard);
        library.valueExport(0, buffer.data(), size, ModeCopy);

        EXPECT_EQ(std::string(buffer.data()), expected.substr(0, static_cast<std::size_t>(size - 1)));
        for (std::size_t i = static_cast<std::size_t>(size); i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], Guard) << "size " << size << ": byte " << i << " written";
    }

    char id[2 + GuardBytes];
    std::fill(std::begin(id), std::end(id), Guard);
    library.idExport(id, 2, ModeCopy);
    EXPECT_EQ(std::string(id), GetParam().id.substr(0, 1));
    EXPECT_EQ(id[2], Guard);
}

TEST_P(LanguageLibraryTest, CopyWithoutRoomWritesNothing)
{
    char buffer[GuardBytes];
    std::fill(std::begin(buffer), std::end(buffer), Guard);
    library.valueExport(0, buffer, 0, ModeCopy);
    library.valueExport(0, buffer, -1, ModeCopy);
    library.idExport(buffer, 0, ModeCopy);
    for (char byte : buffer)
        ASSERT_EQ(byte, Guard);

    library.valueExport(0, nullptr, 10, ModeCopy);  // must not crash
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageLibraryTest,
                         ::testing::Values(LibraryCase{programLanguagePath("EN"), "EN", "English"},
                                           LibraryCase{programLanguagePath("DE"), "DE", "Deutsch"},
                                           LibraryCase{testLanguagePath(), "TT", "Test"}),
                         [](const auto &info) { return info.param.id; });

TEST(ProgramLanguages, UnknownIdsGiveTheEmptyText)
{
    for (const char *id : {"EN", "DE"}) {
        LanguageLibraryFile library(programLanguagePath(id));
        ASSERT_TRUE(library.isLoaded()) << library.loadError();
        for (std::int32_t unknown : {-1, INT_MIN, INT_MAX, 6502, 100000}) {
            EXPECT_EQ(library.valueExport(unknown, nullptr, 0, ModeLength), 0) << id << " id " << unknown;

            char buffer[4] = {Guard, Guard, Guard, Guard};
            library.valueExport(unknown, buffer, sizeof buffer, ModeCopy);
            EXPECT_EQ(buffer[0], '\0') << id << " id " << unknown;
            EXPECT_EQ(buffer[1], Guard);
        }
    }
}

}  // namespace
