// Text properties: texts validated by a regular expression, echo mode, input
// mask, read-only flag and the editor button settings.
#include "propertybrowser/pbstringpropertymanager.h"

#include "propertybrowser/pbrangerules_p.h"
#include "propertybrowser/pbstringpropertymanager_p.h"

using Data = PbStringPropertyManagerPrivate::Data;

PbStringPropertyManager::PbStringPropertyManager(QObject *parent)
    : PbAbstractPropertyManager(parent), d_ptr(new PbStringPropertyManagerPrivate(this))
{
}

PbStringPropertyManager::~PbStringPropertyManager()
{
    clear();
    delete d_ptr;
}

QString PbStringPropertyManager::value(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::value, QString());
}

QRegExp PbStringPropertyManager::regExp(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::regExp, QRegExp());
}

QString PbStringPropertyManager::inputMask(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::inputMask, QString(""));
}

int PbStringPropertyManager::echoMode(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::echoMode, 0);
}

bool PbStringPropertyManager::isReadOnly(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::readOnly, false);
}

bool PbStringPropertyManager::btnVisibility(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::btnVisible, false);
}

QString PbStringPropertyManager::btnCaption(const PbProperty *property) const
{
    return PbRangeRules::propertyDataField(d_ptr->m_values, property, &Data::btnCaption, QString(""));
}

QString PbStringPropertyManager::valueText(const PbProperty *property) const
{
    return value(property);
}

QString PbStringPropertyManager::displayText(const PbProperty *property) const
{
    const auto it = d_ptr->m_values.constFind(property);
    if (it == d_ptr->m_values.constEnd())
        return QString();
    // The line edit knows the current style's mask character for each mode.
    QLineEdit edit;
    edit.setEchoMode(QLineEdit::EchoMode(it->echoMode));
    edit.setText(it->value);
    return edit.displayText();
}

void PbStringPropertyManager::setValue(PbProperty *property, const QString &val, bool checkChanging)
{
    const auto it = d_ptr->m_values.find(property);
    if (it == d_ptr->m_values.end())
        return;
    if (checkChanging && it->value == val)
        return;
    if (it->regExp.isValid() && !it->regExp.exactMatch(val))
        return;
    it->value = val;
    Q_EMIT propertyChanged(property);
    Q_EMIT valueChanged(property, val);
}

void PbStringPropertyManager::setRegExp(PbProperty *property, const QRegExp &regExp)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::regExp, regExp))
        return;
    Q_EMIT regExpChanged(property, regExp);
}

void PbStringPropertyManager::setInputMask(PbProperty *property, const QString &inputMask)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::inputMask, inputMask))
        return;
    Q_EMIT inputMaskChanged(property, inputMask);
}

void PbStringPropertyManager::setEchoMode(PbProperty *property, QLineEdit::EchoMode echoMode)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::echoMode, int(echoMode)))
        return;
    Q_EMIT propertyChanged(property);
    Q_EMIT echoModeChanged(property, echoMode);
}

void PbStringPropertyManager::setReadOnly(PbProperty *property, bool readOnly)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::readOnly, readOnly))
        return;
    Q_EMIT propertyChanged(property);
    Q_EMIT readOnlyChanged(property, readOnly);
}

void PbStringPropertyManager::setBtnVisibility(PbProperty *property, bool visible)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::btnVisible, visible))
        return;
    Q_EMIT propertyChanged(property);
}

void PbStringPropertyManager::setBtnCaption(PbProperty *property, const QString &caption)
{
    if (!PbRangeRules::storeField(d_ptr->m_values, property, &Data::btnCaption, caption))
        return;
    Q_EMIT propertyChanged(property);
}

void PbStringPropertyManager::initializeProperty(PbProperty *property)
{
    Data data;
    data.btnCaption = tr("Редактировать");
    d_ptr->m_values[property] = data;
}

void PbStringPropertyManager::uninitializeProperty(PbProperty *property) { d_ptr->m_values.remove(property); }
