// The button beside a composite editor's field.
#include "propertybrowser/pbeditorbutton_p.h"

#include "propertybrowser/pbeditorutils_p.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {

// A button captioned `caption` whose events `editor` filters and whose click
// calls `clickSlot` on it, and an empty row layout on the editor.
QToolButton *newButton(QWidget *editor, const QString &caption, const char *clickSlot, QHBoxLayout **lt)
{
    auto *button = new QToolButton;
    button->setText(caption);
    button->installEventFilter(editor);
    QObject::connect(button, SIGNAL(clicked()), editor, clickSlot);
    *lt = new QHBoxLayout(editor);
    applyEditorMargins(*lt);
    (*lt)->setSpacing(0);
    return button;
}

} // namespace

QToolButton *PbEditorButton::addBesideField(QWidget *editor, QWidget *field, const QString &caption,
                                            const char *clickSlot)
{
    QHBoxLayout *lt = nullptr;
    QToolButton *button = newButton(editor, caption, clickSlot, &lt);
    // Focus given to the editor must land in the input field: with the button
    // as proxy, typed text would go nowhere (and nowhere at all while the
    // button is hidden).
    editor->setFocusProxy(field);
    editor->setFocusPolicy(field->focusPolicy());
    lt->addWidget(field);
    lt->addWidget(button);
    return button;
}

QToolButton *PbEditorButton::addBehindLabels(QWidget *editor, QLabel *pixmapLabel, QLabel *textLabel,
                                             const QString &caption, const char *clickSlot)
{
    QHBoxLayout *lt = nullptr;
    QToolButton *button = newButton(editor, caption, clickSlot, &lt);
    lt->addWidget(pixmapLabel);
    lt->addWidget(textLabel);
    lt->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Ignored));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    button->setFixedWidth(20);
    editor->setFocusProxy(button);
    editor->setFocusPolicy(button->focusPolicy());
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
