// Draws the program's artwork into the given folder: the three 20 x 20 check box images (24-bit,
// on magenta, which is their transparent colour) and the 449 x 201 splash picture (8 bits per
// pixel with a 256-colour palette); with a second folder, also the application icon for the
// hicolor theme (NxN/apps/org.ostrelle.corvane.png below it). Run by hand when the artwork
// changes; the results are kept in resources/images and resources/icons.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

const QColor kMagenta(255, 0, 255);
const QColor kButtonFace(212, 208, 200);

// Anti-aliased drawing on a transparent image, then put on magenta: pixels mostly covered take
// their colour blended with the usual window colour, the rest become magenta, so that only the
// disc is opaque and its edge looks smooth on a grey window.
QImage onMagenta(const QImage& drawing) {
    QImage out(drawing.size(), QImage::Format_RGB888);
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width(); ++x) {
            const QColor c = drawing.pixelColor(x, y);
            if (c.alphaF() < 0.5) {
                out.setPixelColor(x, y, kMagenta);
                continue;
            }
            const float a = c.alphaF();
            out.setPixelColor(x, y,
                              QColor::fromRgbF(c.redF() * a + kButtonFace.redF() * (1 - a),
                                               c.greenF() * a + kButtonFace.greenF() * (1 - a),
                                               c.blueF() * a + kButtonFace.blueF() * (1 - a)));
        }
    }
    return out;
}

QImage disc(const QColor& light, const QColor& dark, const QColor& rim, bool tick) {
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient fill(QPointF(7.5, 7), 11);
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setBrush(fill);
    p.setPen(QPen(rim, 1.4));
    p.drawEllipse(QRectF(2.2, 2.2, 15.6, 15.6));
    if (tick) {
        QPainterPath path;
        path.moveTo(6.0, 10.2);
        path.lineTo(8.8, 13.2);
        path.lineTo(14.2, 6.6);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(24, 48, 96, 160), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path.translated(0.5, 0.6));
        p.setPen(QPen(QColor(250, 252, 255), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    p.end();
    return onMagenta(image);
}

QImage splash() {
    QImage image(449, 201, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 449, 201);
    sky.setColorAt(0, QColor(16, 32, 72));
    sky.setColorAt(1, QColor(40, 88, 160));
    p.fillRect(image.rect(), sky);
    // A chip: a square package with pins, the way a graphics processor looks from above.
    p.setPen(QPen(QColor(200, 210, 230), 2));
    for (int i = 0; i < 7; ++i) {
        const int o = 46 + i * 14;
        p.drawLine(o, 28, o, 40);
        p.drawLine(o, 150, o, 162);
        p.drawLine(28, o, 40, o);
        p.drawLine(150, o, 162, o);
    }
    QLinearGradient body(40, 40, 150, 150);
    body.setColorAt(0, QColor(70, 74, 84));
    body.setColorAt(1, QColor(24, 26, 32));
    p.setBrush(body);
    p.setPen(QPen(QColor(150, 160, 180), 1.5));
    p.drawRoundedRect(QRectF(40, 40, 110, 110), 6, 6);
    p.setPen(QColor(220, 60, 60));
    p.setFont(QFont("DejaVu Sans", 20, QFont::Bold));
    p.drawText(QRectF(40, 62, 110, 40), Qt::AlignCenter, "128");
    p.setPen(QColor(200, 206, 220));
    p.setFont(QFont("DejaVu Sans", 8));
    p.drawText(QRectF(40, 98, 110, 30), Qt::AlignCenter, "CORE / MEMORY");

    p.setPen(Qt::white);
    p.setFont(QFont("DejaVu Serif", 38, QFont::Bold));
    p.drawText(QRectF(185, 40, 250, 60), Qt::AlignLeft | Qt::AlignVCenter, "Corvane");
    p.setPen(QColor(190, 210, 240));
    p.setFont(QFont("DejaVu Sans", 11));
    p.drawText(QRectF(188, 100, 250, 24), Qt::AlignLeft | Qt::AlignVCenter,
               "Tuning for ATI Rage 128 cards");
    p.setFont(QFont("DejaVu Sans", 9));
    p.drawText(QRectF(188, 150, 250, 20), Qt::AlignLeft | Qt::AlignVCenter, "Version 1.1");
    p.end();
    return image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
}

bool save(const QImage& image, const QString& path) {
    if (!image.save(path, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

// The application icon: a card's chip with a clock hand, drawn for each size rather than scaled,
// so that the small ones stay sharp.
QImage appIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // The board.
    QLinearGradient board(0, 8, 0, 56);
    board.setColorAt(0, QColor(46, 120, 70));
    board.setColorAt(1, QColor(22, 74, 40));
    p.setPen(QPen(QColor(12, 40, 22), 2));
    p.setBrush(board);
    p.drawRoundedRect(QRectF(3, 10, 58, 44), 6, 6);
    // The chip.
    QLinearGradient chip(0, 18, 0, 46);
    chip.setColorAt(0, QColor(70, 74, 86));
    chip.setColorAt(1, QColor(28, 30, 38));
    p.setPen(QPen(QColor(10, 10, 14), 1.5));
    p.setBrush(chip);
    p.drawRoundedRect(QRectF(16, 18, 32, 28), 3, 3);
    // Its pins.
    p.setPen(QPen(QColor(214, 190, 96), 2));
    for (int i = 0; i < 5; ++i) {
        const double x = 20 + i * 6;
        p.drawLine(QPointF(x, 14), QPointF(x, 18));
        p.drawLine(QPointF(x, 46), QPointF(x, 50));
    }
    // The clock face with its hand.
    p.setPen(QPen(QColor(20, 52, 110), 2));
    p.setBrush(QColor(190, 224, 255));
    p.drawEllipse(QPointF(32, 32), 10, 10);
    p.setPen(QPen(QColor(200, 30, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 32), QPointF(38, 26));
    p.setPen(QPen(QColor(20, 52, 110), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 32), QPointF(32, 25));
    return image;
}

bool saveIcons(const QString& hicolor) {
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(hicolor).arg(size);
        if (!QDir().mkpath(dir) || !appIcon(size).save(dir + "/org.ostrelle.corvane.png", "PNG")) {
            std::fprintf(stderr, "cannot write the %d px icon into %s\n", size,
                         dir.toLocal8Bit().constData());
            return false;
        }
    }
    return true;
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc > 2 && !saveIcons(QString::fromLocal8Bit(argv[2]))) return 1;
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool ok =
        save(disc(QColor(190, 224, 255), QColor(86, 150, 226), QColor(20, 52, 110), false),
             dir + "/CheckOff.bmp") &&
        save(disc(QColor(190, 224, 255), QColor(86, 150, 226), QColor(20, 52, 110), true),
             dir + "/CheckOn.bmp") &&
        save(disc(QColor(118, 136, 164), QColor(58, 74, 102), QColor(30, 38, 56), false),
             dir + "/CheckDisabled.bmp") &&
        save(splash(), dir + "/Splash.bmp");
    return ok ? 0 : 1;
}
