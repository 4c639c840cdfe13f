// Text editor with a button; commits on Enter or Return only.
#include "propertybrowser/pblineeditwidget2.h"

#include "propertybrowser/pbeditorbutton_p.h"
#include "propertybrowser/pbeditorutils_p.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

PbLineEditWidget2::PbLineEditWidget2(QWidget *parent)
    : QWidget(parent),
      m_lineEdit(new QLineEdit),
      m_button(PbEditorButton::addBesideField(this, m_lineEdit, tr("Редактировать"), SLOT(slotBtnClicked())))
{
}

void PbLineEditWidget2::setValue(const QString &value)
{
    if (m_lineEdit->text() != value)
        m_lineEdit->setText(value);
}

QString PbLineEditWidget2::text() const
{
    return m_lineEdit->text();
}

void PbLineEditWidget2::setReadOnly(bool readOnly)
{
    m_lineEdit->setReadOnly(readOnly);
}

bool PbLineEditWidget2::isReadOnly() const
{
    return m_lineEdit->isReadOnly();
}

void PbLineEditWidget2::setValidator(const QValidator *validator)
{
    m_lineEdit->setValidator(validator);
}

const QValidator *PbLineEditWidget2::validator() const
{
    return m_lineEdit->validator();
}

void PbLineEditWidget2::setInputMask(const QString &mask)
{
    m_lineEdit->setInputMask(mask);
}

QString PbLineEditWidget2::inputMask() const
{
    return m_lineEdit->inputMask();
}

void PbLineEditWidget2::setEchoMode(int mode)
{
    m_lineEdit->setEchoMode(static_cast<QLineEdit::EchoMode>(mode));
}

int PbLineEditWidget2::echoMode() const
{
    return m_lineEdit->echoMode();
}

void PbLineEditWidget2::setBtnVisible(bool visible)
{
    m_button->setVisible(visible);
}

void PbLineEditWidget2::setBtnCaption(const QString &caption)
{
    m_button->setText(caption);
}

bool PbLineEditWidget2::eventFilter(QObject *watched, QEvent *event)
{
    return PbEditorButton::stopsKey(m_button, watched, event) || QWidget::eventFilter(watched, event);
}

void PbLineEditWidget2::slotBtnClicked()
{
    emit btnClicked();
}

void PbLineEditWidget2::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    if (event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return)
        emit valueChanged();
}

void PbLineEditWidget2::paintEvent(QPaintEvent *)
{
    paintStyledWidget(this);
}
