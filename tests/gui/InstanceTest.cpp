// The single-instance rule: the claim, the request to come to the front and
// its answer, the program's own runtime folder, and the built program started
// beside a running copy.
#include "GuiFixture.h"

#include "GuiUiHooks.h"
#include "QtTranslations.h"
#include "RealDialogs.h"
#include "RunningProgram.h"
#include "SingleInstance.h"
#include "Sleep.h"
#include "UiHooks.h"
#include "u_Splash.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
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
        EXPECT_TRUE(raiseRunningProgram());
        EXPECT_TRUE(raised.count() > 0 || raised.wait(5000));
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
    EXPECT_FALSE(raiseRunningProgram());
    SingleInstanceServer restarted;
    EXPECT_EQ(restarted.claim(), InstanceClaim::Taken);
    EXPECT_TRUE(raiseRunningProgram());
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
    EXPECT_TRUE(raiseRunningProgram());
    EXPECT_TRUE(firstRaised.count() > 0 || firstRaised.wait(5000));
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
    EXPECT_TRUE(raiseRunningProgram());
    EXPECT_TRUE(secondRaised.count() > 0 || secondRaised.wait(5000));
}

// A request to come to the front that arrives while the splash shows, before
// the main window exists, is answered at once and reaches the window once it
// shows.
TEST_F(GuiTest, ARaiseRequestDuringTheSplashIsAnsweredAndReachesTheWindowWhenItShows)
{
    const QTemporaryDir runtime;
    const EnvironmentValue runtimeVariable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    // A status line for each definition: the splash processes events meanwhile.
    writeDefinitions(TestDefinitions);
    SingleInstanceServer instance;
    ASSERT_EQ(instance.claim(), InstanceClaim::Taken);
    QSignalSpy raised(&instance, &SingleInstanceServer::raiseRequested);
    ShowSplash();
    RaiseRequest request;
    bool sent = false;
    // At each pause of the creation handler: the request goes out, and is answered before the window shows.
    QStringList duringTheSplash;
    setSleepFunction([&](int) {
        if (!sent)
            sent = request.send(1000);
        else if (request.state() == RaiseRequest::State::Answered && duringTheSplash.isEmpty())
            duringTheSplash << QStringLiteral("answered, raised %1 times").arg(raised.count());
    });
    auto window = createWindow();
    EXPECT_EQ(duringTheSplash, QStringList{"answered, raised 0 times"});

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
// the holder listens, and then waits for the answer to that one request. A
// holder that never answers, whether nothing listens for it or the system
// alone accepts for it (a program stopped or hung), ends the start after a few
// seconds of pauses, with its socket file where it was and the one request
// in its queue.
TEST_F(GuiTest, AStartWaitsForTheHolderToListenAndAnswerAndGivesUpOnASilentOne)
{
    const QTemporaryDir runtime;
    const EnvironmentValue runtimeVariable("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString socketPath = SingleInstanceName(DesktopIdentity("offscreen"));
    SingleInstanceServer holder;
    ASSERT_EQ(holder.claim(), InstanceClaim::Taken);
    // The holder has its lock and does not answer yet.
    ASSERT_TRUE(QFile::remove(socketPath));

    // The holder listens at the second pause and answers at the fourth.
    QLocalServer late;
    QByteArray heard;
    int pauses = 0;
    setSleepFunction([&](int) {
        if (++pauses == 2)
            late.listen(socketPath);
        if (pauses == 4 && late.waitForNewConnection(5000)) {
            QLocalSocket *request = late.nextPendingConnection();
            request->waitForReadyRead(5000);
            heard = request->readAll();
            request->write("heard\n");
            request->flush();
        }
    });
    SingleInstanceServer start;
    EXPECT_EQ(ClaimInstance(start), StartTurn::RaisedRunningProgram);
    EXPECT_EQ(joined({pauses, heard, late.waitForNewConnection(0)}), "4|raise\n|false");

    late.close();
    int waitedMs = 0;
    setSleepFunction([&](int ms) { waitedMs += ms; });
    const auto expectAStartGivenUp = [&] {
        waitedMs = 0;
        EXPECT_EQ(ClaimInstance(start), StartTurn::RunningProgramSilent);
        EXPECT_TRUE(waitedMs >= 1000 && waitedMs <= 10000) << waitedMs;
    };
    writeFile(socketPath, "left by a copy\n");
    expectAStartGivenUp();
    EXPECT_EQ(readFile(socketPath), "left by a copy\n");

    QFile::remove(socketPath);
    ASSERT_TRUE(late.listen(socketPath));
    expectAStartGivenUp();
    int requests = 0;
    while (late.waitForNewConnection(0))
        delete late.nextPendingConnection(), ++requests;
    EXPECT_EQ(requests, 1);
}

// The user hears of a silent program in the language of the per-user
// settings: the very text of its language library, and Qt's texts in that
// language. The box's only button, OK, reads the same in German and English,
// so while it shows, a standard button that differs is made as the box makes
// its own.
TEST_F(GuiTest, TheSilentProgramMessageSpeaksTheChosenLanguageQtsTextsIncluded)
{
    writeOptions({{"LanguageID", "DE"}});
    // As at a start, no window has set Qt's texts yet.
    InstallQtTranslations(QStringLiteral("EN"));
    GuiUiHooks hooks;
    setUiHooks(&hooks);
    QString shown;
    whileFirstDialogShown([] { ReportSilentRunningProgram(); }, [&](QDialog &dialog) {
        auto *box = qobject_cast<QMessageBox *>(&dialog);
        ASSERT_NE(box, nullptr);
        QStringList buttons;
        for (const QAbstractButton *button : box->buttons())
            buttons << button->text();
        const QDialogButtonBox standard(QDialogButtonBox::Cancel);
        shown = joined({box->text(), buttons.join(u','), standard.button(QDialogButtonBox::Cancel)->text()});
    });
    setUiHooks(nullptr);
    InstallQtTranslations(QStringLiteral("EN"));
    EXPECT_EQ(shown, QStringLiteral("Lumaprog läuft bereits, antwortet aber nicht. Schließen oder beenden Sie es "
                                    "und starten Sie Lumaprog dann erneut.|OK|Abbrechen"));
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
                      raiseRunningProgram(), ClaimInstance(server) == StartTurn::OpenWindows}),
              "|true|false|true");
}
namespace {
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
        EXPECT_TRUE(raiseRunningProgram());
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return raiseRunningProgram(); }, StartMs));
    kill(*copy);
    ASSERT_TRUE(QFileInfo::exists(SingleInstanceName(DesktopIdentity("offscreen"))));
    EXPECT_FALSE(raiseRunningProgram());
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
    EXPECT_TRUE(raiseRunningProgram());
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
