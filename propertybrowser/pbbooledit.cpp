// Check-box editor of boolean properties.
#include "propertybrowser/pbbooledit.h"

#include "propertybrowser/pbeditorutils_p.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMouseEvent>

PbBoolEdit::PbBoolEdit(QWidget *parent)
    : QWidget(parent), m_checkBox(new QCheckBox(this))
{
    auto *lt = new QHBoxLayout;
    applyEditorMargins(lt);
    lt->addWidget(m_checkBox);
    setLayout(lt);
    connect(m_checkBox, SIGNAL(toggled(bool)), this, SIGNAL(toggled(bool)));
    setFocusProxy(m_checkBox);
    m_checkBox->setText(tr("True"));
}

void PbBoolEdit::setTextVisible(bool visible)
{
    if (m_textVisible == visible)
        return;
    m_textVisible = visible;
    if (visible)
        updateText();
    else
        m_checkBox->setText(QString());
}

bool PbBoolEdit::isChecked() const
{
    return m_checkBox->isChecked();
}

void PbBoolEdit::setChecked(bool checked)
{
    m_checkBox->setChecked(checked);
    if (m_textVisible)
        updateText();
}

Qt::CheckState PbBoolEdit::checkState() const
{
    return m_checkBox->checkState();
}

void PbBoolEdit::setCheckState(Qt::CheckState state)
{
    m_checkBox->setCheckState(state);
}

bool PbBoolEdit::setCheckBoxSignalsBlocked(bool block)
{
    return m_checkBox->blockSignals(block);
}

void PbBoolEdit::updateText()
{
    m_checkBox->setText(m_checkBox->isChecked() ? tr("True") : tr("False"));
}

void PbBoolEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton) {
        m_checkBox->click();
        event->accept();
    } else {
        QWidget::mousePressEvent(event);
    }
}

void PbBoolEdit::paintEvent(QPaintEvent *)
{
    paintStyledWidget(this);
}
