// Start-up: splash, single instance, the start page's picture, and the error guard.
#include "GuiFixture.h"

#include "ExceptionGuard.h"
#include "Exceptions.h"
#include "GuiUiHooks.h"
#include "JpegImage.h"
#include "SingleInstance.h"
#include "Sleep.h"
#include "UiHooks.h"
#include "Version.h"
#include "VersionLine.h"
#include "u_Splash.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>

#include <array>
#include <memory>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

// Claims and turns by name in failure messages.
static void PrintTo(InstanceClaim claim, std::ostream *out)
{
    *out << (claim == InstanceClaim::Taken ? "Taken" : claim == InstanceClaim::HeldByAnother ? "HeldByAnother" : "NoRule");
}
static void PrintTo(StartTurn turn, std::ostream *out)
{
    *out << (turn == StartTurn::OpenWindows ? "OpenWindows"
             : turn == StartTurn::RaisedRunningProgram ? "RaisedRunningProgram" : "RunningProgramSilent");
}

namespace {
const QString SourcePictures = QStringLiteral(LUMAPROG_SOURCE_PICTURES);

// Sets an environment variable (unsets it for a null value) while it lives.
struct EnvironmentValue {
    EnvironmentValue(const char *name, const QByteArray &value) : name(name), saved(qgetenv(name)) { set(value); }
    ~EnvironmentValue() { set(saved); }
    void set(const QByteArray &value) const { value.isNull() ? qunsetenv(name) : qputenv(name, value); }
    const char *name;
    QByteArray saved;
};


// The built program with what it loads at run time, copied into a folder of its own.
bool copyProgramFolder(const QString &binFolder, const QString &target)
{
    QStringList files = QDir(binFolder).entryList({QStringLiteral("*.lang.so")}, QDir::Files);
    files << QStringLiteral("lumaprog") << QStringLiteral("Microcontroller.kvt");
    if (!QDir(target).mkdir(QStringLiteral("Ressourcen")))
        return false;
    for (const QString &file : QDir(binFolder + QStringLiteral("/Ressourcen")).entryList(QDir::Files))
        files << QStringLiteral("Ressourcen/") + file;
    return std::ranges::all_of(files, [&](const QString &file) {
        return QFile::copy(binFolder + QLatin1Char('/') + file, target + QLatin1Char('/') + file);
    });
}

// Starts the program on the offscreen platform with a settings folder of its own.
void startProgram(QProcess &process, const QString &program, const QString &configHome, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
}

// Whether a started program's creation handler has run: the restored page
// is the last thing it writes into its settings.
bool creationHandlerRan(const QString &settingsFile)
{
    return QString::fromUtf8(readFile(settingsFile)).contains(QStringLiteral("LastShowedPage"));
}

// The built program, or an empty text when it and its languages are not built.
QString builtProgram()
{
    const QString binFolder = qEnvironmentVariable("LUMAPROG_BIN_DIR");
    const QString program = binFolder + QStringLiteral("/lumaprog");
    if (!QFile::exists(program) || !QFile::exists(binFolder + QStringLiteral("/EN.lang.so")))
        return {};
    return program;
}

// The language lookup before the settings are read creates the per-user
// settings folder; nothing may be written into it.
void expectAnEmptySettingsFolder(const QString &configHome)
{
    const QDir settings(configHome + QStringLiteral("/Kal-Works"));
    EXPECT_TRUE(settings.exists() && settings.entryList(QDir::Files).isEmpty());
}
}

