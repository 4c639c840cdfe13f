// Base of every value manager: creates and owns properties, answers for their
// values through virtual queries, and announces structural and data changes.
#pragma once

#include "propertybrowser/pbproperty.h"

#include <QIcon>
#include <QObject>
#include <QSet>
#include <QString>

class PbAbstractPropertyManagerPrivate;

class PbAbstractPropertyManager : public QObject
{
    Q_OBJECT
public:
    explicit PbAbstractPropertyManager(QObject *parent = nullptr);
    /// Clears (deletes every owned property), then releases the private part.
    ~PbAbstractPropertyManager() override;

    /// The owned properties (a copy, unordered).
    QSet<PbProperty *> properties() const;
    /// Deletes every owned property.
    void clear();

    /// Creates a property named `name` and sets up its value record; null when
    /// createProperty yields none.
    PbProperty *addProperty(const QString &name = QString());

    // Value queries for one property; PbProperty forwards its own to these.
    virtual bool hasValue(const PbProperty *property) const;
    virtual QIcon valueIcon(const PbProperty *property) const;
    virtual QString valueText(const PbProperty *property) const;
    /// Empty by default; does not fall back to valueText.
    virtual QString displayText(const PbProperty *property) const;
    /// A QLineEdit::EchoMode; 0 (normal) by default.
    virtual int echoMode(const PbProperty *) const;

Q_SIGNALS:
    void propertyInserted(PbProperty *property, PbProperty *parent, PbProperty *after);
    void propertyChanged(PbProperty *property);
    void editorCreated(PbProperty *property);
    void editorDestroyed(PbProperty *property);
    void propertyRemoved(PbProperty *property, PbProperty *parent);
    void propertyDestroyed(PbProperty *property);

protected:
    /// Sets up the per-property data of a new property (every manager must).
    virtual void initializeProperty(PbProperty *property) = 0;
    /// Drops the per-property data of a property that is being deleted.
    virtual void uninitializeProperty(PbProperty *property);
    /// A new property owned by this manager.
    virtual PbProperty *createProperty();

private:
    Q_DISABLE_COPY(PbAbstractPropertyManager)
    PbAbstractPropertyManagerPrivate *d_ptr;
    friend class PbAbstractPropertyManagerPrivate;
    friend class PbProperty;
    friend class PbPropertyPrivate;
};
