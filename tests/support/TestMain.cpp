// Every test program runs its cases inside a QApplication on the offscreen platform.
#include <QApplication>
#include <QDialog>
#include <gtest/gtest.h>

namespace {
// A modal dialog that no test scripts ends at once, as Cancel would end it:
// a test never waits for a user.
class UnscriptedDialogs : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QDialog *>(watched);
        if (dialog && event->type() == QEvent::Show && dialog->isModal())
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        return false;
    }
};
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UnscriptedDialogs unscripted;
    app.installEventFilter(&unscripted);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
