// What lies under the settings file's name: anything but a regular file of
// sensible size is neither read nor written, is reported once with its
// reason, and stays as it was. Whatever the program is pointed at lies in the
// test's own folders, so that a write ignoring a refusal harms nothing else;
// each use runs in a child, so a read that would block or never end fails the
// test instead of hanging it.
#include "ChildProcess.h"
#include "CoreFixture.h"
#include "IniFile.h"
#include "RegularFile.h"

#include <QStringList>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

// A node of the zero device, which reads zeros without end; false where
// none can be made or read in the test's folder (no right to make device
// nodes, or a file system mounted without them).
bool makeZeroDevice(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 5)) != 0)
        return false;
    const int fd = ::open(name.constData(), O_RDONLY);
    char bytes[8];
    const bool reads = fd >= 0 && ::read(fd, bytes, sizeof bytes) == ssize_t(sizeof bytes);
    if (fd >= 0)
        ::close(fd);
    if (!reads)
        QFile::remove(path);
    return reads;
}

// What must not change under a name: the file type, the file itself, its
// size (grown by growth) and, for a link, its target.
std::string kindOf(const QString &path, qint64 growth = 0)
{
    struct stat status {};
    if (::lstat(qPrintable(path), &status) != 0)
        return "missing";
    const QString kind = QStringLiteral("mode %1 inode %2 size %3")
                             .arg(status.st_mode, 0, 8)
                             .arg(status.st_ino)
                             .arg(status.st_size + growth);
    if (S_ISLNK(status.st_mode))
        return (kind + " link to " + QFile::symLinkTarget(path)).toStdString();
    return kind.toStdString();
}

// How the settings are used: as a start uses them, reads first (the caption's
// text, the window's settings) and writes after them; or a write first, so
// that the read inside its message's lookup is the first read of the file.
enum class Order { AsAStart, WriteFirst };

const char *nameOf(Order order)
{
    return order == Order::AsAStart ? "AsAStart" : "WriteFirst";
}

class SettingsFileKind : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        ASSERT_TRUE(folders.installTestLanguage("EN"));  // the language when none can be read
        ASSERT_TRUE(QDir().mkpath(QFileInfo(userSettingsFile()).path()));
    }

    // Uses the settings in a child, where the file grows by growth bytes
    // each time a read has been told its size. Gives what was read, then
    // every box shown.
    std::string useSettingsInChild(Order order, qint64 growth = 0)
    {
        ChildLimits limits;
#if !defined(__SANITIZE_ADDRESS__)
        limits.addressSpaceHeadroom = 256 * MiB;  // an unbounded read fails at once, not after gigabytes
#endif
        const QString file = userSettingsFile();
        return RunInChild([&] {
            if (growth)
                RegularFile::setTestHook(RegularFile::Moment::BeforeReading,
                                         [&] { QFile::resize(file, QFileInfo(file).size() + growth); });
            if (order == Order::WriteFirst)
                utility.IniWrite("System", "WindowTop", 7);
            QStringList seen {utility.Text(0), QString::number(read("System", "WindowTop", -1))};
            utility.IniWrite("System", "WindowLeft", 8);
            seen << QString::number(read("System", "WindowLeft", -1)) << hooks.messages << hooks.errors;
            return seen.join(u'|').toUtf8();
        }, limits).toStdString();
    }

    // What useSettingsInChild gives for a file refused for this reason: the
    // defaults, and one box, with the reason, from whichever use met the file first.
    std::string refusal(Order order, const QString &reason)
    {
        const QString file = userSettingsFile();
        const QString message = order == Order::WriteFirst ? "Unable to write to " + file + "."
                                                           : "Cannot open file \"" + file + "\".";
        return QStringList {"T0", "-1", "-1", message + ' ' + reason}.join(u'|').toStdString();
    }

    // Refused for the reason and reported once, and still there as it was.
    void expectRefused(Order order, const QString &reason, qint64 growth = 0)
    {
        const std::string after = kindOf(userSettingsFile(), growth);
        EXPECT_EQ(useSettingsInChild(order, growth), refusal(order, reason));
        EXPECT_EQ(kindOf(userSettingsFile()), after);
    }

    // One way of putting something under the settings file's name, and how
    // much the file grows each time a read has been told its size.
    struct Kind {
        const char *name;
        std::function<bool()> make;
        qint64 growth = 0;
    };

    // Each kind in turn, made anew for each order.
    void expectEachRefused(std::initializer_list<Kind> kinds, const QString &reason)
    {
        for (const Kind &kind : kinds)
            for (const Order order : {Order::AsAStart, Order::WriteFirst}) {
                SCOPED_TRACE(std::string(kind.name) + " " + nameOf(order));
                ASSERT_TRUE(kind.make());
                expectRefused(order, reason, kind.growth);
                ASSERT_TRUE(QFile::remove(userSettingsFile()));
            }
    }
};

}  // namespace

