// A switch of language in the options dialog, with the program's English and
// German libraries: afterwards nothing the user sees on the main window, on
// any of its pages or in its menu, is still in the old language.
#include "BoardSimulator.h"
#include "ChooseLanguage.h"
#include "GuiFixture.h"
#include "LanguageLibrary.h"
#include "LogWriter.h"
#include "PageHost.h"

#include <QAbstractItemView>
#include <QHash>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>

namespace {
// Text ids have at most four digits.
constexpr int TextIdCount = 10000;
constexpr int FuseNotReadText = 724;
constexpr int FusesReadText = 725;
constexpr int AboutMenuText = 6504;

// One of the program's language libraries, read directly, not through the program.
class LanguageTexts {
public:
    explicit LanguageTexts(const QString &languageId)
    {
        int error = 0;
        const QString path = qEnvironmentVariable("LUMAPROG_BIN_DIR") + '/' + languageId + LanguageLibrarySuffix;
        if (void *library = LanguageLibrary::load(path, error))
            m_value = reinterpret_cast<LanguageValueFunction>(LanguageLibrary::findExport(library, "getValue", error));
        EXPECT_NE(m_value, nullptr) << path.toStdString() << ": error " << error;
    }
    QString text(int id) const
    {
        if (!m_value)
            return {};
        return LanguageLibrary::fetchText(
            [&](char *buffer, std::int32_t size, std::int32_t mode) { return m_value(id, buffer, size, mode); });
    }

private:
    LanguageValueFunction m_value = nullptr;
};

const LanguageTexts &english()
{
    static const LanguageTexts texts(QStringLiteral("EN"));
    return texts;
}

const LanguageTexts &german()
{
    static const LanguageTexts texts(QStringLiteral("DE"));
    return texts;
}

// The English texts that German never shows, each with its ids: seen after a
// switch to German, such a text is one left in the old language.
using TextIds = QHash<QString, QStringList>;
TextIds englishOnlyTexts()
{
    TextIds texts;
    QSet<QString> germanTexts;
    for (int id = 0; id < TextIdCount; ++id) {
        germanTexts << german().text(id);
        if (const QString text = english().text(id); !text.isEmpty())
            texts[text] << QString::number(id);
    }
    for (const QString &text : germanTexts)
        texts.remove(text);
    return texts;
}

// Where on the window a widget lies, for the failure message.
QString areaOf(const TMainFrm &w, const QWidget *widget)
{
    const std::pair<const QWidget *, const char *> areas[] = {
        {w.pnl_Start, "start page"}, {w.pnl_Target, "target page"}, {w.pnl_DevelopmentBord, "board page"},
        {w.pnl_MicrocontrollerModule, "module page"}, {w.pnl_StartProgramm_DevelopmentBoard, "board programming page"},
        {w.pnl_StartProgramm_MicrocontrollerModule, "module programming page"}, {w.pnl_Flash, "flash page"},
        {w.pnl_EEprom, "EEPROM page"}, {w.pnl_RichEdit, "log"}, {w.pnl_Top, "title"},
        {w.vst_Auswahl, "navigation list"}, {w.menuBar(), "menu bar"}, {w.statusBar(), "status bar"},
    };
    for (; widget; widget = widget->parentWidget()) {
        for (const auto &[area, name] : areas) {
            if (widget == area)
                return QString::fromLatin1(name);
        }
    }
    return QStringLiteral("window");
}

// What the user sees of a widget when its page is in front: the pages behind
// count as well, the widgets hidden on their page (a closed editor, a warning
// not given) do not.
bool seenOnItsPage(const TMainFrm &window, const QWidget *widget)
{
    const QList<QWidget *> pages = window.Panel1->stackingOrder();
    const QWidget *page = widget;
    while (page && !pages.contains(page))
        page = page->parentWidget();
    return widget->isVisibleTo(page ? page : &window);
}

QStringList textsShownBy(const QWidget *widget)
{
    QStringList texts = {widget->toolTip()};
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        texts << button->text();
    else if (auto *label = qobject_cast<const QLabel *>(widget))
        texts << label->text();
    else if (auto *group = qobject_cast<const QGroupBox *>(widget))
        texts << group->title();
    else if (auto *list = qobject_cast<const QComboBox *>(widget)) {
        for (int item = 0; item < list->count(); ++item)
            texts << list->itemText(item);
    } else if (auto *view = qobject_cast<const QAbstractItemView *>(widget)) {
        const QAbstractItemModel *model = view->model();
        for (int row = 0; model && row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                for (const int role : {Qt::DisplayRole, Qt::ToolTipRole})
                    texts << model->index(row, column).data(role).toString();
            }
        }
    }
    // The menu bar's entries are its actions.
    for (const QAction *action : widget->actions())
        texts << action->text();
    return texts;
}

// Every text the user sees on the window that is one of the given, as
// "area: widget class "text" (text ids)".
QStringList textsAmong(const TMainFrm &window, const TextIds &texts)
{
    QStringList found;
    const auto check = [&](const QString &where, const QString &text) {
        if (texts.contains(text))
            found << QStringLiteral("%1 \"%2\" (text %3)").arg(where, text, texts.value(text).join(u'/'));
    };
    check(QStringLiteral("window caption"), window.windowTitle());
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        if (!seenOnItsPage(window, widget))
            continue;
        const QString where = areaOf(window, widget) + ": " + widget->metaObject()->className();
        for (const QString &text : textsShownBy(widget))
            check(where, text);
    }
    return found;
}

// The fuse note's text and whether it is green, as "text|green".
QString fuseNote(const TMainFrm &window)
{
    const bool green = window.lbl_FuseNotRead->styleSheet().contains(ColourFromBgr(clGreen).name());
    return window.lbl_FuseNotRead->text() + (green ? "|green" : "|red");
}
}

// Once with the fuse bytes as the definition gives them and once read from a
// board: the note keeps its state, in the new language.
TEST_F(GuiTest, NothingTheUserSeesStaysInTheOldLanguageAfterASwitch)
{
    const TextIds englishOnly = englishOnlyTexts();
    writeDefinitions(TestDefinitions);
    BoardSimulator board(1024, 64);
    board.setSignature(0x1E9307);
    writeSetting("Interface", "ProgrammerCom", CurrentComPort = board.portPath());
    for (const bool read : {false, true}) {
        SCOPED_TRACE(read ? "fuse bytes read" : "fuse bytes not read");
        writeOptions({{"LanguageID", "EN"}});
        auto window = showWindow();
        if (read)
            window->btn_FuseRead->click();
        const int noteText = read ? FusesReadText : FuseNotReadText;
        ASSERT_EQ(fuseNote(*window), english().text(noteText) + (read ? "|green" : "|red"));

        // In English the walk sees the texts that a switch must reach.
        const QStringList before = textsAmong(*window, englishOnly);
        for (const int id : {noteText, AboutMenuText}) {
            const QString shown = '"' + english().text(id) + '"';
            EXPECT_EQ(before.filter(shown).size(), 1) << before.join(u'\n').toStdString();
        }

        chooseLanguageInOptions(*window, QStringLiteral("DE"));
        EXPECT_EQ(textsAmong(*window, englishOnly).join('\n'), QString());
        EXPECT_EQ(fuseNote(*window), german().text(noteText) + (read ? "|green" : "|red"));
    }
}
