// Manager of group rows: properties that only hold children and show no value.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

class PbGroupPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbGroupPropertyManager(QObject *parent = nullptr);
    ~PbGroupPropertyManager() override;

    /// Always false: group rows have no value cell.
    bool hasValue(const PbProperty *property) const override;

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbGroupPropertyManager)
};
