#include "window/art_standins.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QResource>
#include <QTemporaryDir>
#include <stdexcept>
#include <vector>

namespace {
struct Art {
    QString path; // resource path without ":/"
    QImage image;
};

// A cursor picture: see-through parts black in the color image and white in the mask.
struct CursorDrawing {
    QImage color, mask;
    explicit CursorDrawing(QSize s)
        : color(s, QImage::Format_RGB32), mask(s, QImage::Format_RGB32) {
        color.fill(Qt::black);
        mask.fill(Qt::white);
    }
    void rect(const QRect& r, QRgb c) {
        QPainter(&color).fillRect(r, QColor::fromRgb(c));
        QPainter(&mask).fillRect(r, Qt::black);
    }
};

void addCursor(std::vector<Art>& out, const QString& name, const CursorDrawing& d) {
    out.push_back({QStringLiteral("cursors/%1.png").arg(name), d.color});
    out.push_back({QStringLiteral("cursors/%1_mask.png").arg(name), d.mask});
}

std::vector<Art> drawings() {
    std::vector<Art> out;
    const QRgb outline = qRgb(20, 40, 120);
    {
        CursorDrawing can(QSize(144, 102));
        can.rect(QRect(40, 6, 100, 60), outline);           // body outline
        can.rect(QRect(64, 10, 45, 12), kKeyPink);          // body paint, x 64..108, y 10..21
        can.rect(QRect(70, 30, 30, 20), kKeyPink);          // the key color, not connected
        can.rect(QRect(0, 2, 14, 11), outline);             // drops outline
        can.rect(QRect(2, 4, 10, 7), kKeyPink);             // drops, x 2..11, y 4..10
        can.rect(QRect(14, 8, 26, 4), qRgb(150, 150, 150)); // spout
        addCursor(out, QStringLiteral("cursor_leika"), can);
    }
    {
        CursorDrawing brush(QSize(201, 230));
        brush.rect(QRect(1, 0, 34, 38), kKeyGrey);               // tip, x 1..34, y 0..37
        brush.rect(QRect(35, 38, 30, 30), qRgb(160, 160, 170));  // ferrule
        brush.rect(QRect(65, 68, 120, 140), qRgb(170, 110, 40)); // handle
        brush.rect(QRect(150, 210, 20, 15), kKeyGrey);           // the key color, not connected
        addCursor(out, QStringLiteral("cursor_kist"), brush);
    }
    {
        CursorDrawing spray(QSize(110, 146));
        spray.rect(QRect(40, 60, 40, 80), outline);
        spray.rect(QRect(49, 72, 22, 24), kKeyPink); // label, x 49..70, y 72..95
        spray.rect(QRect(0, 5, 40, 12), qRgb(200, 200, 200));
        addCursor(out, QStringLiteral("cursor_bolon"), spray);
    }
    {
        CursorDrawing eraser(QSize(87, 69));
        eraser.rect(QRect(5, 5, 70, 50), qRgb(60, 60, 200));
        eraser.rect(QRect(10, 10, 30, 30), kKeyPink); // shows any tint that should not be
        addCursor(out, QStringLiteral("cursor_sterka"), eraser);
    }
    {
        CursorDrawing wand(QSize(69, 105));
        wand.rect(QRect(10, 10, 12, 90), qRgb(90, 50, 20));
        wand.rect(QRect(2, 2, 20, 20), qRgb(250, 220, 0));
        addCursor(out, QStringLiteral("cur_palka"), wand);
    }

    // Swatches: a blot of the color on white; the hover picture adds a face.
    const std::pair<const char*, QRgb> blots[] = {
        {"RED", qRgb(255, 0, 0)},       {"YELLOW", qRgb(255, 255, 0)},
        {"ORANGE", qRgb(255, 128, 0)},  {"GREEN", qRgb(0, 128, 0)},
        {"BLUE", qRgb(0, 0, 255)},      {"SKY", qRgb(0, 255, 255)},
        {"WHITE", qRgb(240, 240, 240)}, {"BLACK", qRgb(26, 26, 26)}};
    for (const auto& [name, color] : blots) {
        for (int face = 0; face < 2; ++face) {
            QImage img(103, 116, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(color));
            p.drawEllipse(8, 12, 87, 92);
            if (face) {
                p.setBrush(QColor(90, 60, 30));
                p.drawEllipse(32, 40, 10, 10);
                p.drawEllipse(62, 40, 10, 10);
                p.drawRect(35, 75, 34, 5);
            }
            p.end();
            out.push_back(
                {QStringLiteral("swatches/%1%2.png").arg(QLatin1String(name)).arg(face + 1), img});
        }
    }
    QImage rainbow(103, 116, QImage::Format_RGB32);
    rainbow.fill(Qt::white);
    for (int x = 10; x < 93; ++x)
        for (int y = 14; y < 102; ++y)
            rainbow.setPixel(x, y, QColor::fromHsv((x * 4) % 360, 255, 255).rgb());
    out.push_back({QStringLiteral("swatches/RAINBOW.png"), rainbow});

    // The chart: cells 28 pixels apart with a light and a dark edge, each cell its own color.
    QImage chart(833, 112, QImage::Format_RGB32);
    chart.fill(qRgb(212, 208, 200));
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 29; ++col) {
            const QRect cell(3 + col * 28, 3 + row * 28, 24, 24);
            const QColor c = QColor::fromHsv(col * 12, 255 - row * 50, 255 - row * 30);
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x) {
                    QColor px = c;
                    if (x == cell.left() || y == cell.top())
                        px = c.lighter(150);
                    else if (x == cell.right() || y == cell.bottom())
                        px = c.darker(150);
                    chart.setPixel(x, y, px.rgb());
                }
        }
    }
    out.push_back({QStringLiteral("swatches/chart.png"), chart});
    return out;
}
} // namespace

QImage resourceImage(const QString& path) {
    QImage img(path);
    return img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32);
}

QStringList provideStandInArt() {
    static const QStringList provided = [] {
        QStringList names;
        static QTemporaryDir dir;
        QByteArray qrc = "<RCC><qresource prefix=\"/\">\n";
        for (const Art& a : drawings()) {
            if (QFileInfo::exists(QStringLiteral(":/") + a.path))
                continue;
            const QString file = dir.filePath(a.path);
            QDir().mkpath(QFileInfo(file).path());
            if (!a.image.save(file, "PNG"))
                throw std::runtime_error("cannot write a stand-in picture");
            qrc += "<file>" + a.path.toUtf8() + "</file>\n";
            names << a.path;
        }
        if (names.isEmpty())
            return names;
        qrc += "</qresource></RCC>\n";
        QFile f(dir.filePath(QStringLiteral("standins.qrc")));
        if (!f.open(QIODevice::WriteOnly) || f.write(qrc) != qrc.size())
            throw std::runtime_error("cannot write the stand-in resource list");
        f.close();
        const QString rcc = dir.filePath(QStringLiteral("standins.rcc"));
        QProcess p;
        p.start(QStringLiteral(PICTARO_RCC),
                {QStringLiteral("--binary"), f.fileName(), QStringLiteral("-o"), rcc});
        if (!p.waitForFinished(30000) || p.exitCode() != 0 || !QResource::registerResource(rcc))
            throw std::runtime_error("cannot build the stand-in resources: " +
                                     p.readAllStandardError().toStdString());
        return names;
    }();
    return provided;
}
