// The modal colour and font dialogs of the colour and font editors, behind a
// seam: a test installs a stand-in that answers at once instead of a dialog.
#ifndef PBEDITORDIALOGS_P_H
#define PBEDITORDIALOGS_P_H

#include <QFont>
#include <QRgb>
#include <QString>

#include <functional>

class QWidget;

namespace PbEditorDialogs {

/// Answers the colour dialog: the chosen RGBA value; `*ok` false when cancelled.
using ColorChooser = std::function<QRgb(QRgb initial, bool *ok, QWidget *parent)>;
/// Answers the font dialog: the chosen font; `*ok` false when cancelled.
using FontChooser = std::function<QFont(bool *ok, const QFont &initial, QWidget *parent, const QString &title)>;

/// Replaces the colour dialog; an empty chooser brings the real one back.
void setColorChooser(ColorChooser chooser);
/// Replaces the font dialog; an empty chooser brings the real one back.
void setFontChooser(FontChooser chooser);

/// Runs the colour dialog (with alpha) or its stand-in.
QRgb getRgba(QRgb initial, bool *ok, QWidget *parent);
/// Runs the font dialog or its stand-in.
QFont getFont(bool *ok, const QFont &initial, QWidget *parent, const QString &title);

} // namespace PbEditorDialogs

#endif
