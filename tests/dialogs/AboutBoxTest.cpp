// The about box's texts and links, and the memory rows it shows.
#include "DialogFixture.h"
#include "ExecutableInfo.h"
#include "SystemInfo.h"
#include "VersionLine.h"
#include "u_AboutBox.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QStringList opened;
public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

constexpr std::uint64_t GiB = 1ull << 30;
}

TEST(AboutBoxMemory, RowsGroupedByTheLocaleOrAPlaceholder)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const auto rows = [](std::optional<SystemInfo::MemoryStatus> status, const QLocale &locale) {
        const MemoryRows r = FormatMemoryRows(status, locale);
        return QStringList{r.total, r.free, r.inUse}.join(u'|');
    };
    EXPECT_EQ(rows(SystemInfo::MemoryStatus{GiB, GiB / 4}, english), "1,048,576 KB|262,144 KB|75.0 %");
    EXPECT_EQ(rows(SystemInfo::MemoryStatus{GiB, GiB / 3}, QLocale(QLocale::German)), "1.048.576 KB|349.525 KB|66,7 %");
    EXPECT_EQ(rows(std::nullopt, english), "-|-|-");
}

TEST_F(DialogTest, AboutBoxShowsItsTextsAndOpensItsLinks)
{
    UrlRecorder urls;
    for (const char *scheme : {"mailto", "https"})
        QDesktopServices::setUrlHandler(scheme, &urls, "open");
    whenShown<TAboutBox>([&](TAboutBox &box) {
        EXPECT_EQ(box.windowTitle(), "T2001");
        for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, QString>>{
                 {box.Label4, "T2002"}, {box.Label2, "T2003"}, {box.Label1, "T2004"}, {box.Label3, "T2005"},
                 {box.LMDLabel4, "Support-Mail: "}, {box.LMDLabel5, "Web-Site:"},
                 {box.LMDLabel7, "support@example.com"}, {box.LMDLabel6, "https://www.example.com/"},
                 {box.LMDLabel11, SystemInfo::operatingSystemDescription()}, {box.LMDButton1, "T2006"}})
            EXPECT_EQ(control->property("text").toString(), text) << control->objectName().toStdString();
        const auto version = ExecutableInfo::compiledVersion();
        EXPECT_EQ(box.LMDLabel2->text(),
                  VersionLine("Version: ", version.major, version.minor, version.release, version.build));

        QTest::mouseClick(box.LMDLabel7, Qt::LeftButton);
        QTest::mouseClick(box.LMDLabel6, Qt::LeftButton);
        QEvent enter(QEvent::Enter), leave(QEvent::Leave);
        QCoreApplication::sendEvent(box.LMDLabel6, &enter);
        EXPECT_EQ(box.LMDLabel6->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QCoreApplication::sendEvent(box.LMDLabel6, &leave);
        EXPECT_EQ(box.LMDLabel6->palette().color(QPalette::WindowText), QColor(Qt::white));
    });
    window->ac_AboutExecute();
    EXPECT_EQ(urls.opened, QStringList({"mailto:support@example.com", "https://www.example.com/"}));
    for (const char *scheme : {"mailto", "https"})
        QDesktopServices::unsetUrlHandler(scheme);
}

#include "AboutBoxTest.moc"