TEST_F(GuiTest, StartUpDrivesTheSplashAndFreesItAtTheFirstShow)
{
    ShowSplash();
    ASSERT_NE(SplashDlg, nullptr);
    const Qt::WindowFlags flags = SplashDlg->windowFlags();
    EXPECT_EQ(joined({SplashDlg->width(), SplashDlg->height(), flags.testFlag(Qt::FramelessWindowHint),
                      flags.testFlag(Qt::WindowStaysOnTopHint), SplashDlg->lbl_Status->text()}),
              "480|140|true|true|Status: Initializing ...");
    EXPECT_EQ(SplashDlg->lbl_Version->text(), VersionLine(QStringLiteral("Version"), BuildVersion::Major,
                                                          BuildVersion::Minor, BuildVersion::Release, BuildVersion::Build));
    // The version line has no padding.
    EXPECT_EQ(VersionLine(QStringLiteral("Version"), 1, 2, 3, 45) + '|' + VersionLine(QStringLiteral("V"), 0, 0, 0, 0),
              QStringLiteral("Version 1.2.3 Build: 45|V 0.0.0 Build: 0"));

    // What the splash shows at each pause of the creation handler.
    QStringList shown;
    setSleepFunction([&](int ms) { shown << QStringLiteral("%1 %2").arg(ms).arg(SplashDlg->lbl_Status->text()); });
    auto window = createWindow();
    EXPECT_EQ(shown, (QStringList{"500 Status: Initializing ...", "500 Status: Initializing System ..."}));
    ASSERT_NE(SplashDlg, nullptr);
    for (int show = 0; show < 2; ++show) {
        window->hide(), window->show();
        EXPECT_EQ(SplashDlg, nullptr);
    }
}

TEST_F(GuiTest, ASecondStartReachesTheRunningInstance)
{
    // A runtime folder of the test's own: a running program's socket is never met.
    const QTemporaryDir runtime;
    const EnvironmentValue runtimeVariable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    {
        SingleInstanceServer server;
        ASSERT_EQ(server.claim(), InstanceClaim::Taken);
        server.deliverRaiseRequests();
        QSignalSpy raised(&server, &SingleInstanceServer::raiseRequested);
        EXPECT_TRUE(NotifyRunningInstance());
        EXPECT_TRUE(raised.wait(5000));
    }

    // A stale channel does not block the start: no program holds its lock.
    {
        // A socket file left behind, as by a program that crashed.
        QLocalServer stale;
        stale.setSocketOptions(QLocalServer::UserAccessOption);
        ASSERT_TRUE(stale.listen(SingleInstanceName(DesktopIdentity("offscreen"))));
        const QString path = stale.fullServerName();
        stale.close();
        writeFile(path, {});
    }
    EXPECT_FALSE(NotifyRunningInstance(200));
    SingleInstanceServer restarted;
    EXPECT_EQ(restarted.claim(), InstanceClaim::Taken);
    EXPECT_TRUE(NotifyRunningInstance());
}

// While one program holds the name, a second claim on it changes nothing: the
// first keeps its socket and answers. A start while the holder ends finds the
// name held until the holder's socket has gone; then it claims, and its own
// socket stays.
TEST_F(GuiTest, ASecondClaimNeverTakesTheFirstOnesSocket)
{
    const QTemporaryDir runtime;
    const EnvironmentValue runtimeVariable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    auto first = std::make_unique<SingleInstanceServer>();
    SingleInstanceServer second;
    ASSERT_EQ(first->claim(), InstanceClaim::Taken);
    first->deliverRaiseRequests();
    second.deliverRaiseRequests();
    QSignalSpy firstRaised(first.get(), &SingleInstanceServer::raiseRequested);
    QSignalSpy secondRaised(&second, &SingleInstanceServer::raiseRequested);

    EXPECT_EQ(second.claim(), InstanceClaim::HeldByAnother);
    EXPECT_TRUE(NotifyRunningInstance());
    EXPECT_TRUE(firstRaised.wait(5000));
    EXPECT_EQ(secondRaised.count(), 0);

    QStringList duringTheEnd;
    setClaimEndPause([&] {
        const bool socketLeft = QFileInfo::exists(SingleInstanceName(DesktopIdentity("offscreen")));
        duringTheEnd << QStringLiteral("socket left: %1").arg(socketLeft);
        duringTheEnd << QStringLiteral("start held off: %1").arg(second.claim() == InstanceClaim::HeldByAnother);
    });
    first.reset();
    setClaimEndPause({});
    EXPECT_EQ(duringTheEnd, (QStringList{"socket left: 0", "start held off: 1"}));
    EXPECT_EQ(second.claim(), InstanceClaim::Taken);
    EXPECT_TRUE(NotifyRunningInstance());
    EXPECT_TRUE(secondRaised.wait(5000));
}

