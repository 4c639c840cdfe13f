// Colour properties: the parent holds the colour, its channel rows follow it,
// and an edit of a row changes that channel of the parent.
#include "propertybrowser/pbcolorpropertymanager.h"

#include "propertybrowser/pbcolorpropertymanager_p.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbpropertybrowserutils.h"
#include "propertybrowser/pbrangerules_p.h"

using Data = PbColorPropertyManagerPrivate::Data;

namespace {

int channel(const QColor &color, int row)
{
    switch (row) {
    case PbColorPropertyManagerPrivate::RedRow:
        return color.red();
    case PbColorPropertyManagerPrivate::GreenRow:
        return color.green();
    case PbColorPropertyManagerPrivate::BlueRow:
        return color.blue();
    default:
        return color.alpha();
    }
}

} // namespace

void PbColorPropertyManagerPrivate::pushValue(PbProperty *property, const QColor &val)
{
    // The rows show the channels; the record keeps the colour as it was
    // given (an HSV colour stays HSV, an invalid one stays invalid).
    PbCompositeRules::pushRowValues(m_rows, m_subManager, property,
                                    {val.red(), val.green(), val.blue(), val.alpha()});
}

PbColorPropertyManager::PbColorPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbColorPropertyManagerPrivate(this))
{
    d_ptr->createSubManager(SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotIntChanged(PbProperty*,int)));
}

PbColorPropertyManager::~PbColorPropertyManager()
{
    clear();
    delete d_ptr;
}

PbIntPropertyManager *PbColorPropertyManager::subIntPropertyManager() const { return d_ptr->m_subManager; }

QColor PbColorPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value);
}

QString PbColorPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    return it == d_ptr->m_values.constEnd() ? QString() : PbPropertyBrowserUtils::colorText(it->value);
}

QIcon PbColorPropertyManager::valueIcon(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    return it == d_ptr->m_values.constEnd() ? QIcon()
                                            : PbPropertyBrowserUtils::brushSwatchIcon(QBrush(it->value));
}

void PbColorPropertyManager::setValue(PbProperty *property, const QColor &val)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || it->value == val)
        return;
    it->value = val;
    d_ptr->pushValue(property, val);
    PbCompositeRules::announceRecord(this, d_ptr->m_values, property, &PbColorPropertyManager::valueChanged);
}

void PbColorPropertyManager::slotIntChanged(PbProperty *row, int value)
{
    Data data;
    PbProperty *parent = d_ptr->editedParent(row, &data);
    if (!parent)
        return;
    QColor color = data.value;
    switch (d_ptr->m_rows.positionOf(row)) {
    case PbColorPropertyManagerPrivate::RedRow:
        color.setRed(value);
        break;
    case PbColorPropertyManagerPrivate::GreenRow:
        color.setGreen(value);
        break;
    case PbColorPropertyManagerPrivate::BlueRow:
        color.setBlue(value);
        break;
    case PbColorPropertyManagerPrivate::AlphaRow:
        color.setAlpha(value);
        break;
    default:
        return;
    }
    setValue(parent, color);
}

void PbColorPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbColorPropertyManager::initializeProperty(PbProperty *property)
{
    const Data data;
    PbIntPropertyManager *sub = d_ptr->m_subManager;
    int r = PbColorPropertyManagerPrivate::RedRow;
    d_ptr->initialize(property, data, {tr("Red"), tr("Green"), tr("Blue"), tr("Alpha")}, [&](PbProperty *row) {
        sub->setValue(row, channel(data.value, r++), true);
        sub->setRange(row, 0, 255);
    });
}

void PbColorPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
