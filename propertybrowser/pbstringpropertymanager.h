// Manager of text properties: a text checked against a validating expression,
// an input mask and echo mode for editors, a read-only flag and an optional
// editor button.
#pragma once

#include "propertybrowser/pbabstractpropertymanager.h"

#include <QLineEdit>
#include <QRegExp>

class PbStringPropertyManagerPrivate;

class PbStringPropertyManager : public PbAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit PbStringPropertyManager(QObject *parent = nullptr);
    ~PbStringPropertyManager() override;

    // Getters answer null/empty/0/false for a property this manager does not hold.
    QString value(const PbProperty *property) const;
    QRegExp regExp(const PbProperty *property) const;
    QString inputMask(const PbProperty *property) const;
    int echoMode(const PbProperty *property) const override;
    bool isReadOnly(const PbProperty *property) const;
    bool btnVisibility(const PbProperty *property) const;
    QString btnCaption(const PbProperty *property) const;

    /// The stored text.
    QString valueText(const PbProperty *property) const override;
    /// The text as a line edit with the property's echo mode shows it.
    QString displayText(const PbProperty *property) const override;

public Q_SLOTS:
    /// Stores `val` when the validating expression accepts all of it; a
    /// refused text is dropped silently. With `checkChanging` false an
    /// unchanged text is announced again.
    void setValue(PbProperty *property, const QString &val, bool checkChanging = true);
    /// Does not re-check the stored text.
    void setRegExp(PbProperty *property, const QRegExp &regExp);
    /// Announced only to editors (inputMaskChanged); the row text is unaffected.
    void setInputMask(PbProperty *property, const QString &inputMask);
    void setEchoMode(PbProperty *property, QLineEdit::EchoMode echoMode);
    void setReadOnly(PbProperty *property, bool readOnly);
    void setBtnVisibility(PbProperty *property, bool visible);
    void setBtnCaption(PbProperty *property, const QString &caption);

Q_SIGNALS:
    void valueChanged(PbProperty *property, const QString &val);
    /// Emitted by editor factories after their editors took a value change.
    void valueUpdated(PbProperty *property, const QString &val);
    void regExpChanged(PbProperty *property, const QRegExp &regExp);
    void echoModeChanged(PbProperty *property, int echoMode);
    void readOnlyChanged(PbProperty *property, bool readOnly);
    /// Emitted by the button editor factory when the editor's button is pressed.
    void btnClicked(PbProperty *property);
    /// Declared for listeners; nothing emits it.
    void editEnded(PbProperty *property);
    /// The input mask changed, so that open editors can follow it.
    void inputMaskChanged(PbProperty *property, const QString &inputMask);

protected:
    void initializeProperty(PbProperty *property) override;
    void uninitializeProperty(PbProperty *property) override;

private:
    Q_DISABLE_COPY(PbStringPropertyManager)
    PbStringPropertyManagerPrivate *d_ptr;
    friend class PbStringPropertyManagerPrivate;
};
