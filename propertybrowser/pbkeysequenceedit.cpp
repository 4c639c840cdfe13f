// Key-sequence editor: records key presses with their modifiers.
#include "propertybrowser/pbkeysequenceedit.h"

#include "propertybrowser/pbeditorutils_p.h"
#include "propertybrowser/pbkeyfield_p.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>

PbKeySequenceEdit::PbKeySequenceEdit(QWidget *parent) : QWidget(parent), m_lineEdit(new QLineEdit(this))
{
    setUpKeyField(this, m_lineEdit);
}

QKeySequence PbKeySequenceEdit::keySequence() const
{
    return m_keySequence;
}

void PbKeySequenceEdit::setKeySequence(const QKeySequence &sequence)
{
    if (sequence == m_keySequence)
        return;
    m_num = 0;
    m_keySequence = sequence;
    m_lineEdit->setText(m_keySequence.toString(QKeySequence::PortableText));
}

void PbKeySequenceEdit::slotClearShortcut()
{
    if (m_keySequence.isEmpty())
        return;
    setKeySequence(QKeySequence());
    Q_EMIT keySequenceChanged(m_keySequence);
}

bool PbKeySequenceEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lineEdit && event->type() == QEvent::ContextMenu) {
        runClearMenu(m_lineEdit, static_cast<QContextMenuEvent *>(event), tr("Clear Shortcut"),
                     !m_keySequence.isEmpty(), this, SLOT(slotClearShortcut()));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

int PbKeySequenceEdit::translateModifiers(Qt::KeyboardModifiers state, const QString &text) const
{
    int result = 0;
    // Shift is part of the key only where it did not already pick the
    // character: a letter, a blank or a key without printable text.
    if ((state & Qt::ShiftModifier)
        && (text.isEmpty() || !text.at(0).isPrint() || text.at(0).isLetter() || text.at(0).isSpace()))
        result |= Qt::SHIFT;
    if (state & Qt::ControlModifier)
        result |= Qt::CTRL;
    if (state & Qt::MetaModifier)
        result |= Qt::META;
    if (state & Qt::AltModifier)
        result |= Qt::ALT;
    return result;
}

void PbKeySequenceEdit::handleKeyEvent(QKeyEvent *event)
{
    int key = event->key();
    switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_Super_L:
    case Qt::Key_AltGr:
        return;
    default:
        break;
    }
    key |= translateModifiers(event->modifiers(), event->text());
    int keys[4] = {0, 0, 0, 0};
    for (int i = 0; i < m_keySequence.count() && i < 4; ++i)
        keys[i] = m_keySequence[uint(i)];
    keys[m_num] = key;
    for (int i = m_num + 1; i < 4; ++i)
        keys[i] = 0;
    m_num = (m_num + 1) % 4;
    m_keySequence = QKeySequence(keys[0], keys[1], keys[2], keys[3]);
    m_lineEdit->setText(m_keySequence.toString(QKeySequence::PortableText));
    event->accept();
    Q_EMIT keySequenceChanged(m_keySequence);
}

void PbKeySequenceEdit::keyPressEvent(QKeyEvent *event)
{
    handleKeyEvent(event);
    event->accept();
}

void PbKeySequenceEdit::keyReleaseEvent(QKeyEvent *event)
{
    m_lineEdit->event(event);
}

void PbKeySequenceEdit::focusInEvent(QFocusEvent *event)
{
    fieldFocusIn(m_lineEdit, event);
    QWidget::focusInEvent(event);
}

void PbKeySequenceEdit::focusOutEvent(QFocusEvent *event)
{
    m_num = 0;
    m_lineEdit->event(event);
    QWidget::focusOutEvent(event);
}

bool PbKeySequenceEdit::event(QEvent *event)
{
    return swallowShortcutEvent(event) || QWidget::event(event);
}

void PbKeySequenceEdit::paintEvent(QPaintEvent *)
{
    paintStyledWidget(this);
}
