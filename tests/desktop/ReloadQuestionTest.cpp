// The reload question on a desktop with a window manager, where the program's
// own message box closing hands the focus back to the main window.
#include "GuiFixture.h"
#include "OtherProgram.h"
#include "XWindows.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace {
// A bound only: the window manager and the other program may be slow to start.
constexpr int Deadline = 60000;
constexpr int PollMs = 10;

// Records the text of every message box the program shows and answers it as
// the user does once it has the focus: Escape (No) for as many as are given,
// then Yes, which ends a question that keeps coming back.
class MessageBoxes : public QObject {
public:
    MessageBoxes() { QCoreApplication::instance()->installEventFilter(this); }

    QStringList texts;
    int noAnswers = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (!box || event->type() != QEvent::Show)
            return false;
        texts << box->text();
        const bool no = noAnswers > 0;
        noAnswers -= no;
        auto *poll = new QTimer(box);
        poll->callOnTimeout(box, [box, poll, no] {
            if (inputFocus() != box->winId())
                return;
            poll->stop();
            if (no)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(QMessageBox::Yes)->click();
        });
        poll->start(PollMs);
        return false;
    }
};

void makeNewer(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
}

class ReloadQuestionTest : public GuiTest {
protected:
    // The main window has the focus in the window system and in Qt, and no dialog of the program is open.
    bool mainWindowActive() const
    {
        return QGuiApplication::applicationState() == Qt::ApplicationActive
               && QGuiApplication::focusWindow() == window->windowHandle() && !QApplication::activeModalWidget()
               && inputFocus() == window->winId();
    }
    // The user works in another program for a while and closes it; the window
    // manager then hands the focus back to the main window.
    void visitOtherProgram()
    {
        OtherProgram other;
        ASSERT_TRUE(other.start(Deadline));
        ASSERT_TRUE(QTest::qWaitFor([] { return QGuiApplication::applicationState() != Qt::ApplicationActive; }, Deadline));
        other.end();
    }
    // What the window system and the program still had to say has been said.
    static void settle()
    {
        QGuiApplication::sync();
        QCoreApplication::processEvents();
    }

    std::unique_ptr<TMainFrm> window;
    MessageBoxes boxes;
};
}

TEST_F(ReloadQuestionTest, NoHoldsWhileTheUserStaysAndTheQuestionComesAgainAfterAnotherProgram)
{
    window = showWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainWindowActive(); }, Deadline));
    settle();  // the check of the first activation, before there is anything to reload
    const QString file = writeHexFile("image.hex", 512);
    window->edt_FlashFileChange(file);
    ASSERT_TRUE(window->FlashImage.ImageLoaded);
    setUiServices(nullptr);  // the program's own message boxes from here on
    makeNewer(file);
    boxes.noAnswers = 2;

    ASSERT_NO_FATAL_FAILURE(visitOtherProgram());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.texts.isEmpty(); }, Deadline));
    // Answered No, the question has handed the focus back to the main window:
    // that activation is no return from another program.
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainWindowActive(); }, Deadline));
    settle();
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("T71")});

    ASSERT_NO_FATAL_FAILURE(visitOtherProgram());
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.texts.size() >= 2 && mainWindowActive(); }, Deadline));
    settle();
    EXPECT_EQ(boxes.texts, QStringList(2, QStringLiteral("T71")));
}
