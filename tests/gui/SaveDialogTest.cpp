// Replacing a file from the save dialogs: a read memory saved over an existing
// file is confirmed twice, by the save dialog's own prompt and then by the
// program's question; the log's save dialog leaves the only question to the program.
#include "GuiFixture.h"

#include "BoardSimulator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace {
constexpr int ChipB = 1;

// Plays the user at the real modal dialogs: each time another one comes to
// the front, the next answer is given to it. Answers reach the dialogs as
// queued calls, so that a dialog opened by an answer is played in turn.
class DialogPlayer : public QObject {
public:
    enum Answer { SaveAs, Cancel, Yes, No };
    // How long a dialog that was answered may stay in front; only a hang comes near it.
    static constexpr int GiveUpMs = 60'000;
    static constexpr int PollMs = 20;

    DialogPlayer(QString fileName, std::initializer_list<Answer> answers)
        : m_fileName(std::move(fileName)), m_answers(answers)
    {
        m_sinceAnswer.start();
        startTimer(PollMs);
    }
    // "save dialog <title>: asks|does not ask", "the dialog's question", "question: <text>", in order.
    QStringList seen;

protected:
    void timerEvent(QTimerEvent *) override
    {
        QWidget *front = QApplication::activeModalWidget();
        // A dialog that an answer left open, past all patience, is closed so that the test ends.
        const bool stuck = front == m_answered && m_sinceAnswer.elapsed() > GiveUpMs;
        if (!front || (front == m_answered && !stuck))
            return;
        if (stuck || m_answers.empty()) {
            seen << QStringLiteral("unexpected: ") + front->metaObject()->className();
            QMetaObject::invokeMethod(front, "reject", Qt::QueuedConnection);
        } else if (auto *dialog = qobject_cast<QFileDialog *>(front)) {
            answerFileDialog(dialog, next());
        } else if (auto *box = qobject_cast<QMessageBox *>(front)) {
            const bool fromDialog = qobject_cast<QFileDialog *>(box->parentWidget()) != nullptr;
            seen << (fromDialog ? QStringLiteral("the dialog's question") : QStringLiteral("question: ") + box->text());
            QAbstractButton *button = box->button(next() == Yes ? QMessageBox::Yes : QMessageBox::No);
            QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
        }
        m_answered = front;
        m_sinceAnswer.restart();
    }

private:
    Answer next()
    {
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    void answerFileDialog(QFileDialog *dialog, Answer answer)
    {
        const bool asks = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        seen << QStringLiteral("save dialog %1: %2").arg(dialog->windowTitle(), asks ? "asks" : "does not ask");
        if (answer == SaveAs) {
            // As a user does: into the file's folder, its name typed, Save.
            QMetaObject::invokeMethod(dialog, [dialog, file = QFileInfo(m_fileName)] {
                auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                if (!name) {
                    ADD_FAILURE() << "the save dialog has no name field";
                    return dialog->reject();
                }
                dialog->setDirectory(file.absolutePath());
                name->setText(file.fileName());
                static_cast<QDialog *>(dialog)->accept();  // Save, with the file dialog's own checks
            }, Qt::QueuedConnection);
        } else {
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        }
    }

    QString m_fileName;
    std::deque<Answer> m_answers;
    QPointer<QWidget> m_answered;
    QElapsedTimer m_sinceAnswer;
};

class SaveDialogTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        writeDefinitions(TestDefinitions);
        writeSetting("Interface", "ProgrammerCom", CurrentComPort = sim.portPath());
        sim.setSignature(0x1E9307);
        sim.setMemory(true, 0, pattern(1024, 7));
        window = showWindow();
        chooseEntry(window->cbb_Microcontroller, ChipB);
    }

    BoardSimulator sim{1024, 64};
    std::unique_ptr<TMainFrm> window;
};

// The whole flash as the file holds it.
QByteArray savedFlash(const QString &fileName)
{
    THexContainer saved;
    saved.LoadFromFile(fileName);
    QByteArray bytes(saved.count() * THexLine::Columns, 0);
    saved.GetBytes(reinterpret_cast<std::uint8_t *>(bytes.data()), int(bytes.size()), 0);
    return bytes;
}
}

// The real dialogs, by their titles: the read's save dialog asks before it
// replaces a file, the log's leaves the one question to the program; No to
// either question leaves the file as it was, byte for byte.
TEST_F(SaveDialogTest, AnExistingFileIsReplacedOnlyAfterBothQuestions)
{
    setUiServices(nullptr);
    using enum DialogPlayer::Answer;
    const QByteArray old = "old content\r\n";
    const QString read = files.filePath("read.hex"), log = files.filePath("log.rtf");
    const QStringList asking = {"save dialog T32: asks", "the dialog's question"};
    const auto readFlash = [](const TMainFrm &w) -> QAbstractButton * { return w.btn_ReadFlash; };
    const auto saveLog = [](const TMainFrm &w) -> QAbstractButton * { return w.btn_SaveLog; };
    const struct Row {
        const char *name;
        QAbstractButton *(*button)(const TMainFrm &);
        QString file;
        std::initializer_list<DialogPlayer::Answer> answers;
        QStringList seen;
        bool replaced;
    } rows[] = {
        {"read, No in the dialog", readFlash, read, {SaveAs, No, Cancel},
         asking + QStringList{"save dialog T32: asks"}, false},
        {"read, No to the program", readFlash, read, {SaveAs, Yes, No},
         asking + QStringList{"question: read.hexT78"}, false},
        {"read, Yes to both", readFlash, read, {SaveAs, Yes, Yes},
         asking + QStringList{"question: read.hexT78"}, true},
        {"log, No to the program", saveLog, log, {SaveAs, No},
         {"save dialog T76: does not ask", "question: log.rtfT78"}, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(row.file, old);
        DialogPlayer player(row.file, row.answers);
        row.button(*window)->click();
        EXPECT_EQ(player.seen, row.seen);
        if (row.replaced)
            EXPECT_EQ(savedFlash(row.file), sim.memory(true));
        else
            EXPECT_EQ(readFile(row.file), old);
    }
}
