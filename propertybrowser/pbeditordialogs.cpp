// The colour and font dialogs, or the stand-ins a test installed.
#include "propertybrowser/pbeditordialogs_p.h"

#include <QColorDialog>
#include <QFontDialog>

namespace {

PbEditorDialogs::ColorChooser &colorChooser()
{
    static PbEditorDialogs::ColorChooser chooser;
    return chooser;
}

PbEditorDialogs::FontChooser &fontChooser()
{
    static PbEditorDialogs::FontChooser chooser;
    return chooser;
}

} // namespace

void PbEditorDialogs::setColorChooser(ColorChooser chooser) { colorChooser() = std::move(chooser); }

void PbEditorDialogs::setFontChooser(FontChooser chooser) { fontChooser() = std::move(chooser); }

QRgb PbEditorDialogs::getRgba(QRgb initial, bool *ok, QWidget *parent)
{
    if (colorChooser())
        return colorChooser()(initial, ok, parent);
    const QColor chosen = QColorDialog::getColor(QColor::fromRgba(initial), parent, QString(),
                                                 QColorDialog::ShowAlphaChannel);
    *ok = chosen.isValid();
    return chosen.isValid() ? chosen.rgba() : initial;
}

QFont PbEditorDialogs::getFont(bool *ok, const QFont &initial, QWidget *parent, const QString &title)
{
    if (fontChooser())
        return fontChooser()(ok, initial, parent, title);
    return QFontDialog::getFont(ok, initial, parent, title);
}
