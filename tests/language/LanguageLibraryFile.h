#pragma once

// A language library opened by its full path, the way the program opens it, with
// the two-call rule applied from the caller's side.

#include "LanguageAbi.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

class LanguageLibraryFile {
public:
    explicit LanguageLibraryFile(const std::string &path);
    ~LanguageLibraryFile();
    LanguageLibraryFile(const LanguageLibraryFile &) = delete;
    LanguageLibraryFile &operator=(const LanguageLibraryFile &) = delete;

    bool isLoaded() const { return handle_ != nullptr; }
    const std::string &loadError() const { return loadError_; }

    decltype(&::getValue) valueExport = nullptr;
    decltype(&::getLangID) idExport = nullptr;
    decltype(&::getLangFull) fullNameExport = nullptr;

    std::string text(std::int32_t id) const;
    std::string languageId() const;
    std::string languageName() const;

    // Every id from first to last whose text is not empty.
    std::map<std::int32_t, std::string> textsBetween(std::int32_t first, std::int32_t last) const;

private:
    void *handle_ = nullptr;
    std::string loadError_;
};

using ExportCall = std::function<std::int32_t(char *, std::int32_t, std::int32_t)>;

// Asks for the length, then for the text, as the program does; a text that comes
// back without its terminator in the place the length promised fails the test.
std::string fetchByTwoCallRule(const ExportCall &call);

// Where the build put the program's language libraries and the test language.
std::string programLanguagePath(const std::string &languageId);
std::string testLanguagePath();