// A request to come to the front that arrives while the splash shows, before
// the main window exists, reaches the window once it shows.
TEST_F(GuiTest, ARaiseRequestDuringTheSplashReachesTheWindowWhenItShows)
{
    const QTemporaryDir runtime;
    const EnvironmentValue runtimeVariable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    // A status line for each definition: the splash processes events meanwhile.
    writeDefinitions(TestDefinitions);
    SingleInstanceServer instance;
    ASSERT_EQ(instance.claim(), InstanceClaim::Taken);
    ShowSplash();
    bool requested = false;
    setSleepFunction([&](int) { requested = requested || NotifyRunningInstance(); });
    auto window = createWindow();
    ASSERT_TRUE(requested);

    QSignalSpy raised(&instance, &SingleInstanceServer::raiseRequested);
    window->show();
    instance.deliverRaiseRequests();
    EXPECT_TRUE(raised.count() > 0 || raised.wait(5000));
}

// A program started from the running one (a browser for a link) does not
// keep the claim once the running one has ended.
TEST_F(GuiTest, AProgramStartedFromTheInstanceDoesNotKeepTheClaim)
{
    const QTemporaryDir runtime;
    const EnvironmentValue runtimeVariable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    auto holder = std::make_unique<SingleInstanceServer>();
    ASSERT_EQ(holder->claim(), InstanceClaim::Taken);
    QProcess child;
    child.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(child.waitForStarted());
    holder.reset();
    SingleInstanceServer next;
    EXPECT_EQ(next.claim(), InstanceClaim::Taken);
    child.kill();
    child.waitForFinished();
}

// A start that finds the name held asks again, pausing between tries, until
// the holder listens; a holder that never answers ends the start after a few
// seconds of pauses, its socket file stays where it is, and the user is told
// in the language chosen so far.
TEST_F(GuiTest, AStartWaitsForTheHolderToListenAndGivesUpOnASilentOne)
{
    const QTemporaryDir runtime;
    const EnvironmentValue runtimeVariable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString socketPath = SingleInstanceName(DesktopIdentity("offscreen"));
    SingleInstanceServer holder;
    ASSERT_EQ(holder.claim(), InstanceClaim::Taken);
    // The holder has its lock and does not answer yet.
    ASSERT_TRUE(QFile::remove(socketPath));

    QLocalServer late;
    int pauses = 0;
    setSleepFunction([&](int) {
        if (++pauses == 2)
            late.listen(socketPath);
    });
    SingleInstanceServer start;
    EXPECT_EQ(ClaimInstance(start), StartTurn::RaisedRunningProgram);
    EXPECT_EQ(pauses, 2);
    ASSERT_TRUE(late.hasPendingConnections() || late.waitForNewConnection(5000));
    QLocalSocket *request = late.nextPendingConnection();
    EXPECT_TRUE(request->bytesAvailable() > 0 || request->waitForReadyRead(5000));
    EXPECT_EQ(request->readAll(), "raise\n");

    late.close();
    writeFile(socketPath, "left by a copy\n");
    int waitedMs = 0;
    setSleepFunction([&](int ms) { waitedMs += ms; });
    EXPECT_EQ(ClaimInstance(start), StartTurn::RunningProgramSilent);
    EXPECT_TRUE(waitedMs >= 1000 && waitedMs <= 10000) << waitedMs;
    EXPECT_EQ(readFile(socketPath), "left by a copy\n");

    GuiUiHooks hooks;
    setUiHooks(&hooks);
    ReportSilentRunningProgram();
    setUiHooks(nullptr);
    EXPECT_EQ(ui.messages, QStringList{"T7310"});
}

