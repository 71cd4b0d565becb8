#include "glyphs.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace glyphs {

namespace {

constexpr int Size = 16;

// The disabled twin: every pixel turned to a light grey of its brightness,
// its transparency kept.
QImage Greyed(const QImage& image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level = 128 + qGray(line[x]) / 3;
            line[x] = qRgba(level, level, level, qAlpha(line[x]));
        }
    }
    return grey;
}

QIcon Make(const std::function<void(QPainter&)>& draw)
{
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
    }
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(Greyed(image)), QIcon::Disabled);
    return icon;
}

void Dot(QPainter& p, QPointF centre, qreal radius)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0.0, QColor(255, 255, 200));
    glow.setColorAt(0.5, QColor(255, 160, 0));
    glow.setColorAt(1.0, QColor(200, 40, 0));
    p.setPen(QPen(QColor(120, 30, 0), 1));
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QLineF line(to, from);
    QLineF left = line;
    left.setLength(4.5);
    left.setAngle(line.angle() + 30);
    QLineF right = line;
    right.setLength(4.5);
    right.setAngle(line.angle() - 30);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({to, left.p2(), right.p2()}));
}

void Cone(QPainter& p)
{
    QPainterPath body;
    body.moveTo(8, 1.5);
    body.lineTo(13.5, 12);
    body.arcTo(QRectF(2.5, 10, 11, 4), 0, -180);
    body.closeSubpath();
    QLinearGradient shade(2, 0, 14, 0);
    shade.setColorAt(0, QColor(90, 150, 255));
    shade.setColorAt(1, QColor(20, 50, 150));
    p.setPen(QPen(QColor(10, 30, 90), 1));
    p.setBrush(shade);
    p.drawPath(body);
}

void Check(QPainter& p, QPointF at, const QColor& colour)
{
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({at + QPointF(0, 4), at + QPointF(3.5, 7.5), at + QPointF(10, 0)}));
}

}  // namespace

QIcon NextGlow()
{
    return Make([](QPainter& p) {
        Dot(p, {8, 12}, 3);
        Arrow(p, {8, 8.5}, {8, 1}, QColor(0, 90, 0));
    });
}

QIcon SelectedGlow()
{
    return Make([](QPainter& p) { Dot(p, {8, 8}, 5.5); });
}

QIcon AllGlows()
{
    return Make([](QPainter& p) {
        Dot(p, {4.5, 4.5}, 3.2);
        Dot(p, {11.5, 4.5}, 3.2);
        Dot(p, {4.5, 11.5}, 3.2);
        Dot(p, {11.5, 11.5}, 3.2);
    });
}

QIcon CopyColor()
{
    return Make([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(255, 200, 0));
        p.drawRect(QRectF(1.5, 1.5, 6, 6));
        p.setBrush(QColor(230, 40, 0));
        p.drawRect(QRectF(4.5, 4.5, 6, 6));
        Arrow(p, {9, 13}, {15, 13}, QColor(0, 90, 0));
        Arrow(p, {13, 9}, {13, 2.5}, QColor(0, 90, 0));
    });
}

QIcon CopyVector()
{
    return Make([](QPainter& p) {
        Arrow(p, {1.5, 14.5}, {9, 7}, QColor(0, 0, 170));
        Arrow(p, {5, 14.5}, {12.5, 7}, QColor(0, 0, 170));
        Arrow(p, {8.5, 14.5}, {15, 8}, QColor(0, 0, 170));
        p.setPen(QPen(QColor(0, 90, 0), 1.4));
        p.drawLine(QPointF(2, 2.5), QPointF(7, 2.5));
        p.drawLine(QPointF(4.5, 0), QPointF(4.5, 5));
    });
}

QIcon Cones()
{
    return Make([](QPainter& p) { Cone(p); });
}

QIcon NoCones()
{
    return Make([](QPainter& p) {
        p.setOpacity(0.45);
        Cone(p);
        p.setOpacity(1);
        p.setPen(QPen(QColor(210, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2, 14), QPointF(14, 2));
    });
}

QIcon Confirm()
{
    return Make([](QPainter& p) { Check(p, {3, 4}, QColor(0, 140, 0)); });
}

QIcon Hide()
{
    return Make([](QPainter& p) {
        p.setPen(QPen(QColor(180, 0, 0), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    });
}

QIcon Retry()
{
    return Make([](QPainter& p) {
        p.setPen(QPen(QColor(0, 90, 170), 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 90, 170));
        p.drawPolygon(QPolygonF({QPointF(7, 0.5), QPointF(11.5, 3), QPointF(7, 5.5)}));
    });
}

QIcon AcceptAll()
{
    return Make([](QPainter& p) {
        Check(p, {1, 5}, QColor(0, 140, 0));
        Check(p, {5, 1}, QColor(0, 100, 0));
    });
}

}  // namespace glyphs
