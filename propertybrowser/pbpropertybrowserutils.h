// Small pictures and texts that show brush, colour and font values in the
// browsers and editors: 16 by 16 swatches and samples, and their captions.
#ifndef PBPROPERTYBROWSERUTILS_H
#define PBPROPERTYBROWSERUTILS_H

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

class PbPropertyBrowserUtils
{
public:
    /// The brush over the whole square; a translucent brush also shows its
    /// opaque form in the central 8 by 8 square.
    static QPixmap brushSwatchPixmap(const QBrush &brush);
    static QIcon brushSwatchIcon(const QBrush &brush);
    /// "[red, green, blue] (alpha)".
    static QString colorText(const QColor &color);
    /// The letter "A" in the font at 13 points, centred.
    static QPixmap fontSamplePixmap(const QFont &font);
    static QIcon fontSampleIcon(const QFont &font);
    /// "[family, point size]".
    static QString fontText(const QFont &font);

private:
    PbPropertyBrowserUtils() = delete;
};

#endif