// The socket sits in a folder no other user can reach, one per desktop.
TEST(SingleInstanceChannel, LivesInAPrivateFolderOnePerDesktop)
{
    QTemporaryDir base;
    const EnvironmentValue temporaryFolder("TMPDIR", QFile::encodeName(base.path()));
    const auto path = [&](const QString &name) { return QFile::encodeName(base.filePath(name)); };
    const QByteArray open = path("open"), shut = path("shut"), others = path("others"), link = path("link");
    const QByteArray own = path(QStringLiteral("lumaprog-%1").arg(::geteuid()));
    const auto makeFolder = [](const char *f, mode_t mode) { return !::mkdir(f, mode) && !::chmod(f, mode); };
    ASSERT_TRUE(makeFolder(open, 0755) && makeFolder(shut, 0700) && makeFolder(others, 0700) && !::symlink(shut, link));
    const bool stillOurs = ::chown(others, 65534, 65534) != 0;  // handed to another user where allowed (root)
    // XDG_RUNTIME_DIR only when absolute and private; else a folder of the program's own, made private.
    const auto name = [](const char *qpa) { return SingleInstanceName(DesktopIdentity(qpa)); };
    for (const QByteArray &runtime : {shut, open, others, link, QByteArray("relative"), QByteArray()}) {
        const EnvironmentValue variable("XDG_RUNTIME_DIR", runtime);
        const bool taken = runtime == shut || (runtime == others && stillOurs);
        EXPECT_EQ(QFileInfo(name("offscreen")).path(), QString(taken ? runtime : own)) << runtime.data();
    }
    struct stat info {};
    EXPECT_TRUE(::stat(own, &info) == 0 && (info.st_mode & 0777) == 0700);
    // The X and the Wayland display tell the desktops apart, whichever kind the program is.
    const EnvironmentValue runtime("XDG_RUNTIME_DIR", shut), wayland("WAYLAND_DISPLAY", "wayland-0");
    QStringList names;
    for (const char *display : {":0", ":1"}) {
        const EnvironmentValue x("DISPLAY", display);
        names << name("xcb") << name("wayland");
    }
    names << name("offscreen");
    EXPECT_EQ(joined({names[0] == names[1], names[2] == names[3], names.removeDuplicates()}), "true|true|2");
    // Without a private folder there is no channel, and the program starts.
    ASSERT_EQ(::chmod(own, 0755), 0);
    const EnvironmentValue noRuntime("XDG_RUNTIME_DIR", QByteArray());
    SingleInstanceServer server;
    EXPECT_EQ(joined({name("offscreen"), server.claim() == InstanceClaim::NoRule,
                      NotifyRunningInstance(200), ClaimInstance(server) == StartTurn::OpenWindows}),
              "|true|false|true");
}

namespace {
// A whole start of the program, splash and definitions included, on a busy machine.
constexpr int StartMs = 30000;

// Starts of the built program in a private runtime folder of the test's own,
// each with a settings folder of its own, so that a start that opens its
// window shows in its settings.
class ProgramStarts : public GuiTest {
protected:
    struct Start {
        QTemporaryDir config;
        QProcess process;
        bool windowCreated() const
        {
            return creationHandlerRan(config.filePath(QStringLiteral("Kal-Works/") + SettingsFileName));
        }
    };

    void SetUp() override
    {
        GuiTest::SetUp();
        program = builtProgram();
        if (program.isEmpty())
            GTEST_SKIP() << "the program and its language libraries are not built";
        runtimeVariable.emplace("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }

    std::unique_ptr<Start> launch()
    {
        auto start = std::make_unique<Start>();
        startProgram(start->process, program, start->config.path(), {});
        return start;
    }

    // Two starts at the same moment: one opens its window; the other reaches
    // it and ends, having written nothing; the first still answers after the
    // second has ended. Returns the one that runs, or null.
    std::unique_ptr<Start> twoStartsAtOnce()
    {
        std::array<std::unique_ptr<Start>, 2> starts{launch(), launch()};
        const auto ended = [&](int i) { return starts[i]->process.state() == QProcess::NotRunning; };
        const bool oneEnded = QTest::qWaitFor([&] { return ended(0) || ended(1); }, StartMs);
        EXPECT_TRUE(oneEnded) << "both starts opened their windows";
        if (!oneEnded)
            return nullptr;
        const int second = ended(0) ? 0 : 1;
        QProcess &ending = starts[second]->process;
        EXPECT_TRUE(ending.exitStatus() == QProcess::NormalExit && ending.exitCode() == 0)
            << "not raised: " << ending.readAllStandardError().toStdString();
        expectAnEmptySettingsFolder(starts[second]->config.path());
        std::unique_ptr<Start> first = std::move(starts[1 - second]);
        EXPECT_TRUE(QTest::qWaitFor([&] { return first->windowCreated(); }, StartMs));
        EXPECT_EQ(first->process.state(), QProcess::Running);
        EXPECT_TRUE(NotifyRunningInstance());
        return first;
    }

    static void kill(Start &start)
    {
        start.process.kill();
        start.process.waitForFinished(StartMs);
    }

    // The user's settings in a settings folder, naming a language.
    static void writeUserSettings(const QString &configHome, const QByteArray &language)
    {
        writeFile(configHome + QStringLiteral("/Kal-Works/") + SettingsFileName,
                  "[ProgramOptions]\nLanguageID=" + language + '\n');
    }

    QString program;
    QTemporaryDir runtime;
    std::optional<EnvironmentValue> runtimeVariable;
};
}

TEST_F(ProgramStarts, TwoStartsAtTheSameMomentGiveOneWindow)
{
    if (auto running = twoStartsAtOnce())
        kill(*running);
}

// A copy killed while it ran leaves its socket; the lock went with it.
TEST_F(ProgramStarts, ASocketLeftByAKilledCopyIsTakenOverByTheNextStart)
{
    auto copy = launch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return NotifyRunningInstance(200); }, StartMs));
    kill(*copy);
    ASSERT_TRUE(QFileInfo::exists(SingleInstanceName(DesktopIdentity("offscreen"))));
    EXPECT_FALSE(NotifyRunningInstance(200));
    if (auto running = twoStartsAtOnce())
        kill(*running);
}

