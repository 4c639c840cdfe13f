// Private part of PbDoublePropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbrangerules_p.h"

#include <QMap>

class PbDoublePropertyManagerPrivate
{
public:
    struct Data
    {
        double value = 0.0;
        double minimum = -2147483647.0;
        double maximum = 2147483647.0;
        double singleStep = 1.0;
        int decimals = 2;
        bool readOnly = false;

        void applyMinimum(const double &border) { PbRangeRules::applyMinimum(*this, border); }
        void applyMaximum(const double &border) { PbRangeRules::applyMaximum(*this, border); }
    };

    explicit PbDoublePropertyManagerPrivate(PbDoublePropertyManager *q) : q_ptr(q) {}

    PbDoublePropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
};
