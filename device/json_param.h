// One parameter as a JSON parameter-set file stores it; each member carries
// the CanParam member of the same name.
#pragma once

#include <QString>

struct JsonParam {
    QString name;
    QString caption;
    QString description;
    QString parent;
    QString index;
    QString subindex;
    qint32 dataType = 0;
    qint32 size = 0;
    QString currentValueStr;
    quint64 currentValue = 0;
};
