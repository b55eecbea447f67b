#pragma once

// The main window, its widgets that the tests reach, and the support every test shares.
#include "DefinitionFile.h"
#include "NavigationList.h"
#include "PortChooser.h"
#include "TestEnvironment.h"
#include "TestImages.h"
#include "UiServices.h"
#include "Utils.h"
#include "uMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVariant>
#include <deque>

// Answers the window's questions from a script and records what was asked.
class ScriptedUi : public UiServices {
public:
    bool askYesNo(QWidget *, const QString &text) override { return ask(text); }
    bool warnYesNo(QWidget *, const QString &text) override { return ask(text); }
    void showError(QWidget *, const QString &, const QString &text) override { errors << text; }
    void showMessage(QWidget *, const QString &text) override { messages << text; }
    void showWarning(QWidget *, const QString &title, const QString &text) override { warnings << title + ": " + text; }
    QString saveFileName(QWidget *, const FileDialogRequest &request) override { return file(request); }
    QString openFileName(QWidget *, const FileDialogRequest &request) override { return file(request); }

    std::deque<bool> answers;  // unscripted questions are answered No
    QStringList questions;
    QStringList errors;
    QStringList messages;
    QStringList warnings;  // "title: text"
    QString fileAnswer;  // empty: Cancel
    QList<FileDialogRequest> fileRequests;

private:
    bool ask(const QString &text);
    QString file(const FileDialogRequest &request) { return fileRequests << request, fileAnswer; }
};

// Every test runs with the test language ("T<id>" for every id) chosen in a
// temporary program folder, beside the program's English and German, and with
// a settings folder of its own. Dialogs end at once, as Cancel ends them.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<TMainFrm> createWindow() { return std::make_unique<TMainFrm>(); }
    // A window at its smallest size, shown.
    std::unique_ptr<TMainFrm> showWindow();
    void writeSetting(const QString &section, const QString &key, const QString &value)
    {
        Utility->IniWrite(section, key, value);
    }
    // Keys of the program options, as (key, value).
    void writeOptions(std::initializer_list<std::pair<const char *, const char *>> keys);
    QString readSetting(const QString &section, const QString &key);
    // "Microcontroller.kvt" in the program folder, written by the definition
    // writer from a definition table's text; removed again after the test.
    void writeDefinitions(const QByteArray &table);
    static QString definitionFile();
    // An Intel HEX file of `size` pattern bytes among the test's own files.
    QString writeHexFile(const QString &name, int size, int seed = 1);

    ScriptedUi ui;
    QTemporaryDir configHome;
    QTemporaryDir files;
};

// A definition table in file order "Chip B", "chip a" (microcontrollers with
// 1024 bytes of flash in pages of 64 and 64 bytes of EEPROM in pages of 4;
// "chip a" with SPIEN and JTAGEN unprogrammed) and "Module 1", a
// hand-edited module definition with no flash and no EEPROM page size.
extern const QByteArray TestDefinitions;

// Texts in failure messages as text.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
// Rectangles as "left,top width x height".
inline void PrintTo(const QRect &rect, std::ostream *out)
{
    *out << rect.left() << ',' << rect.top() << ' ' << rect.width() << 'x' << rect.height();
}
// A user's choice of a list entry.
void chooseEntry(QComboBox *list, int index);
// Where a navigation entry stands in the list's viewport, and a user's click on it.
QRect entryRect(TMainFrm &window, int node);
void clickEntry(TMainFrm &window, int node);
// The log's text.
QString logText(const TMainFrm &window);
// Values joined by "|", to compare a whole state in one assertion.
QString joined(std::initializer_list<QVariant> values);
