#include "LanguageLibrary.h"

#include <QTextStream>
#include <algorithm>
#include <cerrno>
#include <dlfcn.h>
#include <vector>

namespace {
// dlopen and dlsym report through dlerror() and often leave errno untouched;
// these stand in so that a failure never reads as error number 0.
constexpr int LoadFailedError = ENOEXEC;
constexpr int ExportMissingError = 127;  // the number Windows gives a missing procedure

// The two calls of the two-call rule.
constexpr std::int32_t ModeLength = 0;
constexpr std::int32_t ModeCopy = 1;

int errorOr(int fallback)
{
    return errno != 0 ? errno : fallback;
}

void reportLoaderMessage()
{
    if (const char *message = dlerror())
        QTextStream(stderr) << message << Qt::endl;
}
}

namespace LanguageLibrary {

void *load(const QString &path, int &errorNumber)
{
    errno = 0;
    void *library = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        errorNumber = errorOr(LoadFailedError);
        reportLoaderMessage();
    }
    return library;
}

ExportFunction findExport(void *library, const char *name, int &errorNumber)
{
    errno = 0;
    void *address = dlsym(library, name);
    if (!address) {
        errorNumber = errorOr(ExportMissingError);
        reportLoaderMessage();
        return nullptr;
    }
    return reinterpret_cast<ExportFunction>(address);
}

QString fetchText(const std::function<std::int32_t(char *, std::int32_t, std::int32_t)> &call)
{
    const std::int32_t length = std::clamp(call(nullptr, 0, ModeLength), 0, MaxTextLength);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    call(buffer.data(), length + 1, ModeCopy);
    buffer[static_cast<std::size_t>(length)] = '\0';
    return QString::fromUtf8(buffer.data());
}

}  // namespace LanguageLibrary
