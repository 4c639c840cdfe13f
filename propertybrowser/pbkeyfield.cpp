// Read-only display field, clear menu and shortcut shielding of the
// key-capturing editors.
#include "propertybrowser/pbkeyfield_p.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>

void setUpKeyField(QWidget *widget, QLineEdit *field)
{
    auto *layout = new QHBoxLayout(widget);
    layout->addWidget(field);
    layout->setContentsMargins(0, 0, 0, 0);
    field->installEventFilter(widget);
    field->setReadOnly(true);
    field->setFocusProxy(widget);
    widget->setFocusPolicy(field->focusPolicy());
    widget->setAttribute(Qt::WA_InputMethodEnabled);
}

void runClearMenu(QLineEdit *field, QContextMenuEvent *event, const QString &clearText, bool canClear,
                  QObject *receiver, const char *clearSlot)
{
    QMenu *menu = field->createStandardContextMenu();
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        // The field is read-only for the user's typing: its menu must not
        // take the keys that the editor records.
        action->setShortcut(QKeySequence());
        QString text = action->text();
        const int tab = text.lastIndexOf(QLatin1Char('\t'));
        if (tab > 0) {
            text.truncate(tab);
            action->setText(text);
        }
    }
    auto *clear = new QAction(clearText, menu);
    if (actions.isEmpty()) {
        menu->addAction(clear);
    } else {
        menu->insertAction(actions.first(), clear);
        menu->insertSeparator(actions.first());
    }
    clear->setEnabled(canClear);
    QObject::connect(clear, SIGNAL(triggered()), receiver, clearSlot);
    menu->exec(event->globalPos());
    delete menu;
    event->accept();
}

bool swallowShortcutEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::KeyRelease:
        event->accept();
        return true;
    default:
        return false;
    }
}

void fieldFocusIn(QLineEdit *field, QFocusEvent *event)
{
    field->event(event);
    field->selectAll();
}
