// Draws the program's pictures and its cursor into a folder (Ressourcen/).
// Run once by hand; the results are kept with the sources:
//   make_pictures <folder>
#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <cstdio>

namespace {
const QColor Navy(18, 44, 92);
const QColor Sky(58, 120, 200);
const QColor Copper(196, 140, 60);
const QColor BoardGreen(22, 110, 70);
const QColor Transparent(255, 0, 255);  // the see-through colour of the list's bitmaps

QString folder;

void save(const QImage &image, const QString &name, const char *format = nullptr, int quality = -1)
{
    if (!image.save(folder + name, format, quality))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
}

void gradient(QPainter &p, const QRect &r, const QColor &from, const QColor &to)
{
    // Left to right, so that a picture of the right end's colour continues it without a seam.
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.fillRect(r, g);
}

// A microcontroller chip: body with pins on two sides.
void chip(QPainter &p, const QRectF &r, int pins)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 200));
    const qreal pitch = r.height() / pins;
    for (int i = 0; i < pins; ++i) {
        const qreal y = r.top() + pitch * (i + 0.25);
        p.drawRect(QRectF(r.left() - r.width() * 0.12, y, r.width() * 0.12, pitch * 0.5));
        p.drawRect(QRectF(r.right(), y, r.width() * 0.12, pitch * 0.5));
    }
    p.setBrush(QColor(40, 40, 40));
    p.drawRoundedRect(r, 2, 2);
    p.setBrush(QColor(90, 90, 90));
    p.drawEllipse(QPointF(r.left() + r.width() * 0.25, r.top() + r.width() * 0.25),
                  r.width() * 0.08, r.width() * 0.08);
    p.restore();
}

void board(QPainter &p, const QRectF &r)
{
    p.save();
    p.setPen(QPen(QColor(10, 60, 35), 2));
    p.setBrush(BoardGreen);
    p.drawRoundedRect(r, 6, 6);
    p.setPen(QPen(Copper, 1.5));
    for (int i = 1; i < 6; ++i) {
        const qreal y = r.top() + r.height() * i / 6.0;
        p.drawLine(QPointF(r.left() + 6, y), QPointF(r.left() + r.width() * 0.35, y));
    }
    chip(p, QRectF(r.left() + r.width() * 0.45, r.top() + r.height() * 0.25, r.width() * 0.25,
                   r.height() * 0.5),
         6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(180, 180, 190));
    p.drawRect(QRectF(r.right() - r.width() * 0.12, r.center().y() - r.height() * 0.12,
                      r.width() * 0.14, r.height() * 0.24));
    p.restore();
}

QImage canvas(int w, int h, const QColor &fill = Qt::transparent)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

void title(QPainter &p, const QRect &r, int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumaprog"));
}

void makeSplash()
{
    QImage image = canvas(480, 140);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    gradient(p, image.rect(), Navy, Sky);
    board(p, QRectF(330, 30, 120, 80));
    title(p, QRect(32, 20, 300, 50), 34);
    save(image, QStringLiteral("Splash.png"));
}

void makeTitle()
{
    QImage left = canvas(661, 58);
    QPainter p(&left);
    p.setRenderHint(QPainter::Antialiasing);
    gradient(p, left.rect(), Navy, Sky);
    chip(p, QRectF(18, 12, 22, 34), 4);
    title(p, QRect(56, 0, 400, 58), 26);
    p.end();
    save(left, QStringLiteral("Titel.png"));

    QImage right = canvas(64, 58, Sky);
    save(right, QStringLiteral("TitelRechts.png"));
}

void makeStart()
{
    QImage image = canvas(860, 560, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 560);
    sky.setColorAt(0, QColor(235, 242, 252));
    sky.setColorAt(1, QColor(190, 210, 235));
    p.fillRect(image.rect(), sky);
    board(p, QRectF(230, 150, 400, 260));
    chip(p, QRectF(90, 230, 60, 100), 8);
    p.setPen(QPen(Copper, 4));
    p.drawLine(QPointF(158, 280), QPointF(230, 280));
    title(p, QRect(40, 20, 500, 80), 48);
    p.end();
    // The start page reads it through libjpeg; writing goes through Qt.
    save(image.convertToFormat(QImage::Format_RGB32), QStringLiteral("Start.jpg"), "JPG", 85);
}

void makeTargets()
{
    QImage boardPicture = canvas(85, 64, Qt::white);
    QPainter p(&boardPicture);
    p.setRenderHint(QPainter::Antialiasing);
    board(p, QRectF(4, 8, 77, 48));
    p.end();
    save(boardPicture, QStringLiteral("Target_Board.png"));

    QImage module = canvas(85, 64, Qt::white);
    QPainter m(&module);
    m.setRenderHint(QPainter::Antialiasing);
    m.setPen(QPen(QColor(10, 40, 90), 2));
    m.setBrush(QColor(40, 80, 150));
    m.drawRoundedRect(QRectF(20, 6, 45, 52), 4, 4);
    chip(m, QRectF(33, 18, 19, 28), 4);
    m.end();
    save(module, QStringLiteral("Target_Module.png"));
}

void navigationIcon(const QString &name, const std::function<void(QPainter &)> &draw)
{
    QImage image = canvas(30, 34);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    save(image, name);
}

void memoryIcon(QPainter &p, const QColor &colour, const QString &letter)
{
    p.setPen(QPen(colour.darker(150), 1.5));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(3, 5, 24, 24), 3, 3);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 5, 24, 24), Qt::AlignCenter, letter);
}

