// Reading ends on every file, whatever its reported size says, and holds no
// more than a block and a record of it, however large the file or its lines.
#include "ChildProcess.h"
#include "HexFixture.h"
#include "HexFileReader.h"
#include "RecordLineReader.h"
#include "RegularFile.h"

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The data of a line as it follows the line before it in a description.
QByteArray Described(const THexLine &line)
{
    return ' ' + line.LineData().toLatin1();
}

// What a load gave: whether the image is loaded and the data of each line.
QByteArray Describe(const THexContainer &image)
{
    QByteArray text = image.ImageLoaded ? "loaded" : "not loaded";
    for (int i = 0; i < image.count(); ++i)
        text += Described(image.Items(i));
    return text;
}

std::string LoadInChild(const QString &fileName, const ChildLimits &limits = {})
{
    return RunInChild([&] {
        THexContainer image;
        image.LoadFromFile(fileName);
        return Describe(image);
    }, limits).toStdString();
}

// A file that another writer changes after the first block was read from
// it, and that notes where each read starts and ends. Reads past a generous
// count fail, so that a reader going round in circles ends with an error.
class ChangingFile : public QFile {
public:
    ChangingFile(const QString &name, std::function<void()> change) : QFile(name), m_change(std::move(change)) {}

    // The start and the end of every read, in turn.
    std::vector<qint64> readBounds;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        constexpr std::size_t MaxReads = 100;
        if (readBounds.size() == 2 * MaxReads) {
            setErrorString("read again and again");
            return -1;
        }
        readBounds.push_back(::lseek(handle(), 0, SEEK_CUR));
        const qint64 read = QFile::readData(data, maxSize);
        readBounds.push_back(::lseek(handle(), 0, SEEK_CUR));
        if (readBounds.size() == 2)
            m_change();
        return read;
    }

private:
    std::function<void()> m_change;
};
}

using HexReadEnds = HexFixture;

// The name is switched to a FIFO after it was looked at and before it is
// opened: what is read is what is checked, so the load is refused at once
// instead of waiting for a writer that never comes.
TEST_F(HexReadEnds, ANameSwitchedToAFifoBeforeTheOpenIsRefusedAtOnce)
{
    const QString name = writeFile("switched.hex", ":0100000042BD\n");
    const QByteArray fifo = QFile::encodeName(filePath("fifo"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const std::string outcome = RunInChild([&] {
        RegularFile::setTestHook(RegularFile::Moment::BeforeOpen,
                                 [&] { ::rename(fifo.constData(), QFile::encodeName(name).constData()); });
        THexContainer image;
        image.LoadFromFile(name);
        return Describe(image);
    }).toStdString();
    EXPECT_EQ(outcome, ("error: Datei " + name + " kann nicht geöffnet werden. T7301").toStdString());
    EXPECT_FALSE(QFileInfo(name).isFile()) << "the name was not switched";
}

// A file of /proc reports a size of 0 while it holds more than a block: the
// environment of a process, here one whose environment holds records after
// a line longer than a block. The reader only reads, and the file can be
// neither written nor replaced, whatever the reader did.
TEST_F(HexReadEnds, AFileOfProcIsReadToItsEndWhateverItsReportedSize)
{
    QProcess holder;
    QProcessEnvironment environment;
    environment.insert("RECORDS", QString(RecordLineReader::BlockSize + 1000, 'x') + "\n:0100000042BD\n:0100100043AC");
    holder.setProcessEnvironment(environment);
    holder.start(QStandardPaths::findExecutable("sleep"), {"600"});
    ASSERT_TRUE(holder.waitForStarted());
    const QString environ = QString("/proc/%1/environ").arg(holder.processId());
    ASSERT_EQ(QFileInfo(environ).size(), 0);
    EXPECT_EQ(LoadInChild(environ), "loaded 42 43");
    holder.kill();
    holder.waitForFinished();
}

// The reader never moves backwards: a file cut short behind it ends where it
// ends, with the records read before the cut; a file that grows is read on
// to its new end.
TEST_F(HexReadEnds, AFileThatShrinksOrGrowsWhileReadEndsWithWhatItHeld)
{
    const qsizetype Block = RecordLineReader::BlockSize;
    const QByteArray text = ":0100000042BD\n" + QByteArray(2 * Block, 'x') + "\n:0100100043AC\n";
    const struct {
        const char *name;
        std::function<void(const QString &)> change;
        const char *image;
    } rows[] = {
        {"CutInsideTheFirstBlock", [&](const QString &name) { QFile::resize(name, Block / 2); }, "read 42"},
        {"Emptied", [](const QString &name) { QFile::resize(name, 0); }, "read 42"},
        {"Grown", [](const QString &name) {
             QFile file(name);
             if (file.open(QIODevice::Append))
                 file.write(":0100200044AB\n");
         }, "read 42 43 44"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = writeFile("changing.hex", text);
        ChangingFile file(name, [&] { row.change(name); });
        ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        QByteArray lines = "read";
        for (const THexLine &line : HexFileReader::Read(file, name))
            lines += Described(line);
        EXPECT_EQ(lines.toStdString(), row.image);
        EXPECT_TRUE(std::is_sorted(file.readBounds.begin(), file.readBounds.end()))
            << ::testing::PrintToString(file.readBounds);
    }
}

// Memory stays bounded by the image, not by the file nor by its longest line:
// in a child whose address space allows far less than either file, a file of
// 1 GiB of zero bytes (a hole) before its record and a record line of 512 MiB
// are read.
TEST_F(HexReadEnds, HugeFilesAndHugeLinesAreReadInBoundedMemory)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the bound allows";
#endif
    constexpr qint64 MiB = 1 << 20;
    ChildLimits limits;
    limits.addressSpaceHeadroom = 128 * MiB;

    QFile zeros(filePath("zeros.hex"));
    ASSERT_TRUE(zeros.open(QIODevice::WriteOnly) && zeros.seek(1024 * MiB) && zeros.write("\n:0100000042BD\n") > 0);
    zeros.close();
    EXPECT_EQ(LoadInChild(zeros.fileName(), limits), "loaded 42");
    ASSERT_TRUE(zeros.remove());

    // Real characters, no hole: the line's length, not a hole skipped unread, is what is bounded.
    QFile longLine(filePath("long-line.hex"));
    ASSERT_TRUE(longLine.open(QIODevice::WriteOnly));
    ASSERT_TRUE(longLine.write(":10000000000102030405060708090A0B0C0D0E0F78") > 0);
    const QByteArray chunk(MiB, 'A');
    for (qint64 written = 0; written < 512 * MiB; written += chunk.size())
        ASSERT_EQ(longLine.write(chunk), chunk.size());
    ASSERT_TRUE(longLine.write("\n:0100100042AD\n") > 0);
    longLine.close();
    EXPECT_EQ(LoadInChild(longLine.fileName(), limits), "loaded 000102030405060708090A0B0C0D0E0F 42");
    ASSERT_TRUE(longLine.remove());
}
