// Pictures decoded ahead of the start-up are those of the files, and one
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

    const QString start = target + QStringLiteral("Start.jpg");
    EXPECT_EQ(StartupPrefetch::picture(start).toImage(), LoadJpegFile(source + QStringLiteral("Start.jpg")));
    // Gone after it was taken: the next load reads the file.
    ASSERT_TRUE(QFile::remove(start));
    EXPECT_TRUE(StartupPrefetch::picture(start).isNull());
    // A picture that fails to decode ahead is no picture.
    QFile broken(start);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("\xFF\xD8 not a picture") > 0);
    broken.close();
    StartupPrefetch::begin(target);
    EXPECT_TRUE(StartupPrefetch::picture(start).isNull());
    // The others are decoded all the same. Everything begun is taken before
    // the test ends: later tests change the environment, which a thread still
    // enumerating the ports reads without Qt's lock.
    for (const QString &name : {QStringLiteral("Splash.png"), QStringLiteral("Titel.png")})
        EXPECT_FALSE(StartupPrefetch::picture(target + name).isNull()) << name.toStdString();
    StartupPrefetch::takePorts();
}
