#include "app/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ombrel::app {

namespace {

const QColor kDeepBlue(22, 64, 128);
const QColor kLightBlue(86, 148, 214);
const QColor kPaper(250, 250, 246);

QPixmap blank(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// An umbrella, the product's emblem, centred on (cx, top) with the given span.
void drawUmbrella(QPainter& painter, qreal cx, qreal top, qreal span) {
    const qreal r = span / 2;
    QPainterPath canopy;
    canopy.moveTo(cx - r, top + r);
    canopy.arcTo(QRectF(cx - r, top, span, span), 180, -180);
    // The scalloped rim: three shallow arcs back to the left.
    const qreal scallop = span / 3;
    for (int i = 0; i < 3; ++i) {
        const qreal right = cx + r - i * scallop;
        canopy.arcTo(QRectF(right - scallop, top + r - scallop / 4, scallop, scallop / 2), 0, 180);
    }
    canopy.closeSubpath();
    QLinearGradient fill(cx, top, cx, top + r);
    fill.setColorAt(0, kLightBlue);
    fill.setColorAt(1, kDeepBlue);
    painter.setPen(QPen(kDeepBlue.darker(130), 1.5));
    painter.setBrush(fill);
    painter.drawPath(canopy);

    QPen shaft(kDeepBlue.darker(140), span / 24, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(shaft);
    painter.setBrush(Qt::NoBrush);
    const qreal bottom = top + span * 0.95;
    painter.drawLine(QPointF(cx, top + r), QPointF(cx, bottom));
    painter.drawArc(QRectF(cx - span / 8, bottom - span / 16, span / 8, span / 8), 0, -180 * 16);
}

// A sheet coming out of a printer, under the umbrella.
void drawPage(QPainter& painter, const QRectF& sheet) {
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.setBrush(kPaper);
    painter.drawRect(sheet);
    painter.setPen(QPen(QColor(170, 170, 170), 1));
    for (qreal y = sheet.top() + sheet.height() / 5; y < sheet.bottom() - 4;
         y += sheet.height() / 5) {
        painter.drawLine(QPointF(sheet.left() + 4, y), QPointF(sheet.right() - 4, y));
    }
}

}  // namespace

QPixmap productLogo(int width) {
    const int height = width * 2 / 3;
    QPixmap pixmap = blank(width, height);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal span = height * 0.62;
    drawUmbrella(painter, width / 2.0, 4, span);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(height / 6);
    painter.setFont(font);
    painter.setPen(kDeepBlue);
    painter.drawText(QRectF(0, span + 6, width, height - span - 6), Qt::AlignCenter,
                     QStringLiteral("Ombrel Printing"));
    return pixmap;
}

QPixmap controllerPicture(int width) {
    const int height = width / 2;
    QPixmap pixmap = blank(width, height);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body(4, height * 0.2, width - 8, height * 0.6);
    QLinearGradient metal(body.topLeft(), body.bottomLeft());
    metal.setColorAt(0, QColor(210, 214, 220));
    metal.setColorAt(1, QColor(120, 126, 136));
    painter.setPen(QPen(QColor(70, 74, 80), 1.5));
    painter.setBrush(metal);
    painter.drawRoundedRect(body, 6, 6);
    // Front panel: a row of status lights and a label strip.
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(i == 0 ? QColor(60, 200, 90) : QColor(240, 170, 40));
        painter.drawEllipse(QPointF(body.left() + 16 + i * 14, body.center().y()), 4, 4);
    }
    painter.setBrush(QColor(40, 44, 52));
    painter.drawRect(QRectF(body.right() - body.width() * 0.45, body.top() + body.height() * 0.3,
                            body.width() * 0.38, body.height() * 0.4));
    return pixmap;
}

QPixmap waitPicture(int width) {
    const int height = width * 3 / 4;
    QPixmap pixmap = blank(width, height);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPage(painter, QRectF(width * 0.3, height * 0.45, width * 0.4, height * 0.5));
    drawUmbrella(painter, width / 2.0, 2, height * 0.6);
    return pixmap;
}

}  // namespace ombrel::app
