#include "LanguageLibraryFile.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

template<typename Function>
Function exportOf(void *handle, const char *name)
{
    return handle ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
}

std::string folderFromEnvironment(const char *variable)
{
    const char *value = std::getenv(variable);
    return value ? value : "";
}

}  // namespace

LanguageLibraryFile::LanguageLibraryFile(const std::string &path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
{
    if (!handle_) {
        const char *message = dlerror();
        loadError_ = message ? message : "unknown dlopen error";
    }
    valueExport = exportOf<decltype(valueExport)>(handle_, "getValue");
    idExport = exportOf<decltype(idExport)>(handle_, "getLangID");
    fullNameExport = exportOf<decltype(fullNameExport)>(handle_, "getLangFull");
}

LanguageLibraryFile::~LanguageLibraryFile()
{
    if (handle_)
        dlclose(handle_);
}

std::string LanguageLibraryFile::text(std::int32_t id) const
{
    return fetchByTwoCallRule([this, id](char *buffer, std::int32_t size, std::int32_t mode) {
        return valueExport(id, buffer, size, mode);
    });
}

std::string LanguageLibraryFile::languageId() const { return fetchByTwoCallRule(idExport); }
std::string LanguageLibraryFile::languageName() const { return fetchByTwoCallRule(fullNameExport); }

std::map<std::int32_t, std::string> LanguageLibraryFile::textsBetween(std::int32_t first,
                                                                      std::int32_t last) const
{
    std::map<std::int32_t, std::string> texts;
    for (std::int32_t id = first; id <= last; ++id) {
        if (valueExport(id, nullptr, 0, lumaprog::language::ModeLength) != 0)
            texts.emplace(id, text(id));
    }
    return texts;
}

std::string fetchByTwoCallRule(const ExportCall &call)
{
    const std::int32_t length = call(nullptr, 0, lumaprog::language::ModeLength);
    if (length < 0) {
        ADD_FAILURE() << "negative length " << length;
        return {};
    }
    std::string buffer(static_cast<std::size_t>(length) + 1, '\x7f');
    call(buffer.data(), length + 1, lumaprog::language::ModeCopy);
    EXPECT_EQ(buffer[static_cast<std::size_t>(length)], '\0') << "text not terminated where its length says";
    EXPECT_EQ(std::strlen(buffer.c_str()), static_cast<std::size_t>(length)) << "text shorter than its length";
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

std::string programLanguagePath(const std::string &languageId)
{
    return folderFromEnvironment("LUMAPROG_BIN_DIR") + "/" + languageId + ".lang.so";
}

std::string testLanguagePath()
{
    return folderFromEnvironment("LUMAPROG_TEST_LIB_DIR") + "/TT.lang.so";
}
