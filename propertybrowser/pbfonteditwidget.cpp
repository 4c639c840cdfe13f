// Font editor: sample letter, text and the dialog button.
#include "propertybrowser/pbfonteditwidget.h"

#include "propertybrowser/pbeditorbutton_p.h"
#include "propertybrowser/pbeditordialogs_p.h"
#include "propertybrowser/pbeditorutils_p.h"
#include "propertybrowser/pbpropertybrowserutils.h"

#include <QLabel>
#include <QToolButton>

PbFontEditWidget::PbFontEditWidget(QWidget *parent)
    : QWidget(parent),
      m_pixmapLabel(new QLabel),
      m_label(new QLabel),
      m_button(PbEditorButton::addBehindLabels(this, m_pixmapLabel, m_label, tr("..."), SLOT(buttonClicked())))
{
    m_pixmapLabel->setPixmap(PbPropertyBrowserUtils::fontSamplePixmap(m_font));
    m_label->setText(PbPropertyBrowserUtils::fontText(m_font));
}

void PbFontEditWidget::setValue(const QFont &value)
{
    if (m_font == value)
        return;
    m_font = value;
    m_pixmapLabel->setPixmap(PbPropertyBrowserUtils::fontSamplePixmap(value));
    m_label->setText(PbPropertyBrowserUtils::fontText(value));
}

void PbFontEditWidget::buttonClicked()
{
    bool ok = false;
    const QFont chosen = PbEditorDialogs::getFont(&ok, m_font, this, tr("Select Font"));
    if (!ok || chosen == m_font)
        return;
    // Only the attributes the dialog shows are taken over; the others keep
    // what the stored font has.
    QFont font = m_font;
    if (chosen.family() != font.family())
        font.setFamily(chosen.family());
    if (chosen.pointSize() > 0 && chosen.pointSize() != font.pointSize())
        font.setPointSize(chosen.pointSize());
    if (chosen.bold() != font.bold())
        font.setBold(chosen.bold());
    if (chosen.italic() != font.italic())
        font.setItalic(chosen.italic());
    if (chosen.underline() != font.underline())
        font.setUnderline(chosen.underline());
    if (chosen.strikeOut() != font.strikeOut())
        font.setStrikeOut(chosen.strikeOut());
    setValue(font);
    Q_EMIT valueChanged(m_font);
}

bool PbFontEditWidget::eventFilter(QObject *watched, QEvent *event)
{
    return PbEditorButton::stopsKey(m_button, watched, event) || QWidget::eventFilter(watched, event);
}

void PbFontEditWidget::paintEvent(QPaintEvent *) { paintStyledWidget(this); }
