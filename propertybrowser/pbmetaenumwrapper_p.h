// Reaches the meta-enumeration of QSizePolicy::Policy: its key names in
// declaration order are the size-policy names shown to the user.
#pragma once

#include <QObject>
#include <QSizePolicy>

class PbMetaEnumWrapper : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QSizePolicy::Policy policy READ policy)
public:
    explicit PbMetaEnumWrapper(QObject *parent = nullptr) : QObject(parent) {}
    QSizePolicy::Policy policy() const { return QSizePolicy::Ignored; }

private:
    Q_DISABLE_COPY(PbMetaEnumWrapper)
};
