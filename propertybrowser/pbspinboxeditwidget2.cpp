// Integer editor with a button; commits on Enter or Return only.
#include "propertybrowser/pbspinboxeditwidget2.h"

#include "propertybrowser/pbeditorbutton_p.h"
#include "propertybrowser/pbeditorutils_p.h"

#include <QKeyEvent>
#include <QSpinBox>
#include <QToolButton>

PbSpinBoxEditWidget2::PbSpinBoxEditWidget2(QWidget *parent)
    : QWidget(parent),
      m_spinBox(new QSpinBox),
      m_button(PbEditorButton::addBesideField(this, m_spinBox, tr("Рассчитать"), SLOT(buttonClicked())))
{
    m_spinBox->setKeyboardTracking(false);
}

void PbSpinBoxEditWidget2::setValue(int value)
{
    if (m_spinBox->value() != value)
        m_spinBox->setValue(value);
}

int PbSpinBoxEditWidget2::value() const
{
    return m_spinBox->value();
}

void PbSpinBoxEditWidget2::setSingleStep(int step)
{
    m_spinBox->setSingleStep(step);
}

int PbSpinBoxEditWidget2::singleStep() const
{
    return m_spinBox->singleStep();
}

void PbSpinBoxEditWidget2::setRange(int minimum, int maximum)
{
    m_spinBox->setRange(minimum, maximum);
}

void PbSpinBoxEditWidget2::setReadOnly(bool readOnly)
{
    m_spinBox->setReadOnly(readOnly);
}

bool PbSpinBoxEditWidget2::isReadOnly() const
{
    return m_spinBox->isReadOnly();
}

void PbSpinBoxEditWidget2::setKeyboardTracking(bool tracking)
{
    m_spinBox->setKeyboardTracking(tracking);
}

bool PbSpinBoxEditWidget2::keyboardTracking() const
{
    return m_spinBox->keyboardTracking();
}

void PbSpinBoxEditWidget2::setBtnVisible(bool visible)
{
    m_button->setVisible(visible);
}

void PbSpinBoxEditWidget2::setBtnCaption(const QString &caption)
{
    m_button->setText(caption);
}

bool PbSpinBoxEditWidget2::eventFilter(QObject *watched, QEvent *event)
{
    return PbEditorButton::stopsKey(m_button, watched, event) || QWidget::eventFilter(watched, event);
}

void PbSpinBoxEditWidget2::buttonClicked()
{
    emit scriptCalled();
}

void PbSpinBoxEditWidget2::slotValueChanged() {}

void PbSpinBoxEditWidget2::keyPressEvent(QKeyEvent *event)
{
    // Every key that reaches the editor itself stops here; only Enter and
    // Return mean something: they commit the field's value.
    event->accept();
    if (event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return)
        emit valueChanged(m_spinBox->value());
}

void PbSpinBoxEditWidget2::paintEvent(QPaintEvent *)
{
    paintStyledWidget(this);
}
