// Private part of PbStringPropertyManager: one record per property.
#pragma once

#include "propertybrowser/pbstringpropertymanager.h"

#include <QMap>

class PbStringPropertyManagerPrivate
{
public:
    struct Data
    {
        QString value;
        QRegExp regExp = QRegExp(QStringLiteral("*"), Qt::CaseSensitive, QRegExp::Wildcard);
        QString inputMask;
        int echoMode = QLineEdit::Normal;
        bool readOnly = false;
        bool btnVisible = false;
        QString btnCaption;
    };

    explicit PbStringPropertyManagerPrivate(PbStringPropertyManager *q) : q_ptr(q) {}

    PbStringPropertyManager *q_ptr;
    QMap<const PbProperty *, Data> m_values;
};
