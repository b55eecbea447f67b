// What lies under the settings file's name: anything but a regular file of
// sensible size is neither read nor written, is reported once, and stays as
// it was; each use runs in a child, so a read that would block or never end
// fails the test instead of hanging it.
#include "ChildProcess.h"
#include "CoreFixture.h"
#include "IniFile.h"

#include <QStringList>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qint64 MiB = 1024 * 1024;
const QByteArray FedSettings = "[System]\nWindowTop=5\n";

// Writes the settings into a FIFO again and again, each time a reader opens
// it, until the feeder ends.
class FifoFeeder {
public:
    explicit FifoFeeder(const QString &fifo) : m_fifo(QFile::encodeName(fifo)), m_pid(fork())
    {
        if (m_pid == 0)
            feed();
    }
    ~FifoFeeder()
    {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    FifoFeeder(const FifoFeeder &) = delete;
    FifoFeeder &operator=(const FifoFeeder &) = delete;

private:
    [[noreturn]] void feed() const
    {
        std::signal(SIGPIPE, SIG_IGN);  // a reader that closes at once is no reason to stop
        for (;;) {
            const int fd = ::open(m_fifo.constData(), O_WRONLY);
            if (fd < 0)
                _exit(1);
            const ssize_t written = ::write(fd, FedSettings.constData(), size_t(FedSettings.size()));
            static_cast<void>(written);  // whatever the reader took, the next one is fed anew
            ::close(fd);
        }
    }

    QByteArray m_fifo;
    pid_t m_pid;
};

bool bindSocket(const QString &path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

// The file type and, for a link, its target: what must not change.
std::string kindOf(const QString &path)
{
    struct stat status {};
    if (::lstat(qPrintable(path), &status) != 0)
        return "missing";
    if (S_ISLNK(status.st_mode))
        return "link to " + QFile::symLinkTarget(path).toStdString();
    return QStringLiteral("mode %1 size %2").arg(status.st_mode, 0, 8).arg(status.st_size).toStdString();
}

class SettingsFileKind : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        ASSERT_TRUE(folders.installTestLanguage("EN"));  // the language when none can be read
        ASSERT_TRUE(QDir().mkpath(QFileInfo(userSettingsFile()).path()));
    }

    // A write first, so that the read inside its message's lookup is the
    // first read of the file; then a text lookup, reads and one more write.
    // Gives what was read, then every box shown.
    std::string useSettingsInChild()
    {
        ChildLimits limits;
#if !defined(__SANITIZE_ADDRESS__)
        limits.addressSpaceHeadroom = 256 * MiB;  // an unbounded read fails at once, not after gigabytes
#endif
        return RunInChild([&] {
            utility.IniWrite("System", "WindowTop", 7);
            QStringList seen {utility.Text(0), QString::number(read("System", "WindowTop", -1))};
            utility.IniWrite("System", "WindowLeft", 8);
            seen << QString::number(read("System", "WindowLeft", -1)) << hooks.messages << hooks.errors;
            return seen.join(u'|').toUtf8();
        }, limits).toStdString();
    }

    // What useSettingsInChild gives for a file refused for this reason: the
    // defaults, one box for the writes and one for the reads.
    std::string refusedReadAndWrite(const QString &reason)
    {
        const QString file = userSettingsFile();
        return QStringList {"T0", "-1", "-1", "Unable to write to " + file + ". " + reason,
                            "Cannot open file \"" + file + "\". " + reason}.join(u'|').toStdString();
    }

    // One way of putting something under the settings file's name.
    struct Kind {
        const char *name;
        std::function<bool()> make;
    };

    // Each kind in turn: refused for the reason, and still there as it was.
    void expectEachRefused(std::initializer_list<Kind> kinds, const QString &reason)
    {
        const QString file = userSettingsFile();
        for (const Kind &kind : kinds) {
            SCOPED_TRACE(kind.name);
            ASSERT_TRUE(kind.make());
            const std::string before = kindOf(file);
            EXPECT_EQ(useSettingsInChild(), refusedReadAndWrite(reason));
            EXPECT_EQ(kindOf(file), before);
            ASSERT_TRUE(QFile::remove(file));
        }
    }
};

}  // namespace

TEST_F(SettingsFileKind, PipeDeviceOrSocketIsNeitherReadNorWrittenAndReportedOnce)
{
    const QString file = userSettingsFile();
    expectEachRefused({{"FifoWithoutWriter", [&] { return ::mkfifo(qPrintable(file), 0600) == 0; }},
                       {"LinkToDevZero", [&] { return QFile::link("/dev/zero", file); }},
                       {"Socket", [&] { return bindSocket(file); }}},
                      "T7301");
}

// The writer stands ready, so a reader would get settings from it; the pipe
// is still no settings file, and the first write must not put one in its place.
TEST_F(SettingsFileKind, FedFifoIsNeitherReadNorReplaced)
{
    const QString file = userSettingsFile();
    ASSERT_EQ(::mkfifo(qPrintable(file), 0600), 0);
    const std::string before = kindOf(file);
    {
        const FifoFeeder feeder(file);
        EXPECT_EQ(useSettingsInChild(), refusedReadAndWrite("T7301"));
    }
    EXPECT_EQ(kindOf(file), before);
}

// A regular file past the bound that tells its size, and a link to one of
// /proc that tells a size of 0 and holds gigabytes: the bound holds for what
// is read, not only for what the file tells.
TEST_F(SettingsFileKind, FileBeyondTheBoundIsNeitherReadNorWritten)
{
    const QString file = userSettingsFile();
    expectEachRefused({{"SizeTold",
                        [&] {
                            writeFile(file, FedSettings);
                            return QFile::resize(file, IniFile::MaxFileSize + 1);
                        }},
                       {"NoSizeTold", [&] { return QFile::link("/proc/self/pagemap", file); }}},
                      "T7309");
}

TEST_F(SettingsFileKind, LinkToARegularFileIsReadAndWrittenThroughAndStaysALink)
{
    const QString target = folders.configHome() + "/elsewhere.ini";
    writeFile(target, FedSettings);
    ASSERT_TRUE(QFile::link(target, userSettingsFile()));
    EXPECT_EQ(read("System", "WindowTop", -1), 5);
    utility.IniWrite("System", "WindowLeft", 8);
    EXPECT_EQ(kindOf(userSettingsFile()), "link to " + target.toStdString());
    EXPECT_EQ(readFile(target), FedSettings + "WindowLeft=8\n");
    EXPECT_TRUE(hooks.messages.isEmpty());
}
