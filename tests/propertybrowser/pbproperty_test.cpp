// Property structure: insertion places and refusals, removal, the order of
// signals when properties are deleted, and clearing a manager.
#include "propertybrowser/pbabstractpropertymanager.h"
#include "propertybrowser/pbproperty.h"
#include "pbtest_support.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A manager that records its per-property hooks and can refuse to create.
class RecordingManager : public PbAbstractPropertyManager
{
public:
    explicit RecordingManager(SignalLog *log, const QString &name) : m_log(log), m_name(name) {}
    ~RecordingManager() override { clear(); }

    bool refuseCreation = false;
    int initialized = 0;
    int uninitialized = 0;

protected:
    void initializeProperty(PbProperty *) override { ++initialized; }
    void uninitializeProperty(PbProperty *property) override
    {
        ++uninitialized;
        if (m_log)
            m_log->append(m_name + ".uninitialize(" + propertyLabel(property) + ')');
    }
    PbProperty *createProperty() override
    {
        return refuseCreation ? nullptr : PbAbstractPropertyManager::createProperty();
    }

private:
    SignalLog *m_log;
    QString m_name;
};

QStringList names(const QList<PbProperty *> &properties)
{
    QStringList result;
    for (PbProperty *property : properties)
        result << propertyLabel(property);
    return result;
}

class PropertyStructure : public ::testing::Test
{
protected:
    void SetUp() override
    {
        log.watch(&m1, "m1");
        log.watch(&m2, "m2");
        a = m1.addProperty("a");
        b = m1.addProperty("b");
        c = m1.addProperty("c");
        d = m1.addProperty("d");
        x = m2.addProperty("x");
        log.clear();
    }

    SignalLog log;
    RecordingManager m1{&log, "m1"};
    RecordingManager m2{&log, "m2"};
    PbProperty *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr, *x = nullptr;
};

TEST_F(PropertyStructure, AddAppendsBehindTheLastChildAndNamesIt)
{
    a->addSubProperty(b);
    a->addSubProperty(c);
    EXPECT_EQ(names(a->subProperties()), QStringList({"b", "c"}));
    EXPECT_EQ(log.take(), QStringList({"m1.propertyInserted(b,a,null)", "m1.propertyInserted(c,a,b)"}));
}

TEST_F(PropertyStructure, InsertPlacesBehindAfterOrFirst)
{
    a->addSubProperty(b);
    a->addSubProperty(c);
    a->insertSubProperty(d, b);
    EXPECT_EQ(names(a->subProperties()), QStringList({"b", "d", "c"}));
    // An after property that is no child puts the new child first.
    a->insertSubProperty(x, x);
    EXPECT_EQ(names(a->subProperties()), QStringList({"x", "b", "d", "c"}));
    const QStringList expected{"m1.propertyInserted(b,a,null)", "m1.propertyInserted(c,a,b)",
                               "m1.propertyInserted(d,a,b)", "m1.propertyInserted(x,a,null)"};
    EXPECT_EQ(log.take(), expected);
}

TEST_F(PropertyStructure, InsertedSignalComesFromTheParentsManager)
{
    x->addSubProperty(a);
    EXPECT_EQ(log.take(), QStringList({"m2.propertyInserted(a,x,null)"}));
}

TEST_F(PropertyStructure, RefusesNullSelfDuplicateAndCycles)
{
    a->addSubProperty(b);
    b->addSubProperty(c);
    c->addSubProperty(d);
    log.clear();

    a->addSubProperty(nullptr);
    a->addSubProperty(a);
    a->addSubProperty(b);   // duplicate
    b->addSubProperty(a);   // a is b's parent
    d->addSubProperty(a);   // a is three levels above d
    d->insertSubProperty(b, nullptr);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(names(a->subProperties()), QStringList({"b"}));
    EXPECT_TRUE(d->subProperties().isEmpty());
}

TEST_F(PropertyStructure, CycleCheckSurvivesSharedDescendants)
{
    // b and c share d; d holds x. Inserting a under x must still be refused.
    a->addSubProperty(b);
    a->addSubProperty(c);
    b->addSubProperty(d);
    c->addSubProperty(d);
    d->addSubProperty(x);
    log.clear();
    x->addSubProperty(a);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_TRUE(x->subProperties().isEmpty());
}

TEST_F(PropertyStructure, RemoveAnnouncesBeforeUnlinkingEvenForANonChild)
{
    a->addSubProperty(b);
    log.clear();
    a->removeSubProperty(c);
    EXPECT_EQ(log.take(), QStringList({"m1.propertyRemoved(c,a)"}));
    EXPECT_EQ(names(a->subProperties()), QStringList({"b"}));

    QStringList childrenSeen;
    QObject::connect(&m1, &PbAbstractPropertyManager::propertyRemoved,
                     [&](PbProperty *, PbProperty *parent) { childrenSeen = names(parent->subProperties()); });
    a->removeSubProperty(b);
    EXPECT_EQ(childrenSeen, QStringList({"b"}));  // still linked while announced
    EXPECT_TRUE(a->subProperties().isEmpty());
    a->removeSubProperty(nullptr);
    EXPECT_EQ(log.take(), QStringList({"m1.propertyRemoved(b,a)"}));
}

