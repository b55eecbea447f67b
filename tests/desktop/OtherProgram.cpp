#include "OtherProgram.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cstdio>

namespace {
// The line the other program writes once its window has the focus.
const QByteArray ActiveLine = "active\n";
}

int OtherProgram::run(int argc, char **argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Other program"));
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, [](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) {
            std::fputs(ActiveLine.constData(), stdout);
            std::fflush(stdout);
        }
    });
    window.show();
    window.activateWindow();
    return QApplication::exec();
}

bool OtherProgram::start(int deadlineMs)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(Switch)});
    return QTest::qWaitFor([this] { return m_process.canReadLine(); }, deadlineMs)
           && m_process.readLine() == ActiveLine;
}

void OtherProgram::end()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    m_process.waitForFinished();
}
