// Start-up: splash, the built program's start, the start page's picture, and the error guard.
#include "GuiFixture.h"

#include "ExceptionGuard.h"
#include "Exceptions.h"
#include "JpegImage.h"
#include "RunningProgram.h"
#include "SingleInstance.h"
#include "Sleep.h"
#include "Version.h"
#include "VersionLine.h"
#include "u_Splash.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>

namespace {
const QString SourcePictures = QStringLiteral(LUMAPROG_SOURCE_PICTURES);
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
        // The events run meanwhile: the second start waits for the answer.
        ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, StartMs));
        EXPECT_TRUE(second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0)
            << second.readAllStandardError().toStdString();
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
