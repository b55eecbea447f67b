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
// The pictures being decoded ahead, by path.
std::map<QString, std::future<QImage>> pictures;
std::vector<std::future<void>> decoders;

using PictureJob = std::pair<QString, std::promise<QImage>>;

QImage decode(const QString &path)
{
    return path.endsWith(QLatin1String(".jpg")) ? LoadJpegFile(path) : QImage(path);
}

// Decodes the pictures one after another, in the order given.
std::future<void> decodeInTurn(std::vector<PictureJob> jobs)
{
    return std::async(std::launch::async, [jobs = std::move(jobs)]() mutable {
        for (PictureJob &job : jobs)
            job.second.set_value(decode(job.first));
    });
}
}

namespace StartupPrefetch {
void begin(const QString &pictureFolder)
{
    ports = std::async(std::launch::async, &SerialPort::availablePorts);
    pictures.clear();
    // Largest first, since they cost the most where they are placed; the JPEG
    // pictures, far larger, on a thread of their own, so that the small ones
    // the splash and the window need first do not wait behind them.
    std::vector<PictureJob> jpegs, others;
    const QStringList names = QDir(pictureFolder).entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg")},
                                                            QDir::Files, QDir::Size);
    for (const QString &name : names) {
        PictureJob job(pictureFolder + name, std::promise<QImage>());
        pictures[job.first] = job.second.get_future();
        (name.endsWith(QLatin1String(".jpg")) ? jpegs : others).push_back(std::move(job));
    }
    decoders.clear();
    decoders.push_back(decodeInTurn(std::move(jpegs)));
    decoders.push_back(decodeInTurn(std::move(others)));
}

QStringList takePorts()
{
    return ports.valid() ? ports.get() : SerialPort::availablePorts();
}

QPixmap picture(const QString &path)
{
    const auto found = pictures.find(path);
    if (found == pictures.end())
        return QPixmap::fromImage(decode(path));
    const QImage image = found->second.get();
    pictures.erase(found);
    return QPixmap::fromImage(image);
}
}
