// Size policies: the parent holds the policy, its four rows follow it, and an
// edit of a row changes that part of the parent. QSizePolicy itself keeps the
// stretches within 0..255, as do the stretch rows.
#include "propertybrowser/pbsizepolicypropertymanager.h"

#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbmetaenumprovider.h"
#include "propertybrowser/pbrangerules_p.h"
#include "propertybrowser/pbsizepolicypropertymanager_p.h"

using Data = PbSizePolicyPropertyManagerPrivate::Data;
using Row = PbSizePolicyPropertyManagerPrivate::Row;

namespace {
const int maxStretch = 255;

// The tables are gone only while the process exits; then no policy has an index.
int policyIndex(QSizePolicy::Policy policy)
{
    const PbMetaEnumProvider *provider = metaEnumProvider();
    return provider ? provider->sizePolicyIndex(policy) : -1;
}
} // namespace

PbSizePolicyPropertyManager::PbSizePolicyPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbSizePolicyPropertyManagerPrivate(this))
{
    d_ptr->m_intPropertyManager = PbCompositeRules::createRowManager<PbIntPropertyManager>(
        this, SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotIntChanged(PbProperty*,int)));
    d_ptr->m_enumPropertyManager = PbCompositeRules::createRowManager<PbEnumPropertyManager>(
        this, SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotEnumChanged(PbProperty*,int)));
}

PbSizePolicyPropertyManager::~PbSizePolicyPropertyManager()
{
    clear();
    delete d_ptr;
}

PbIntPropertyManager *PbSizePolicyPropertyManager::subIntPropertyManager() const
{
    return d_ptr->m_intPropertyManager;
}

PbEnumPropertyManager *PbSizePolicyPropertyManager::subEnumPropertyManager() const
{
    return d_ptr->m_enumPropertyManager;
}

QSizePolicy PbSizePolicyPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value);
}

QString PbSizePolicyPropertyManager::valueText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    const PbMetaEnumProvider *provider = metaEnumProvider();
    if (it == d_ptr->m_values.constEnd() || !provider)
        return QString();
    const QStringList names = provider->sizePolicyNames();
    const auto nameOf = [&](QSizePolicy::Policy policy) {
        const int index = provider->sizePolicyIndex(policy);
        return index < 0 ? tr("<Invalid>") : names.value(index);
    };
    const QSizePolicy &policy = it->value;
    return tr("[%1, %2, %3, %4]")
        .arg(nameOf(policy.horizontalPolicy()), nameOf(policy.verticalPolicy()),
             QString::number(policy.horizontalStretch()), QString::number(policy.verticalStretch()));
}

void PbSizePolicyPropertyManager::setValue(PbProperty *property, const QSizePolicy &val)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end() || it->value == val)
        return;
    it->value = val;
    {
        const PbCompositeRows::PushScope pushing(d_ptr->m_rows, property);
        const PbCompositeRows &rows = d_ptr->m_rows;
        PbEnumPropertyManager *enums = d_ptr->m_enumPropertyManager;
        PbIntPropertyManager *ints = d_ptr->m_intPropertyManager;
        enums->setValue(rows.row(property, Row::HorizontalPolicyRow), policyIndex(val.horizontalPolicy()));
        enums->setValue(rows.row(property, Row::VerticalPolicyRow), policyIndex(val.verticalPolicy()));
        ints->setValue(rows.row(property, Row::HorizontalStretchRow), val.horizontalStretch(), true);
        ints->setValue(rows.row(property, Row::VerticalStretchRow), val.verticalStretch(), true);
    }
    PbCompositeRules::announceRecord(this, d_ptr->m_values, property, &PbSizePolicyPropertyManager::valueChanged);
}

void PbSizePolicyPropertyManager::slotIntChanged(PbProperty *row, int value)
{
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    if (!parent)
        return;
    QSizePolicy policy = d_ptr->m_values.value(parent).value;
    const int position = d_ptr->m_rows.positionOf(row);
    if (position == Row::HorizontalStretchRow)
        policy.setHorizontalStretch(value);
    else if (position == Row::VerticalStretchRow)
        policy.setVerticalStretch(value);
    else
        return;
    setValue(parent, policy);
}

void PbSizePolicyPropertyManager::slotEnumChanged(PbProperty *row, int value)
{
    PbProperty *parent = d_ptr->m_rows.editedParent(row);
    const PbMetaEnumProvider *provider = metaEnumProvider();
    if (!parent || !provider)
        return;
    QSizePolicy policy = d_ptr->m_values.value(parent).value;
    const int position = d_ptr->m_rows.positionOf(row);
    if (position == Row::HorizontalPolicyRow)
        policy.setHorizontalPolicy(provider->sizePolicyAt(value));
    else if (position == Row::VerticalPolicyRow)
        policy.setVerticalPolicy(provider->sizePolicyAt(value));
    else
        return;
    setValue(parent, policy);
}

void PbSizePolicyPropertyManager::slotPropertyDestroyed(PbProperty *row) { d_ptr->m_rows.forgetRow(row); }

void PbSizePolicyPropertyManager::initializeProperty(PbProperty *property)
{
    const Data data;
    d_ptr->m_values[property] = data;
    const PbMetaEnumProvider *provider = metaEnumProvider();
    const QStringList policyNames = provider ? provider->sizePolicyNames() : QStringList();
    PbEnumPropertyManager *enums = d_ptr->m_enumPropertyManager;
    PbIntPropertyManager *ints = d_ptr->m_intPropertyManager;

    PbProperty *row = PbCompositeRows::createRow(enums, tr("Horizontal Policy"));
    enums->setEnumNames(row, policyNames);
    enums->setValue(row, policyIndex(data.value.horizontalPolicy()));
    d_ptr->m_rows.attach(property, row);

    row = PbCompositeRows::createRow(enums, tr("Vertical Policy"));
    enums->setEnumNames(row, policyNames);
    enums->setValue(row, policyIndex(data.value.verticalPolicy()));
    d_ptr->m_rows.attach(property, row);

    row = PbCompositeRows::createRow(ints, tr("Horizontal Stretch"));
    ints->setValue(row, data.value.horizontalStretch(), true);
    ints->setRange(row, 0, maxStretch);
    d_ptr->m_rows.attach(property, row);

    row = PbCompositeRows::createRow(ints, tr("Vertical Stretch"));
    ints->setValue(row, data.value.verticalStretch(), true);
    ints->setRange(row, 0, maxStretch);
    d_ptr->m_rows.attach(property, row);
}

void PbSizePolicyPropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->m_rows.deleteRows(property);
    d_ptr->m_values.remove(property);
}
