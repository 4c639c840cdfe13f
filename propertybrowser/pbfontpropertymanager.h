// Manager of font properties, each shown with editable rows for the family
// (a choice from the system's font families), point size, bold, italic,
// underline, strikeout and kerning, held by inner managers. The family list
// follows changes of the system's font database.
#ifndef PBFONTPROPERTYMANAGER_H
#define PBFONTPROPERTYMANAGER_H

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QFont>

class PbBoolPropertyManager;
class PbEnumPropertyManager;
class PbFontPropertyManagerPrivate;
class PbIntPropertyManager;

class PbFontPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbFontPropertyManager(QObject *parent = nullptr);
    ~PbFontPropertyManager() override;

    /// The managers of the rows, to which editor factories bind.
    PbIntPropertyManager *subIntPropertyManager() const;
    PbEnumPropertyManager *subEnumPropertyManager() const;
    PbBoolPropertyManager *subBoolPropertyManager() const;

    /// The stored font; a default font for a property not held.
    QFont value(const PbProperty *property) const;
    /// "[family, point size]"; null for a property not held.
    QString valueText(const PbProperty *property) const override;
    /// A sample letter in the font; an empty icon for a property not held.
    QIcon valueIcon(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores the font, brings the rows up to it and announces it once; a
    /// font that compares equal but has other attributes set explicitly is
    /// a change.
    void setValue(PbProperty *property, const QFont &val);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QFont &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QFont &val);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private Q_SLOTS:
    void slotIntChanged(PbProperty *row, int value);
    void slotEnumChanged(PbProperty *row, int value);
    void slotBoolChanged(PbProperty *row, bool value);
    void slotPropertyDestroyed(PbProperty *row);
    /// Schedules one refresh of the family lists for the next event-loop turn.
    void slotFontDatabaseChanged();
    void slotFontDatabaseDelayedChange();

private:
    Q_DISABLE_COPY(PbFontPropertyManager)
    PbFontPropertyManagerPrivate *d_ptr;
    friend class PbFontPropertyManagerPrivate;
};

#endif
