// The button beside a composite editor's field.
#include "pbeditorbutton_p.h"

#include "pbeditorutils_p.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QToolButton>

QToolButton *PbEditorButton::addBesideField(QWidget *editor, QWidget *field, const QString &caption,
                                            const char *clickSlot)
{
    auto *button = new QToolButton;
    auto *lt = new QHBoxLayout(editor);
    applyEditorMargins(lt);
    lt->setSpacing(0);
    // Focus given to the editor must land in the input field: with the button
    // as proxy, typed text would go nowhere (and nowhere at all while the
    // button is hidden).
    editor->setFocusProxy(field);
    editor->setFocusPolicy(field->focusPolicy());
    button->setText(caption);
    button->installEventFilter(editor);
    QObject::connect(button, SIGNAL(clicked()), editor, clickSlot);
    lt->addWidget(field);
    lt->addWidget(button);
    return button;
}

bool PbEditorButton::stopsKey(const QToolButton *button, QObject *watched, QEvent *event)
{
    if (watched != button || !isPassThroughKey(event))
        return false;
    event->ignore();
    return true;
}
