// Manager of key-sequence properties: a plain key sequence, shown with the
// platform's own key names.
#include "propertybrowser/pbkeysequencepropertymanager.h"

#include "propertybrowser/pbkeysequencepropertymanager_p.h"

PbKeySequencePropertyManager::PbKeySequencePropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbKeySequencePropertyManagerPrivate(this))
{
}

PbKeySequencePropertyManager::~PbKeySequencePropertyManager()
{
    clear();
    delete d_ptr;
}

QKeySequence PbKeySequencePropertyManager::value(const PbProperty *property) const
{
    return d_ptr->value(property);
}

QString PbKeySequencePropertyManager::valueText(const PbProperty *property) const
{
    return d_ptr->valueText(property, [](const QKeySequence &k) { return k.toString(QKeySequence::NativeText); });
}

void PbKeySequencePropertyManager::setValue(PbProperty *property, const QKeySequence &val)
{
    d_ptr->setValue(property, val);
}

void PbKeySequencePropertyManager::initializeProperty(PbProperty *property)
{
    d_ptr->initialize(property, QKeySequence());
}

void PbKeySequencePropertyManager::uninitializeProperty(PbProperty *property)
{
    d_ptr->uninitialize(property);
}