// Whatever language the per-user and the portable settings name, and although
// the caption changes once the portable settings are read, the running copy
// is the one program: later starts bring it to the front and end.
TEST_F(ProgramStarts, APortableCopyInEnglishWithGermanUserSettingsRunsOnce)
{
    QTemporaryDir programFolder;
    ASSERT_TRUE(copyProgramFolder(QFileInfo(program).path(), programFolder.path()));
    const QString portableSettings = programFolder.filePath(QString::fromLatin1(SettingsFileName));
    writeFile(portableSettings, "[ProgramOptions]\nLanguageID=EN\nAskOnShutDown=0\n");
    QTemporaryDir user;
    writeUserSettings(user.path(), "DE");
    const QString portableProgram = programFolder.filePath(QStringLiteral("lumaprog"));

    std::array<QProcess, 3> starts;
    startProgram(starts[0], portableProgram, user.path(), {QStringLiteral("-USB")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return creationHandlerRan(portableSettings); }, StartMs));
    for (int later : {1, 2})
        startProgram(starts[later], portableProgram, user.path(), {QStringLiteral("-USB")});
    for (int later : {1, 2}) {
        QProcess &start = starts[later];
        EXPECT_TRUE(start.waitForFinished(StartMs)) << "start " << later << " opened a second window";
        EXPECT_TRUE(start.exitStatus() == QProcess::NormalExit && start.exitCode() == 0)
            << start.readAllStandardError().toStdString();
    }
    EXPECT_EQ(starts[0].state(), QProcess::Running);
    EXPECT_TRUE(NotifyRunningInstance());
    for (QProcess &start : starts) {
        start.kill();
        start.waitForFinished(StartMs);
    }
}

// A start that finds the claim held by a program that never answers tells
// the user so, in the language of the per-user settings, before it ends.
TEST_F(ProgramStarts, AStartTellsTheUserWhenTheRunningProgramNeverAnswers)
{
    SingleInstanceServer silent;
    ASSERT_EQ(silent.claim(), InstanceClaim::Taken);
    ASSERT_TRUE(QFile::remove(SingleInstanceName(DesktopIdentity("offscreen"))));
    writeOptions({{"LanguageID", "DE"}});
    const QString message = Utility->Text(7310);

    QTemporaryDir user;
    writeUserSettings(user.path(), "DE");
    QProcess start;
    startProgram(start, program, user.path(), {});
    QByteArray errors;
    const bool told = QTest::qWaitFor([&] {
        errors += start.readAllStandardError();
        return QString::fromUtf8(errors).contains(message) || start.state() == QProcess::NotRunning;
    }, StartMs) && QString::fromUtf8(errors).contains(message);
    EXPECT_TRUE(told) << errors.toStdString();
    // What is left is the message box, which no one answers here.
    start.kill();
    start.waitForFinished(StartMs);
}

