// Colour properties: the parent holds the colour, its channel rows follow it,
// and an edit of a row changes that channel of the parent.
#include "propertybrowser/pbcolorpropertymanager.h"

#include "propertybrowser/pbcolorpropertymanager_p.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbpropertybrowserutils.h"

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
    const PbCompositeRows::PushScope pushing(m_rows, property);
    for (int r = RedRow; r <= AlphaRow; ++r)
        m_intPropertyManager->setValue(m_rows.row(property, r), channel(val, r), true);
}

PbColorPropertyManager::PbColorPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbColorPropertyManagerPrivate(this))
{
    d_ptr->m_intPropertyManager = PbCompositeRules::createRowManager<PbIntPropertyManager>(
        this, SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotIntChanged(PbProperty*,int)));
}

PbColorPropertyManager::~PbColorPropertyManager()
{
    clear();
    delete d_ptr;
}

PbIntPropertyManager *PbColorPropertyManager::subIntPropertyManager() const { return d_ptr->m_intPropertyManager; }

QColor PbColorPropertyManager::value(const PbProperty *property) const { return d_ptr->m_values.value(property); }

QString PbColorPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    return it == d_ptr->m_values.constEnd() ? QString() : PbPropertyBrowserUtils::colorText(it.value());
}

QIcon PbColorPropertyManager::valueIcon(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    return it == d_ptr->m_values.constEnd() ? QIcon()
                                            : PbPropertyBrowserUtils::brushSwatchIcon(QBrush(it.value()));
}

void PbColorPropertyManager::setValue(PbProperty *property, const QColor &val)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || it.value() == val)
        return;
    it.value() = val;
    d_ptr->pushValue(property, val);
    // A listener of the rows may have deleted the property meanwhile.
    const auto held = d_ptr->m_values.constFind(property);
    if (held != d_ptr->m_values.constEnd())
        PbCompositeRules::announceValue(this, property, held.value(), &PbColorPropertyManager::valueChanged);
}

void PbColorPropertyManager::slotIntChanged(PbProperty *row, int value)
{
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    if (!parent)
        return;
    QColor color = d_ptr->m_values.value(parent);
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
    const QColor color;
    d_ptr->m_values[property] = color;
    const QString names[] = {tr("Red"), tr("Green"), tr("Blue"), tr("Alpha")};
    for (int r = PbColorPropertyManagerPrivate::RedRow; r <= PbColorPropertyManagerPrivate::AlphaRow; ++r) {
        PbProperty *row = PbCompositeRows::createRow(d_ptr->m_intPropertyManager, names[r]);
        d_ptr->m_intPropertyManager->setValue(row, channel(color, r), true);
        d_ptr->m_intPropertyManager->setRange(row, 0, 255);
        d_ptr->m_rows.attach(property, row);
    }
}

void PbColorPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->m_rows.deleteRows(property);
    d_ptr->m_values.remove(property);
}