TEST_F(SettingsFileKind, PipeOrSocketIsNeitherReadNorWrittenAndReportedOnce)
{
    const QString file = userSettingsFile();
    expectEachRefused({{"FifoWithoutWriter", [&] { return ::mkfifo(qPrintable(file), 0600) == 0; }},
                       {"Socket", [&] { return bindSocket(file); }}},
                      "T7301");
}

// A device that never ends a read, under the name and behind a link: the
// node is the test's own, so a write that ignored the refusal could replace
// nothing but it.
TEST_F(SettingsFileKind, EndlessDeviceIsNeitherReadNorWrittenAndReportedOnce)
{
    const QString device = folders.configHome() + "/zero";
    if (!makeZeroDevice(device))
        GTEST_SKIP() << "no zero device node can be made and read in " << device.toStdString()
                     << " (no right to make nodes, or a file system without them): an endless device goes unchecked";
    const QString file = userSettingsFile();
    expectEachRefused({{"ZeroDevice", [&] { return makeZeroDevice(file); }},
                       {"LinkToZeroDevice", [&] { return QFile::link(device, file); }}},
                      "T7301");
}

// The writer stands ready, so a reader would get settings from it; the pipe
// is still no settings file, and the first write must not put one in its place.
TEST_F(SettingsFileKind, FedFifoIsNeitherReadNorReplaced)
{
    ASSERT_EQ(::mkfifo(qPrintable(userSettingsFile()), 0600), 0);
    const FifoFeeder feeder(userSettingsFile());
    for (const Order order : {Order::AsAStart, Order::WriteFirst}) {
        SCOPED_TRACE(nameOf(order));
        expectRefused(order, "T7301");
    }
}

// A regular file past the bound that tells its size, and one that tells a
// size within it and then grows past it while it is read: the bound holds
// for what is read, not only for what the file tells.
TEST_F(SettingsFileKind, FileBeyondTheBoundIsNeitherReadNorWritten)
{
    const QString file = userSettingsFile();
    const auto settings = [&](qint64 size) {
        writeFile(file, FedSettings);
        return QFile::resize(file, size);
    };
    expectEachRefused({{"SizeTold", [&] { return settings(IniFile::MaxFileSize + 1); }},
                       {"GrowsWhileRead", [&] { return settings(IniFile::MaxFileSize); }, 1}},
                      "T7309");
}

// The user reads the bound in MiB, in English: a refused file tells no language.
TEST_F(SettingsFileKind, RefusalForSizeReadsInTheUsersWords)
{
    const QString library = folders.exeFolder() + "/EN.lang.so";
    ASSERT_TRUE(QFile::remove(library)
                && QFile::copy(qEnvironmentVariable("LUMAPROG_BIN_DIR") + "/EN.lang.so", library));
    writeFile(userSettingsFile(), FedSettings);
    ASSERT_TRUE(QFile::resize(userSettingsFile(), IniFile::MaxFileSize + 1));
    EXPECT_EQ(read("System", "WindowTop", -1), -1);
    EXPECT_EQ(hooks.messages.join(u'|').toStdString(),
              ("Cannot open file \"" + userSettingsFile()
               + "\". The file is larger than 4 MiB, too large for a settings file.").toStdString());
}

TEST_F(SettingsFileKind, LinkToARegularFileIsReadAndWrittenThroughAndStaysALink)
{
    const QString target = folders.configHome() + "/elsewhere.ini";
    writeFile(target, FedSettings);
    ASSERT_TRUE(QFile::link(target, userSettingsFile()));
    EXPECT_EQ(read("System", "WindowTop", -1), 5);
    utility.IniWrite("System", "WindowLeft", 8);
    EXPECT_EQ(QFile::symLinkTarget(userSettingsFile()), target);
    EXPECT_EQ(readFile(target), FedSettings + "WindowLeft=8\n");
    EXPECT_TRUE(hooks.messages.isEmpty());
}
