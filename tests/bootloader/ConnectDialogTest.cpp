// The connect dialog on the offscreen platform: placement, texts, animation,
// and every way of stopping the connect loop from it.
#include "ConnectBootloaderDialog.h"

#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {
class ConnectDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow.show();
        placeMainWindow({100, 50, 800, 600});
        BootloaderAbort = false;
    }

    // Positions are those of the outer frames, which the offscreen platform
    // draws too.
    void placeMainWindow(const QRect &frame)
    {
        mainWindow.move(frame.topLeft());
        mainWindow.resize(frame.size() - (mainWindow.frameGeometry().size() - mainWindow.size()));
        ASSERT_EQ(mainWindow.frameGeometry(), frame);
    }
    void TearDown() override { BootloaderAbort = false; }

    static QImage shown(const TForm1 &form) { return form.Image_Process->pixmap().toImage(); }
    // Where the dialog's frame belongs, at its present size; odd differences truncate toward zero.
    QPoint centred() const
    {
        const QRect frame = mainWindow.frameGeometry();
        const QSize outer = form.frameGeometry().size();
        return frame.topLeft() + QPoint((frame.width() - outer.width()) / 2, (frame.height() - outer.height()) / 2);
    }

    QWidget mainWindow;
    TForm1 form {&mainWindow};
};
}

TEST_F(ConnectDialog, ShowsCentredOnTheMainWindowWithTheCurrentTexts)
{
    // A smaller main window is overhung equally on both sides.
    for (const QRect &frame : {QRect(100, 50, 800, 600), QRect(0, 0, 301, 201)}) {
        placeMainWindow(frame);
        form.showConnectDialog();
        EXPECT_EQ(form.frameGeometry().topLeft(), centred());
        form.closeConnectDialog();
    }
    EXPECT_EQ(form.size(), QSize(420, 228));
    EXPECT_EQ(QStringList({form.windowTitle(), form.Label2->text(), form.Label1->text(), form.SpeedButton1->text()}),
              QStringList({"T7150", "T7150", "T7151", "T7152"}));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.isModal());
}

TEST_F(ConnectDialog, AnimationWrapsAfterTheEighthFrameAndRunsWhileHidden)
{
    for (int a = 0; a < TForm1::FrameCount; ++a) {
        EXPECT_EQ(form.ImageList1[a].size(), QSize(31, 31));
        for (int b = a + 1; b < TForm1::FrameCount; ++b)
            EXPECT_NE(form.ImageList1[a].toImage(), form.ImageList1[b].toImage()) << a << " " << b;
    }
    form.AnimationFrame = 7;
    form.Timer1Timer();
    EXPECT_EQ(shown(form), form.ImageList1[7].toImage());
    form.Timer1Timer();
    EXPECT_EQ(shown(form), form.ImageList1[0].toImage());
    EXPECT_EQ(form.AnimationFrame, 1);

    ASSERT_FALSE(form.isVisible());
    QSignalSpy ticks(form.Timer1, &QTimer::timeout);
    ASSERT_TRUE(ticks.wait(1000));
    EXPECT_NE(form.AnimationFrame, 1);
}

TEST_F(ConnectDialog, ButtonEscapeAndCloseRequestEachAbortAndHideButTheLoopPuttingItAwayDoesNot)
{
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"button", [this] { QTest::mouseClick(form.SpeedButton1, Qt::LeftButton); }},
        {"escape", [this] { QTest::keyClick(&form, Qt::Key_Escape); }},
        {"close request", [this] { EXPECT_TRUE(form.close()); }},
    };
    for (const auto &[way, abort] : ways) {
        BootloaderAbort = false;
        form.showConnectDialog();
        abort();
        EXPECT_TRUE(BootloaderAbort) << way;
        EXPECT_FALSE(form.isVisible()) << way;
    }
    // The loop putting it away is no abort, and it comes back when shown again.
    BootloaderAbort = false;
    form.showConnectDialog();
    form.closeConnectDialog();
    EXPECT_FALSE(BootloaderAbort);
    EXPECT_FALSE(form.isVisible());
    form.showConnectDialog();
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ConnectDialog, FitsTheTextsOfTheLanguageChosenWhenItShows)
{
    // English, then German as chosen in the options meanwhile, then English again:
    // each show sizes the dialog from its own texts, never from the last ones, and
    // centres it at that size.
    QString exeFolder;
    Utility->ExeFolder(exeFolder);
    const QDir bin(qEnvironmentVariable("LUMAPROG_BIN_DIR"));
    for (const QString library : {"EN.lang.so", "DE.lang.so"})
        QFile::link(bin.filePath(library), exeFolder + library);
    QList<QSize> sizes;
    for (const QString language : {"EN", "DE", "EN"}) {
        Utility->IniWrite("ProgramOptions", "LanguageID", language);
        form.showConnectDialog();
        QCoreApplication::sendPostedEvents();
        const QLabel &heading = *form.Label2;
        const QRect headingInDialog(heading.mapTo(&form, QPoint()), heading.size());
        // The heading whole and inside the dialog, the wrapped request whole at the width it got.
        EXPECT_GE(heading.width(), heading.fontMetrics().horizontalAdvance(heading.text())) << language.toStdString();
        EXPECT_TRUE(form.rect().contains(headingInDialog)) << language.toStdString();
        EXPECT_LE(form.Label1->heightForWidth(form.Label1->width()), form.Label1->height()) << language.toStdString();
        EXPECT_TRUE(form.size().expandedTo({420, 228}) == form.size()) << language.toStdString();
        EXPECT_EQ(form.frameGeometry().topLeft(), centred()) << language.toStdString();
        sizes << form.size();
        form.closeConnectDialog();
    }
    EXPECT_EQ(sizes.last().width(), sizes.first().width());
    EXPECT_EQ(sizes.last().height(), sizes.first().height());
    Utility->IniWrite("ProgramOptions", "LanguageID", "TT");
}
