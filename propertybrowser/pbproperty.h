// One named row of a property tree: name, tips, flags, extra column texts and
// an ordered list of child properties. The value itself lives in the manager
// that created the property; the property only forwards value queries to it.
#pragma once

#include <QIcon>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

class PbAbstractPropertyManager;
class PbPropertyPrivate;

class PbProperty
{
public:
    /// Creates a property owned by `manager`; called by a manager's createProperty.
    explicit PbProperty(PbAbstractPropertyManager *manager);
    /// Unlinks the property from all parents and children and tells the managers.
    virtual ~PbProperty();

    PbAbstractPropertyManager *propertyManager() const;
    /// The children in display order (a copy).
    QList<PbProperty *> subProperties() const;

    QString toolTip() const;
    QString statusTip() const;
    QString whatsThis() const;
    QString propertyName() const;
    bool isEnabled() const;
    bool isModified() const;
    /// Texts of the extra browser columns; text i belongs to extra column i.
    QStringList columnTexts() const;

    bool hasValue() const;
    QIcon valueIcon() const;
    QString valueText() const;
    QString displayText() const;

    // Each setter stores and announces propertyChanged only on a real change.
    void setToolTip(const QString &text);
    void setStatusTip(const QString &text);
    void setWhatsThis(const QString &text);
    void setPropertyName(const QString &text);
    void setEnabled(bool enable);
    void setModified(bool modified);
    /// Replaces the column texts without announcing anything.
    void setColumnTexts(const QStringList &texts);

    /// Appends `property` behind the last child.
    void addSubProperty(PbProperty *property);
    /// Inserts `property` behind `afterProperty` (first when that is null or no
    /// child). A null or self child, a duplicate or a cycle is refused silently.
    void insertSubProperty(PbProperty *property, PbProperty *afterProperty);
    /// Announces propertyRemoved (even for a non-child), then unlinks the child.
    void removeSubProperty(PbProperty *property);

protected:
    /// Asks the owning manager to emit propertyChanged for this property.
    void propertyChanged();

private:
    Q_DISABLE_COPY(PbProperty)
    PbPropertyPrivate *d_ptr;
    friend class PbPropertyPrivate;
    friend class PbAbstractPropertyManager;
};

// Known to the meta-type system, so that queued connections and signal spies
// can carry properties.
Q_DECLARE_METATYPE(PbProperty *)
