// Integer editor with a button; commits on Enter or Return only.
#include "pbspinboxeditwidget2.h"

#include "pbeditorutils_p.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSpinBox>
#include <QToolButton>

PbSpinBoxEditWidget2::PbSpinBoxEditWidget2(QWidget *parent)
    : QWidget(parent), m_spinBox(new QSpinBox), m_button(new QToolButton)
{
    m_spinBox->setKeyboardTracking(false);
    auto *lt = new QHBoxLayout(this);
    applyEditorMargins(lt);
    lt->setSpacing(0);
    lt->addWidget(m_spinBox);
    // Focus given to the editor must land in the input field: with the button
    // as proxy, typed digits would go nowhere (and nowhere at all while the
    // button is hidden).
    setFocusProxy(m_spinBox);
    setFocusPolicy(m_spinBox->focusPolicy());
    m_button->setText(tr("Рассчитать"));
    m_button->installEventFilter(this);
    connect(m_button, SIGNAL(clicked()), this, SLOT(buttonClicked()));
    lt->addWidget(m_button);
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
    if (watched == m_button && isPassThroughKey(event)) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
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