void makeNavigation()
{
    navigationIcon(QStringLiteral("Nav_Target.png"), [](QPainter &p) {
        p.setPen(QPen(Navy, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(15, 17), 11, 11);
        p.drawEllipse(QPointF(15, 17), 5, 5);
        p.drawLine(QPointF(15, 2), QPointF(15, 32));
        p.drawLine(QPointF(0, 17), QPointF(30, 17));
    });
    navigationIcon(QStringLiteral("Nav_Device.png"),
                   [](QPainter &p) { chip(p, QRectF(9, 5, 12, 24), 4); });
    navigationIcon(QStringLiteral("Nav_Flash.png"),
                   [](QPainter &p) { memoryIcon(p, QColor(200, 110, 30), QStringLiteral("F")); });
    navigationIcon(QStringLiteral("Nav_EEprom.png"),
                   [](QPainter &p) { memoryIcon(p, QColor(60, 140, 60), QStringLiteral("E")); });
    navigationIcon(QStringLiteral("Nav_Program.png"), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 160, 20));
        QPainterPath bolt;
        bolt.moveTo(18, 2);
        bolt.lineTo(6, 19);
        bolt.lineTo(14, 19);
        bolt.lineTo(11, 32);
        bolt.lineTo(24, 14);
        bolt.lineTo(16, 14);
        bolt.closeSubpath();
        p.drawPath(bolt);
    });
}

// Bitmaps without alpha: the bottom-left pixel's colour is drawn see-through.
void makeListBitmap(const QString &name, const QColor &from, const QColor &to)
{
    QImage image = canvas(143, 36, Transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient g(0, 0, 0, 36);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 139, 32), 6, 6);
    p.end();
    save(image.convertToFormat(QImage::Format_RGB888), name, "BMP");
}

void makeSmallIcon(const QString &name, const std::function<void(QPainter &)> &draw,
                   int size = 16)
{
    QImage image = canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    save(image, name);
}

void makeIcons()
{
    makeSmallIcon(QStringLiteral("Warning.png"), [](QPainter &p) {
        QPainterPath triangle;
        triangle.moveTo(16, 2);
        triangle.lineTo(30, 29);
        triangle.lineTo(2, 29);
        triangle.closeSubpath();
        p.setPen(QPen(QColor(120, 90, 0), 1.5));
        p.setBrush(QColor(250, 210, 30));
        p.drawPath(triangle);
        p.setPen(QPen(Qt::black, 3));
        p.drawLine(QPointF(16, 11), QPointF(16, 20));
        p.drawPoint(QPointF(16, 25));
    }, 32);
    makeSmallIcon(QStringLiteral("Bits.png"), [](QPainter &p) {
        p.setPen(QPen(Navy, 1));
        for (int i = 0; i < 4; ++i) {
            p.setBrush(i % 2 ? Qt::white : Navy);
            p.drawRect(QRectF(1 + i * 3.6, 5, 3, 6));
        }
    });
    makeSmallIcon(QStringLiteral("ClearLog.png"), [](QPainter &p) {
        p.setPen(QPen(QColor(180, 30, 30), 2.5));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
    });
    makeSmallIcon(QStringLiteral("SaveLog.png"), [](QPainter &p) {
        p.setPen(QPen(Navy, 1));
        p.setBrush(Sky);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
    });
    makeSmallIcon(QStringLiteral("Erase.png"), [](QPainter &p) {
        p.setPen(QPen(QColor(120, 60, 60), 1));
        p.setBrush(QColor(240, 150, 150));
        p.drawRoundedRect(QRectF(2, 5, 12, 7), 2, 2);
    });
    makeSmallIcon(QStringLiteral("Program.png"), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 140, 40));
        QPainterPath arrow;
        arrow.moveTo(8, 15);
        arrow.lineTo(2, 8);
        arrow.lineTo(6, 8);
        arrow.lineTo(6, 1);
        arrow.lineTo(10, 1);
        arrow.lineTo(10, 8);
        arrow.lineTo(14, 8);
        arrow.closeSubpath();
        p.drawPath(arrow);
    });
    makeSmallIcon(QStringLiteral("Verify.png"), [](QPainter &p) {
        p.setPen(QPen(QColor(30, 110, 30), 2.5));
        p.drawLine(QPointF(2, 9), QPointF(6, 13));
        p.drawLine(QPointF(6, 13), QPointF(14, 3));
    });
}

// A stop sign as a cursor file: an icon file whose header says "cursor"
// and carries the hot spot where an icon has planes and bit count.
void makeCursor()
{
    QImage image = canvas(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const double angle = (22.5 + 45.0 * i) * 3.14159265358979 / 180.0;
        octagon << QPointF(16 + 14 * std::cos(angle), 16 + 14 * std::sin(angle));
    }
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(200, 20, 20));
    p.drawPolygon(octagon);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(QPointF(9, 16), QPointF(23, 16));
    p.end();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "ICO")) {
        std::fprintf(stderr, "cannot write Stop.cur\n");
        return;
    }
    constexpr quint16 CursorType = 2;
    constexpr quint16 HotSpot = 16;
    qToLittleEndian<quint16>(CursorType, bytes.data() + 2);
    qToLittleEndian<quint16>(HotSpot, bytes.data() + 6 + 4);
    qToLittleEndian<quint16>(HotSpot, bytes.data() + 6 + 6);
    QFile file(folder + QStringLiteral("Stop.cur"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write Stop.cur\n");
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_pictures <folder>\n");
        return 2;
    }
    folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    makeSplash();
    makeTitle();
    makeStart();
    makeTargets();
    makeNavigation();
    makeListBitmap(QStringLiteral("Selected.bmp"), Sky, Navy);
    makeListBitmap(QStringLiteral("Hover.bmp"), QColor(225, 235, 250), QColor(190, 210, 240));
    makeIcons();
    makeCursor();
    return 0;
}
