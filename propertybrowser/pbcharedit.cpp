// Character editor: captures one printable key.
#include "propertybrowser/pbcharedit.h"

#include "propertybrowser/pbeditorutils_p.h"
#include "propertybrowser/pbkeyfield_p.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>

PbCharEdit::PbCharEdit(QWidget *parent) : QWidget(parent), m_lineEdit(new QLineEdit(this))
{
    setUpKeyField(this, m_lineEdit);
}

QChar PbCharEdit::value() const
{
    return m_value;
}

void PbCharEdit::setValue(const QChar &value)
{
    if (value == m_value)
        return;
    m_value = value;
    m_lineEdit->setText(value.isNull() ? QString() : QString(value));
}

void PbCharEdit::slotClearChar()
{
    if (m_value.isNull())
        return;
    setValue(QChar());
    Q_EMIT valueChanged(m_value);
}

bool PbCharEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lineEdit && event->type() == QEvent::ContextMenu) {
        runClearMenu(m_lineEdit, static_cast<QContextMenuEvent *>(event), tr("Clear Char"), !m_value.isNull(), this,
                     SLOT(slotClearChar()));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PbCharEdit::handleKeyEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_Super_L:
    case Qt::Key_Return:
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() != 1)
        return;
    const QChar c = text.at(0);
    if (!c.isPrint() || c == m_value)
        return;
    setValue(c);
    event->accept();
    Q_EMIT valueChanged(m_value);
}

void PbCharEdit::keyPressEvent(QKeyEvent *event)
{
    handleKeyEvent(event);
    event->accept();
}

void PbCharEdit::keyReleaseEvent(QKeyEvent *event)
{
    m_lineEdit->event(event);
}

void PbCharEdit::focusInEvent(QFocusEvent *event)
{
    fieldFocusIn(m_lineEdit, event);
    QWidget::focusInEvent(event);
}

void PbCharEdit::focusOutEvent(QFocusEvent *event)
{
    m_lineEdit->event(event);
    QWidget::focusOutEvent(event);
}

bool PbCharEdit::event(QEvent *event)
{
    return swallowShortcutEvent(event) || QWidget::event(event);
}

void PbCharEdit::paintEvent(QPaintEvent *)
{
    paintStyledWidget(this);
}
