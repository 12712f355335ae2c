// One-off generator of the application icon: a small analog gauge above a digital readout, the two faces of the
// display unit the tool serves. Run it from the source tree to redraw res/icons/velmora-{32,16}.png.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <numbers>

static QImage DrawIcon(int nSize)
{
    QImage image(nSize, nSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double d = nSize / 32.0; // everything is laid out on a 32-pixel grid

    // Instrument body.
    painter.setPen(QPen(QColor(0x14, 0x1e, 0x28), d));
    painter.setBrush(QColor(0x2b, 0x3d, 0x52));
    painter.drawRoundedRect(QRectF(0.5 * d, 0.5 * d, 31 * d, 31 * d), 5 * d, 5 * d);

    // Gauge face: the upper half of a dial.
    const QPointF centre(16 * d, 19 * d);
    const double dRadius = 12.5 * d;
    QPainterPath face;
    face.moveTo(centre);
    face.arcTo(QRectF(centre.x() - dRadius, centre.y() - dRadius, 2 * dRadius, 2 * dRadius), 0, 180);
    face.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xee, 0xf2, 0xe6));
    painter.drawPath(face);

    // Scale ticks, the last one red as the end of the range.
    if (nSize >= 24) {
        for (int i = 0; i <= 4; ++i) {
            const double dAngle = std::numbers::pi * (1.0 - i / 4.0);
            const QPointF outer(centre.x() + std::cos(dAngle) * (dRadius - 1.2 * d),
                                centre.y() - std::sin(dAngle) * (dRadius - 1.2 * d));
            const QPointF inner(centre.x() + std::cos(dAngle) * (dRadius - 4.2 * d),
                                centre.y() - std::sin(dAngle) * (dRadius - 4.2 * d));
            painter.setPen(QPen(i == 4 ? QColor(0xc8, 0x2a, 0x22) : QColor(0x2b, 0x3d, 0x52), 1.6 * d,
                                Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(inner, outer);
        }
    }

    // Needle at two thirds of the scale.
    const double dNeedle = std::numbers::pi * 0.36;
    painter.setPen(QPen(QColor(0xd8, 0x30, 0x26), 2.2 * d, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, QPointF(centre.x() + std::cos(dNeedle) * (dRadius - 2.5 * d),
                                     centre.y() - std::sin(dNeedle) * (dRadius - 2.5 * d)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x14, 0x1e, 0x28));
    painter.drawEllipse(centre, 2.2 * d, 2.2 * d);

    // Digital readout under the dial.
    painter.setBrush(QColor(0x0d, 0x14, 0x0f));
    painter.drawRoundedRect(QRectF(6 * d, 22.5 * d, 20 * d, 6.5 * d), 1.5 * d, 1.5 * d);
    painter.setBrush(QColor(0x4c, 0xe0, 0x6e));
    const int nDigits = nSize >= 24 ? 4 : 3;
    const double dCell = 17.0 * d / nDigits;
    for (int i = 0; i < nDigits; ++i)
        painter.drawRect(QRectF(7.5 * d + i * dCell + 0.6 * d, 24.3 * d, dCell - 1.8 * d, 3 * d));
    return image;
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const char* pszFolder = argc > 1 ? argv[1] : "res/icons";
    for (int nSize : {32, 16}) {
        const QString strPath = QStringLiteral("%1/velmora-%2.png").arg(QString::fromLocal8Bit(pszFolder)).arg(nSize);
        if (!DrawIcon(nSize).save(strPath, "PNG")) {
            std::fprintf(stderr, "velmora-draw-icon: cannot write %s\n", qPrintable(strPath));
            return 1;
        }
    }
    return 0;
}
