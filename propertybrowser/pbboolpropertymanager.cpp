// Boolean properties: value and text visibility; shown with check-box icons
// that the application style paints, and the translated "True"/"False".
#include "propertybrowser/pbboolpropertymanager.h"

#include "propertybrowser/pbboolpropertymanager_p.h"
#include "propertybrowser/pbrangerules_p.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionButton>

using Data = PbBoolPropertyManagerPrivate::Data;

PbBoolPropertyManagerPrivate::PbBoolPropertyManagerPrivate(PbBoolPropertyManager *q)
    : q_ptr(q), m_checkedIcon(drawCheckBox(true)), m_uncheckedIcon(drawCheckBox(false))
{
}

QIcon PbBoolPropertyManagerPrivate::drawCheckBox(bool checked)
{
    QStyleOptionButton option;
    option.state |= checked ? QStyle::State_On : QStyle::State_Off;
    option.state |= QStyle::State_Enabled;
    const QStyle *style = QApplication::style();
    const int indicatorWidth = style->pixelMetric(QStyle::PM_IndicatorWidth, &option);
    const int indicatorHeight = style->pixelMetric(QStyle::PM_IndicatorHeight, &option);
    const int pixmapWidth = indicatorWidth;
    const int pixmapHeight = qMax(indicatorWidth, indicatorHeight);
    option.rect = QRect(0, 0, indicatorWidth, indicatorHeight);

    QPixmap pixmap(pixmapWidth, pixmapHeight);
    pixmap.fill(Qt::transparent);
    {
        const int xoff = qMax(0, (pixmapWidth - indicatorWidth) / 2);
        const int yoff = qMax(0, (pixmapHeight - indicatorHeight) / 2);
        QPainter painter(&pixmap);
        painter.translate(xoff, yoff);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
    }
    return QIcon(pixmap);
}

PbBoolPropertyManager::PbBoolPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbBoolPropertyManagerPrivate(this))
{
}

PbBoolPropertyManager::~PbBoolPropertyManager()
{
    clear();
    delete d_ptr;
}

bool PbBoolPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, false);
}

bool PbBoolPropertyManager::textVisible(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::textVisible, false);
}

QString PbBoolPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd() || !it->textVisible)
        return QString();
    // Fetched once per process and kept for the rest of the run.
    static const QString trueText = tr("True");
    static const QString falseText = tr("False");
    return it->value ? trueText : falseText;
}

QIcon PbBoolPropertyManager::valueIcon(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QIcon();
    return it->value ? d_ptr->m_checkedIcon : d_ptr->m_uncheckedIcon;
}

void PbBoolPropertyManager::setValue(PbProperty *property, bool val)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::value, val))
        return;
    Q_EMIT propertyChanged(property);
    Q_EMIT valueChanged(property, val);
}

void PbBoolPropertyManager::setTextVisible(PbProperty *property, bool textVisible)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::textVisible, textVisible))
        return;
    Q_EMIT propertyChanged(property);
    Q_EMIT textVisibleChanged(property, textVisible);
}

void PbBoolPropertyManager::initializeProperty(PbProperty *property) { d_ptr->m_values[property] = Data(); }

void PbBoolPropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