// Started twice, the program ends and writes nothing; a portable run keeps its
// settings beside the program and empties its Temp folder.
TEST_F(GuiTest, TheBuiltProgramStartedTwiceAndPortable)
{
    const QString program = builtProgram();
    if (program.isEmpty())
        GTEST_SKIP() << "the program and its language libraries are not built";
    const QString binFolder = QFileInfo(program).path();

    // A runtime folder of the test's own, which the second start inherits.
    const QTemporaryDir runtime;
    const EnvironmentValue runtimeVariable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));

    {
        SingleInstanceServer running;
        ASSERT_EQ(running.claim(), InstanceClaim::Taken);
        running.deliverRaiseRequests();
        QSignalSpy raised(&running, &SingleInstanceServer::raiseRequested);

        QTemporaryDir secondConfig;
        QProcess second;
        startProgram(second, program, secondConfig.path(), {});
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_TRUE(second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0);
        EXPECT_TRUE(raised.count() > 0 || raised.wait(2000));
        expectAnEmptySettingsFolder(secondConfig.path());
    }

    QTemporaryDir programFolder;
    ASSERT_TRUE(copyProgramFolder(binFolder, programFolder.path()));
    const QString settingsFile = programFolder.filePath(QString::fromLatin1(SettingsFileName));
    // No question at the end, and a file left over in Temp by an earlier run.
    writeFile(settingsFile, "[ProgramOptions]\nAskOnShutDown=0\n");
    writeFile(programFolder.filePath(QStringLiteral("Temp/left-over.tmp")), {});
    auto settingsText = [&] { return QString::fromUtf8(readFile(settingsFile)); };

    QTemporaryDir userConfig;
    QProcess portable;
    startProgram(portable, programFolder.filePath("lumaprog"), userConfig.path(), {QStringLiteral("-USB")});
    ASSERT_TRUE(portable.waitForStarted());
    const bool created = QTest::qWaitFor([&] { return creationHandlerRan(settingsFile); }, 20000);
    if (!created)
        portable.kill();
    ASSERT_TRUE(created);

    // The system's shut-down request goes through the close query.
    portable.terminate();
    ASSERT_TRUE(portable.waitForFinished(10000));
    EXPECT_TRUE(portable.exitStatus() == QProcess::NormalExit && portable.exitCode() == 0);
    EXPECT_TRUE(settingsText().contains(QStringLiteral("FirstStart=0"))) << settingsText().toStdString();
    const QDir temp(programFolder.filePath(QStringLiteral("Temp")));
    EXPECT_TRUE(temp.exists() && temp.entryList(QDir::Files).isEmpty());
    // Only the language lookup before portable mode used the per-user folder.
    expectAnEmptySettingsFolder(userConfig.path());
}

// The shipped pictures load and the JPEG decodes as Qt reads it; a corrupt or
// truncated one gives a clear error.
TEST(StartPicture, DecodesTheShippedPicturesAndRefusesBadOnes)
{
    const QByteArray data = readFile(SourcePictures + QStringLiteral("/Start.jpg"));
    ASSERT_GT(data.size(), 1000);
    QString error;
    const QImage image = DecodeJpeg(data, &error);
    ASSERT_FALSE(image.isNull()) << error.toStdString();
    const QImage reference = QImage::fromData(data, "JPG");
    // The cursor and the list's bitmap, read by Qt itself.
    EXPECT_FALSE(QPixmap(SourcePictures + QStringLiteral("/Stop.cur")).isNull());
    EXPECT_FALSE(QPixmap(SourcePictures + QStringLiteral("/Selected.bmp")).isNull());
    ASSERT_EQ(image.size(), reference.size());
    for (const QPoint point : {QPoint(0, 0), QPoint(image.width() / 2, image.height() / 2),
                               QPoint(image.width() - 1, image.height() - 1)}) {
        const QColor a = image.pixelColor(point), b = reference.pixelColor(point);
        EXPECT_LE(std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()), 6);
    }
    for (const QByteArray &bad : {data.left(data.size() / 2), data.left(100), QByteArray(),
                                  QByteArray("not a picture at all"),
                                  QByteArray(data).replace(200, 400, QByteArray(400, '\xff'))}) {
        error.clear();
        EXPECT_TRUE(DecodeJpeg(bad, &error).isNull() && !error.isEmpty());
    }
    error.clear();
    EXPECT_TRUE(LoadJpegFile(QStringLiteral("/no/such/file.jpg"), &error).isNull() && !error.isEmpty());
}

TEST_F(GuiTest, AnErrorInAHandlerIsShownAndTheProgramGoesOn)
{
    Guarded([] { throw EConvertError(QStringLiteral("No Hex-Number")); });
    Guarded([] { throw 42; });  // no message of its own: a text of the chosen language
    EXPECT_EQ(ui.errors, (QStringList{QStringLiteral("No Hex-Number"), QStringLiteral("T7300")}));
}