TEST_F(PropertyStructure, DeletionTellsEveryParentThenDestroysThenUnlinks)
{
    // x (manager m2) and a both hold b; b holds c.
    a->addSubProperty(b);
    x->addSubProperty(b);
    b->addSubProperty(c);
    log.clear();

    delete b;
    QStringList entries = log.take();
    ASSERT_EQ(entries.size(), 4);
    // Parents come in set order; both must precede the destruction.
    QStringList removals = entries.mid(0, 2);
    removals.sort();
    EXPECT_EQ(removals, QStringList({"m1.propertyRemoved(b,a)", "m2.propertyRemoved(b,x)"}));
    EXPECT_EQ(entries.at(2), "m1.propertyDestroyed(b)");
    EXPECT_EQ(entries.at(3), "m1.uninitialize(b)");
    EXPECT_TRUE(a->subProperties().isEmpty());
    EXPECT_TRUE(x->subProperties().isEmpty());
    EXPECT_EQ(m1.properties().size(), 3);

    // c lost its parent link: deleting it now names no parent.
    delete c;
    EXPECT_EQ(log.take(), QStringList({"m1.propertyDestroyed(c)", "m1.uninitialize(c)"}));
}

TEST_F(PropertyStructure, ClearDeletesOwnAndUnlinksForeignChildren)
{
    a->addSubProperty(b);
    b->addSubProperty(c);
    c->addSubProperty(x);  // x belongs to m2
    a->addSubProperty(d);
    log.clear();

    m1.clear();
    EXPECT_TRUE(m1.properties().isEmpty());
    EXPECT_EQ(m1.uninitialized, 4);
    EXPECT_EQ(log.entries().filter("propertyDestroyed").size(), 4);
    // x survives, unlinked: it can take children and be deleted cleanly.
    EXPECT_EQ(m2.properties().size(), 1);
    PbProperty *y = m2.addProperty("y");
    x->addSubProperty(y);
    log.clear();
    delete x;  // no stale link to the deleted c may be followed here
    EXPECT_EQ(log.take(), QStringList({"m2.propertyDestroyed(x)", "m2.uninitialize(x)"}));
}

TEST_F(PropertyStructure, DeletingAParentLeavesChildrenAlive)
{
    a->addSubProperty(b);
    delete a;
    log.clear();
    b->addSubProperty(c);
    EXPECT_EQ(log.take(), QStringList({"m1.propertyInserted(c,b,null)"}));
    delete b;
    EXPECT_EQ(log.take(), QStringList({"m1.propertyDestroyed(b)", "m1.uninitialize(b)"}));
}

TEST(PropertyTexts, SettersAnnounceOnlyRealChanges)
{
    RecordingManager manager(nullptr, "m");
    PbProperty *p = manager.addProperty("p");
    QSignalSpy changed(&manager, &PbAbstractPropertyManager::propertyChanged);

    p->setEnabled(true);
    p->setModified(false);
    p->setPropertyName("p");
    p->setToolTip(QString());
    EXPECT_EQ(changed.count(), 0);

    p->setEnabled(false);
    p->setModified(true);
    p->setPropertyName("q");
    p->setToolTip("tip");
    p->setStatusTip("status");
    p->setWhatsThis("what");
    EXPECT_EQ(changed.count(), 6);
    p->setWhatsThis("what");
    EXPECT_EQ(changed.count(), 6);

    p->setColumnTexts({"1", "2"});
    p->setColumnTexts({"1", "2"});
    EXPECT_EQ(changed.count(), 6);
    EXPECT_EQ(p->columnTexts(), QStringList({"1", "2"}));
    EXPECT_FALSE(p->isEnabled());
    EXPECT_TRUE(p->isModified());
    EXPECT_EQ(p->propertyName(), "q");
}

TEST(PropertyCreation, NullFromCreatePropertyLeavesTheSetAlone)
{
    RecordingManager manager(nullptr, "m");
    manager.refuseCreation = true;
    EXPECT_EQ(manager.addProperty("p"), nullptr);
    EXPECT_TRUE(manager.properties().isEmpty());
    EXPECT_EQ(manager.initialized, 0);
}

TEST(PropertyCreation, BaseQueriesGiveTheDefaults)
{
    RecordingManager manager(nullptr, "m");
    PbProperty *p = manager.addProperty("p");
    EXPECT_EQ(p->propertyManager(), &manager);
    EXPECT_TRUE(p->hasValue());
    EXPECT_TRUE(p->valueIcon().isNull());
    EXPECT_TRUE(p->valueText().isEmpty());
    EXPECT_TRUE(p->displayText().isEmpty());
    EXPECT_EQ(manager.echoMode(p), 0);
    EXPECT_EQ(manager.initialized, 1);
}

TEST(PropertyCreation, ManagerDestructionUninitializesEveryProperty)
{
    int destroyedProperties = 0;
    int countWhenObjectWent = -1;
    {
        RecordingManager manager(nullptr, "m");
        PbProperty *top = manager.addProperty("top");
        for (int i = 0; i < 5; ++i)
            top->addSubProperty(manager.addProperty(QString::number(i)));
        QObject::connect(&manager, &PbAbstractPropertyManager::propertyDestroyed, [&] { ++destroyedProperties; });
        QObject::connect(&manager, &QObject::destroyed, [&] { countWhenObjectWent = destroyedProperties; });
    }
    EXPECT_EQ(countWhenObjectWent, 6);  // all were announced before the object went
}

} // namespace
