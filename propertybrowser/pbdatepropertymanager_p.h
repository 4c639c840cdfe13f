// Private part of PbDatePropertyManager: one ranged record per property.
#pragma once

#include "propertybrowser/pbdatepropertymanager.h"
#include "propertybrowser/pbrangerules_p.h"

#include <QMap>

class PbDatePropertyManagerPrivate
{
public:
    struct Data
    {
        QDate value;
        QDate minimum = QDate(1752, 9, 14);  // the first day of the Gregorian calendar in Britain
        QDate maximum = QDate(7999, 12, 31);

        void applyMinimum(const QDate &border) { PbRangeRules::applyMinimum(*this, border); }
        void applyMaximum(const QDate &border) { PbRangeRules::applyMaximum(*this, border); }
    };

    explicit PbDatePropertyManagerPrivate(PbDatePropertyManager *q);

    PbDatePropertyManager *q_ptr;
    QString m_format;  // fixed when the manager is built
    QMap<const PbProperty *, Data> m_values;
};
