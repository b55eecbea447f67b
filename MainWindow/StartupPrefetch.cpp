#include "StartupPrefetch.h"

#include "JpegImage.h"
#include "SerialPort.h"

#include <QDir>
#include <QImage>

#include <future>
#include <map>
#include <utility>
#include <vector>

namespace {
std::future<QStringList> ports;
// The PNG pictures by path, kept for the program's life: a few hundred kilobytes.
std::map<QString, std::shared_future<QImage>> pictures;
std::future<void> decoding;

using PictureJob = std::pair<QString, std::promise<QImage>>;

// Every PNG picture of the folder gets a job and a place in `pictures`, the
// largest first, since they cost the most where they are placed; the JPEG
// pictures go to LoadJpegFile's own decoding ahead.
std::vector<PictureJob> pictureJobs(const QString &folder)
{
    std::vector<PictureJob> jobs;
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg")},
                                                     QDir::Files, QDir::Size);
    for (const QString &name : names) {
        const QString path = folder + name;
        if (name.endsWith(QLatin1String(".jpg"))) {
            PrefetchJpegFile(path);
            continue;
        }
        PictureJob job(path, std::promise<QImage>());
        pictures[path] = job.second.get_future().share();
        jobs.push_back(std::move(job));
    }
    return jobs;
}
}

namespace StartupPrefetch {
void begin(const QString &pictureFolder)
{
    ports = std::async(std::launch::async, &SerialPort::availablePorts);
    pictures.clear();
    decoding = std::async(std::launch::async, [jobs = pictureJobs(pictureFolder)]() mutable {
        for (PictureJob &job : jobs)
            job.second.set_value(QImage(job.first));
    });
}

QStringList takePorts()
{
    return ports.valid() ? ports.get() : SerialPort::availablePorts();
}

QPixmap picture(const QString &path)
{
    const auto found = pictures.find(path);
    return found != pictures.end() ? QPixmap::fromImage(found->second.get()) : QPixmap(path);
}
}
