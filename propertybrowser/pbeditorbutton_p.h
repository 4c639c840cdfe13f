// The tool button that the composite editors show beside their field (the
// integer and text editors with a button, the colour and font editors): how
// it is laid out and which keys it lets through to the editor and browser.
#ifndef PBEDITORBUTTON_P_H
#define PBEDITORBUTTON_P_H

class QEvent;
class QLabel;
class QObject;
class QToolButton;
class QWidget;
class QString;

namespace PbEditorButton {

/// Lays out `field` and a new button captioned `caption` side by side on
/// `editor` (editor margins, no spacing); the field takes the editor's focus,
/// the editor filters the button's events, and a click calls `clickSlot` (a
/// SLOT() signature) on the editor.
QToolButton *addBesideField(QWidget *editor, QWidget *field, const QString &caption, const char *clickSlot);

/// Lays out `pixmapLabel`, `textLabel`, a stretch and a new narrow button
/// captioned `caption` on `editor` (editor margins, no spacing); the button
/// takes the editor's focus, the editor filters the button's events, and a
/// click calls `clickSlot` (a SLOT() signature) on the editor.
QToolButton *addBehindLabels(QWidget *editor, QLabel *pixmapLabel, QLabel *textLabel, const QString &caption,
                             const char *clickSlot);

/// True for Escape, Enter and Return pressed or released on `button`: the
/// event is ignored, so that it travels up to the editor and the browser,
/// and the button never sees it.
bool stopsKey(const QToolButton *button, QObject *watched, QEvent *event);

} // namespace PbEditorButton

#endif
