// Small helpers shared by the composite in-place editors (check box, input
// field plus button, colour and font editors): margins, styled background and
// the keys that a button beside an input field must let through.
#ifndef PBEDITORUTILS_P_H
#define PBEDITORUTILS_P_H

class QEvent;
class QLayout;
class QWidget;

/// Sets the layout's contents margins to (4, 0, 0, 0) for left-to-right
/// applications and to (0, 0, 4, 0) otherwise.
void applyEditorMargins(QLayout *layout);

/// Paints the style's PE_Widget primitive over the widget, so style sheets apply.
void paintStyledWidget(QWidget *widget);

/// True for a key press or release of Escape, Enter or Return: such keys must
/// travel past an editor's button to the editor and the browser.
bool isPassThroughKey(const QEvent *event);

#endif
