// The warning dialog answers 6 for Yes and Enter, 2 for Abort and its close
// box, and ignores Escape.
#include "u_MyMessageDlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
struct DialogCase {
    const char *name;
    std::function<void(TMyMessageDlgFrm &)> user;
    int result;
};

const DialogCase dialogCases[] = {
    {"Yes", [](TMyMessageDlgFrm &d) { d.btn_Yes->click(); }, TMyMessageDlgFrm::mrYes},
    {"Abort", [](TMyMessageDlgFrm &d) { d.btn_Abort->click(); }, TMyMessageDlgFrm::mrCancel},
    {"Enter",
     [](TMyMessageDlgFrm &d) {
         EXPECT_EQ(d.focusWidget(), d.btn_Yes);
         QTest::keyClick(d.focusWidget(), Qt::Key_Return);
     },
     TMyMessageDlgFrm::mrYes},
    {"EscapeThenCloseBox",
     [](TMyMessageDlgFrm &d) {
         QTest::keyClick(&d, Qt::Key_Escape);
         EXPECT_TRUE(d.isVisible());
         d.close();
     },
     TMyMessageDlgFrm::mrCancel},
};
}

class WarningDialog : public ::testing::TestWithParam<DialogCase> {};

TEST_P(WarningDialog, ReturnsTheUsersAnswer)
{
    QString heading;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TMyMessageDlgFrm *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        heading = dialog->Label1->text() + dialog->btn_Yes->text() + dialog->btn_Abort->text();
        GetParam().user(*dialog);
    });
    EXPECT_EQ(TMyMessageDlgFrm::ShowWarningDialog("Head", "Sub", "Body", "Go", "Stop"), GetParam().result);
    EXPECT_EQ(heading, "HeadGoStop");
}

INSTANTIATE_TEST_SUITE_P(Dialog, WarningDialog, ::testing::ValuesIn(dialogCases),
                         [](const auto &info) { return std::string(info.param.name); });
