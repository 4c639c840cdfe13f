// Every signal and slot that the factories, the browsers, the variant layer
// and the main window reach by signature string must exist, so that no
// connection fails at run time with "No such signal".
#include "propertybrowser/pbabstractpropertybrowser.h"
#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbstringpropertymanager.h"
#include "pbtest_support.h"

#include <QSignalSpy>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

struct Signature
{
    const char *className;
    const char *signature;  // as the users write it, before normalisation
};

const Signature usedSignals[] = {
    {"PbAbstractPropertyManager", "propertyInserted(PbProperty *, PbProperty *, PbProperty *)"},
    {"PbAbstractPropertyManager", "propertyRemoved(PbProperty *, PbProperty *)"},
    {"PbAbstractPropertyManager", "propertyChanged(PbProperty *)"},
    {"PbAbstractPropertyManager", "propertyDestroyed(PbProperty *)"},
    {"PbAbstractPropertyManager", "editorCreated(PbProperty *)"},
    {"PbAbstractPropertyManager", "editorDestroyed(PbProperty *)"},
    {"PbIntPropertyManager", "valueChanged(PbProperty *, int)"},
    {"PbIntPropertyManager", "valueUpdated(PbProperty *, int)"},
    {"PbIntPropertyManager", "scriptCalled(PbProperty *)"},
    {"PbIntPropertyManager", "rangeChanged(PbProperty *, int, int)"},
    {"PbIntPropertyManager", "singleStepChanged(PbProperty *, int)"},
    {"PbIntPropertyManager", "readOnlyChanged(PbProperty *, bool)"},
    {"PbDoublePropertyManager", "valueChanged(PbProperty *, double)"},
    {"PbDoublePropertyManager", "valueUpdated(PbProperty *, double)"},
    {"PbDoublePropertyManager", "rangeChanged(PbProperty *, double, double)"},
    {"PbDoublePropertyManager", "singleStepChanged(PbProperty *, double)"},
    {"PbDoublePropertyManager", "decimalsChanged(PbProperty *, int)"},
    {"PbDoublePropertyManager", "readOnlyChanged(PbProperty *, bool)"},
    {"PbStringPropertyManager", "valueChanged(PbProperty *, const QString &)"},
    {"PbStringPropertyManager", "valueUpdated(PbProperty *, QString)"},
    {"PbStringPropertyManager", "regExpChanged(PbProperty *, const QRegExp &)"},
    {"PbStringPropertyManager", "inputMaskChanged(PbProperty *, const QString &)"},
    {"PbStringPropertyManager", "echoModeChanged(PbProperty*, int)"},
    {"PbStringPropertyManager", "readOnlyChanged(PbProperty*, bool)"},
    {"PbStringPropertyManager", "btnClicked(PbProperty *)"},
    {"PbStringPropertyManager", "editEnded(PbProperty*)"},
    {"PbBoolPropertyManager", "valueChanged(PbProperty *, bool)"},
    {"PbBoolPropertyManager", "valueUpdated(PbProperty *, bool)"},
    {"PbBoolPropertyManager", "textVisibleChanged(PbProperty *, bool)"},
    {"PbEnumPropertyManager", "valueChanged(PbProperty *, int)"},
    {"PbEnumPropertyManager", "valueChangedNoUpdate(PbProperty *, int)"},
    {"PbEnumPropertyManager", "valueUpdated(PbProperty *, int)"},
    {"PbEnumPropertyManager", "enumNamesChanged(PbProperty *, const QStringList &)"},
    {"PbEnumPropertyManager", "enumIconsChanged(PbProperty *, const QMap<int, QIcon> &)"},
    {"PbAbstractPropertyBrowser", "currentItemChanged(PbBrowserItem*)"},
};

