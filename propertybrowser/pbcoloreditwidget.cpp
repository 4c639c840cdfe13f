// Colour editor: swatch, text and the dialog button.
#include "propertybrowser/pbcoloreditwidget.h"

#include "propertybrowser/pbeditorbutton_p.h"
#include "propertybrowser/pbeditordialogs_p.h"
#include "propertybrowser/pbeditorutils_p.h"
#include "propertybrowser/pbpropertybrowserutils.h"

#include <QLabel>
#include <QToolButton>

PbColorEditWidget::PbColorEditWidget(QWidget *parent)
    : QWidget(parent),
      m_pixmapLabel(new QLabel),
      m_label(new QLabel),
      m_button(PbEditorButton::addBehindLabels(this, m_pixmapLabel, m_label, tr("..."), SLOT(buttonClicked())))
{
    m_pixmapLabel->setPixmap(PbPropertyBrowserUtils::brushSwatchPixmap(QBrush(m_color)));
    m_label->setText(PbPropertyBrowserUtils::colorText(m_color));
}

void PbColorEditWidget::setValue(const QColor &value)
{
    if (m_color == value)
        return;
    m_color = value;
    m_pixmapLabel->setPixmap(PbPropertyBrowserUtils::brushSwatchPixmap(QBrush(value)));
    m_label->setText(PbPropertyBrowserUtils::colorText(value));
}

void PbColorEditWidget::buttonClicked()
{
    bool ok = false;
    const QRgb oldRgba = m_color.rgba();
    const QRgb newRgba = PbEditorDialogs::getRgba(oldRgba, &ok, this);
    if (!ok || newRgba == oldRgba)
        return;
    setValue(QColor::fromRgba(newRgba));
    Q_EMIT valueChanged(m_color);
}

bool PbColorEditWidget::eventFilter(QObject *watched, QEvent *event)
{
    return PbEditorButton::stopsKey(m_button, watched, event) || QWidget::eventFilter(watched, event);
}

void PbColorEditWidget::paintEvent(QPaintEvent *) { paintStyledWidget(this); }
