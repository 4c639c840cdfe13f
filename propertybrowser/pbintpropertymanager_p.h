// Private part of PbIntPropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbrangerules_p.h"

#include <QMap>

#include <climits>

class PbIntPropertyManagerPrivate
{
public:
    struct Data
    {
        int value = 0;
        int minimum = -INT_MAX;  // deliberately not INT_MIN
        int maximum = INT_MAX;
        int singleStep = 1;
        bool readOnly = false;
        bool btnVisible = false;
        QString btnCaption;

        void applyMinimum(const int &border) { PbRangeRules::applyMinimum(*this, border); }
        void applyMaximum(const int &border) { PbRangeRules::applyMaximum(*this, border); }
    };

    explicit PbIntPropertyManagerPrivate(PbIntPropertyManager *q) : q_ptr(q) {}

    PbIntPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
};
