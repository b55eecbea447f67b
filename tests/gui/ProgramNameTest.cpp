// The program's name where the window system shows it, under the program's
// own application object: as it is spelled, not as the executable's file is.
#include "ExceptionGuard.h"
#include "GuiFixture.h"
#include "RealDialogs.h"

#include <QGuiApplication>
#include <QWindow>
#include <stdexcept>

namespace {
// The title the window system gets for a window: its own, or the application's name without one.
QString systemTitle(const QWidget &window)
{
    const QString own = window.windowHandle() ? window.windowHandle()->title() : window.windowTitle();
    return own.isEmpty() ? QGuiApplication::applicationName() : own;
}
}

TEST_F(GuiTest, MessageBoxesCarryTheProgramsNameAndTheCaptionStaysItsOwn)
{
    auto window = showWindow();
    const std::function<void()> boxes[] = {
        [&] { uiServices().showMessage(window.get(), QStringLiteral("message")); },
        [&] { uiServices().askYesNo(window.get(), QStringLiteral("question")); },
        [] { Guarded([] { throw std::runtime_error("error"); }); },
    };
    QStringList titles;
    for (const auto &box : boxes)
        whileFirstDialogShown(box, [&](QDialog &shown) { titles << systemTitle(shown); });
    EXPECT_EQ(titles, QStringList(3, QStringLiteral("Lumaprog")));

    EXPECT_EQ(systemTitle(*window), QStringLiteral("T0"));
    // No display name of the program's own: the X platform would append it to every window's title.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    QCoreApplication::setApplicationName(name);
}