const Signature usedSlots[] = {
    {"PbIntPropertyManager", "setValue(PbProperty*,int)"},
    {"PbIntPropertyManager", "setValue(PbProperty*,int,bool)"},
    {"PbDoublePropertyManager", "setValue(PbProperty*,double,bool)"},
    {"PbStringPropertyManager", "setValue(PbProperty*,QString,bool)"},
    {"PbStringPropertyManager", "setInputMask(PbProperty*,QString)"},
    {"PbBoolPropertyManager", "setValue(PbProperty*,bool)"},
    {"PbEnumPropertyManager", "setValue(PbProperty*,int)"},
    {"PbEnumPropertyManager", "setValueNoUpdate(PbProperty*,int)"},
    {"PbEnumPropertyManager", "setEnumNames(PbProperty*,QStringList)"},
    {"PbEnumPropertyManager", "setEnumIcons(PbProperty*,QMap<int,QIcon>)"},
    {"PbAbstractPropertyBrowser", "addProperty(PbProperty*)"},
    {"PbAbstractPropertyBrowser", "insertProperty(PbProperty*,PbProperty*)"},
    {"PbAbstractPropertyBrowser", "removeProperty(PbProperty*)"},
    {"PbAbstractPropertyBrowser", "slotPropertyInserted(PbProperty*,PbProperty*,PbProperty*)"},
    {"PbAbstractPropertyBrowser", "slotPropertyRemoved(PbProperty*,PbProperty*)"},
    {"PbAbstractPropertyBrowser", "slotPropertyDestroyed(PbProperty*)"},
    {"PbAbstractPropertyBrowser", "slotPropertyDataChanged(PbProperty*)"},
    {"PbAbstractEditorFactoryBase", "managerDestroyed(QObject*)"},
};

const QMetaObject *metaObjectOf(const char *className)
{
    static const QMetaObject *const all[] = {
        &PbAbstractPropertyManager::staticMetaObject, &PbIntPropertyManager::staticMetaObject,
        &PbDoublePropertyManager::staticMetaObject,   &PbStringPropertyManager::staticMetaObject,
        &PbBoolPropertyManager::staticMetaObject,     &PbEnumPropertyManager::staticMetaObject,
        &PbAbstractPropertyBrowser::staticMetaObject, &PbAbstractEditorFactoryBase::staticMetaObject,
    };
    for (const QMetaObject *meta : all) {
        if (qstrcmp(meta->className(), className) == 0)
            return meta;
    }
    return nullptr;
}

// Looks each signature up with `find` (indexOfSignal or indexOfSlot) in its class.
template <size_t N>
void expectAllExist(const Signature (&used)[N], int (QMetaObject::*find)(const char *) const)
{
    for (const Signature &u : used) {
        const QMetaObject *meta = metaObjectOf(u.className);
        ASSERT_NE(meta, nullptr) << u.className;
        const QByteArray normalized = QMetaObject::normalizedSignature(u.signature);
        EXPECT_GE((meta->*find)(normalized), 0) << u.className << "::" << u.signature;
    }
}

TEST(ConnectionsByName, EverySignalOthersUseExists)
{
    expectAllExist(usedSignals, &QMetaObject::indexOfSignal);
}

TEST(ConnectionsByName, EverySlotOthersUseExists)
{
    expectAllExist(usedSlots, &QMetaObject::indexOfSlot);
}

TEST(ConnectionsByName, StringConnectionsToAStringManagerSucceed)
{
    PbStringPropertyManager strings;
    PbProperty *p = strings.addProperty("p");
    QSignalSpy masks(&strings, SIGNAL(inputMaskChanged(PbProperty*,QString)));
    QSignalSpy values(&strings, SIGNAL(valueChanged(PbProperty*,QString)));
    strings.setInputMask(p, "000");
    strings.setValue(p, "1");
    EXPECT_EQ(masks.count(), 1);
    EXPECT_EQ(values.count(), 1);
}

TEST(ConnectionsByName, TheGuardFailsOnAMissingSignal)
{
    PbIntPropertyManager ints;
    EXPECT_NONFATAL_FAILURE(QSignalSpy(&ints, SIGNAL(noSuchSignal(PbProperty*))), "broken connection");
    EXPECT_NONFATAL_FAILURE(QObject::connect(&ints, SIGNAL(valueChanged(PbProperty*,int)), &ints,
                                             SLOT(noSuchSlot(PbProperty*,int))),
                            "broken connection");
}

} // namespace
