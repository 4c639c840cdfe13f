// Swatches, font samples and their texts.
#include "propertybrowser/pbpropertybrowserutils.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

namespace {

const int swatchSize = 16;

QImage transparentSquare()
{
    QImage img(swatchSize, swatchSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(0);
    return img;
}

} // namespace

QPixmap PbPropertyBrowserUtils::brushSwatchPixmap(const QBrush &brush)
{
    QImage img = transparentSquare();
    QPainter painter(&img);
    // The brush replaces the pixels, its alpha included.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(0, 0, img.width(), img.height(), brush);
    QColor color = brush.color();
    if (color.alpha() != 255) {
        QBrush opaqueBrush = brush;
        color.setAlpha(255);
        opaqueBrush.setColor(color);
        painter.fillRect(img.width() / 4, img.height() / 4, img.width() / 2, img.height() / 2, opaqueBrush);
    }
    painter.end();
    return QPixmap::fromImage(img);
}

QIcon PbPropertyBrowserUtils::brushSwatchIcon(const QBrush &brush) { return QIcon(brushSwatchPixmap(brush)); }

QString PbPropertyBrowserUtils::colorText(const QColor &color)
{
    return QCoreApplication::translate("PbPropertyBrowserUtils", "[%1, %2, %3] (%4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

QPixmap PbPropertyBrowserUtils::fontSamplePixmap(const QFont &font)
{
    QFont sampleFont = font;
    sampleFont.setPointSize(13);
    QImage img = transparentSquare();
    QPainter painter(&img);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(sampleFont);
    painter.drawText(QRect(0, 0, swatchSize, swatchSize), Qt::AlignCenter, QStringLiteral("A"));
    painter.end();
    return QPixmap::fromImage(img);
}

QIcon PbPropertyBrowserUtils::fontSampleIcon(const QFont &font) { return QIcon(fontSamplePixmap(font)); }

QString PbPropertyBrowserUtils::fontText(const QFont &font)
{
    return QCoreApplication::translate("PbPropertyBrowserUtils", "[%1, %2]")
        .arg(font.family(), QString::number(font.pointSize()));
}
