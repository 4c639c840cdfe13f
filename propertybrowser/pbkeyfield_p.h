// Steps shared by the two key-capturing editors (character, key sequence):
// a read-only line edit that only shows the value, a context menu whose first
// entry clears it, and the events that must not leave the editor as
// application shortcuts while it has the keyboard.
#ifndef PBKEYFIELD_P_H
#define PBKEYFIELD_P_H

class QContextMenuEvent;
class QEvent;
class QFocusEvent;
class QLineEdit;
class QObject;
class QString;
class QWidget;

/// Lays `field` out over all of `widget`, makes it read-only, lets `widget`
/// filter its events and take its focus.
void setUpKeyField(QWidget *widget, QLineEdit *field);

/// Runs the field's standard context menu with a leading clear entry named
/// `clearText` (enabled when `canClear`) whose triggered() goes to
/// `receiver`'s `clearSlot`; accepts the event.
void runClearMenu(QLineEdit *field, QContextMenuEvent *event, const QString &clearText, bool canClear,
                  QObject *receiver, const char *clearSlot);

/// True for shortcut, shortcut-override and key-release events, which the
/// editor accepts and keeps so that no application shortcut fires.
bool swallowShortcutEvent(QEvent *event);

/// Focus in: the field sees it and selects its text.
void fieldFocusIn(QLineEdit *field, QFocusEvent *event);

#endif
