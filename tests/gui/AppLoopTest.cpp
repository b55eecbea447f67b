// The program's event loop: the application object's last line of defence
// against errors, and the end of the program with its main window.
#include "ExceptionGuard.h"
#include "Exceptions.h"
#include "GuiFixture.h"

namespace {
constexpr int LoopStillRunning = 2;

class ThrowingObject : public QObject {
public:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw EListError(QStringLiteral("Listenindex überschreitet das Maximum (7)"));
        return QObject::event(event);
    }
};
}

TEST_F(GuiTest, AnUncaughtHandlerErrorIsShownAndTheLoopGoesOn)
{
    ThrowingObject thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    bool loopWentOn = false;
    QTimer::singleShot(0, [&] {
        loopWentOn = true;
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("Listenindex überschreitet das Maximum (7)")});
    EXPECT_TRUE(loopWentOn);
}

TEST_F(GuiTest, TheProgramEndsWhenItsMainWindowClosesAfterYesOnly)
{
    for (const bool yes : {false, true}) {
        auto window = createWindow();
        window->show();
        ui.answers = {yes};
        ui.questions.clear();
        QTimer::singleShot(0, window.get(), [&] { window->ac_Close->trigger(); });
        // Reached only when the close did not end the loop.
        QTimer::singleShot(0, window.get(), [] { QCoreApplication::exit(LoopStillRunning); });
        EXPECT_EQ(QCoreApplication::exec(), yes ? 0 : LoopStillRunning);
        EXPECT_TRUE(ui.questions.size() == 1 && window->isVisible() == !yes);
    }
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    LumaprogApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
