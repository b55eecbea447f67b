// Pictures decoded ahead of the start-up are those of the files, and a JPEG
// taken once is read afresh the next time.
#include "JpegImage.h"
#include "StartupPrefetch.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(StartupPrefetch, PicturesDecodedAheadAreThoseOfTheFiles)
{
    const QString source = QStringLiteral(LUMAPROG_SOURCE_PICTURES "/");
    QTemporaryDir folder;
    const QString target = folder.path() + QLatin1Char('/');
    for (const QString &name : {QStringLiteral("Start.jpg"), QStringLiteral("Splash.png"), QStringLiteral("Titel.png")})
        ASSERT_TRUE(QFile::copy(source + name, target + name));
    StartupPrefetch::begin(target);
    for (const QString &name : {QStringLiteral("Splash.png"), QStringLiteral("Titel.png")})
        EXPECT_EQ(StartupPrefetch::picture(target + name).toImage(), QPixmap(source + name).toImage()) << name.toStdString();

    QFile file(source + QStringLiteral("Start.jpg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(LoadJpegFile(target + QStringLiteral("Start.jpg")), DecodeJpeg(file.readAll()));
    // Gone after it was taken: the next load reads the file and reports its error.
    ASSERT_TRUE(QFile::remove(target + QStringLiteral("Start.jpg")));
    QString error;
    EXPECT_TRUE(LoadJpegFile(target + QStringLiteral("Start.jpg"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    PrefetchJpegFile(target + QStringLiteral("Start.jpg"));
    error.clear();
    EXPECT_TRUE(LoadJpegFile(target + QStringLiteral("Start.jpg"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}
