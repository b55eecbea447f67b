// The warning dialog answers 6 for Yes and for Enter, 2 for Abort and for its
// close box, and ignores Escape.
#include "u_MyMessageDlg.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using Dialog = TMyMessageDlgFrm;
using DialogCase = std::pair<void (*)(Dialog &), int>;  // what the user does, the result

class WarningDialog : public ::testing::TestWithParam<DialogCase> {};

TEST_P(WarningDialog, ReturnsTheUsersAnswer)
{
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // This dialog is scripted: the test program's Cancel for unscripted ones stays out.
        QCoreApplication::removePostedEvents(dialog, QEvent::MetaCall);
        GetParam().first(*dialog);
    });
    EXPECT_EQ(Dialog::ShowWarningDialog("Head", "Sub", "Body", "Go", "Stop"), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, WarningDialog,
    ::testing::Values(DialogCase {[](Dialog &d) { d.btn_Abort->click(); }, Dialog::mrCancel},
                      DialogCase {[](Dialog &d) { QTest::keyClick(d.focusWidget(), Qt::Key_Return); }, Dialog::mrYes},
                      DialogCase {[](Dialog &d) { d.close(); }, Dialog::mrCancel},
                      DialogCase {[](Dialog &d) {
                                      QTest::keyClick(&d, Qt::Key_Escape);
                                      EXPECT_TRUE(d.isVisible());
                                      d.btn_Yes->click();
                                  },
                                  Dialog::mrYes}));
