// Editor-factory framework and editor tracking: manager registration, editor
// routing, the editorCreated/editorDestroyed pairs and their timing, and
// editors that outlive their property.
#include "pbcore_test_doubles.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class EditorTracking : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ints.setObjectName("ints");
        log.watch(&ints, "ints");
        p = ints.addProperty("p");
        q = ints.addProperty("q");
        factory.addPropertyManager(&ints);
        log.clear();
    }

    SignalLog log;
    ProbedIntManager ints;
    LoggingIntFactory factory{&log};
    QWidget parent;
    PbProperty *p = nullptr;
    PbProperty *q = nullptr;
};

TEST_F(EditorTracking, ManagerRegistrationConnectsOnce)
{
    factory.addPropertyManager(&ints);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(factory.managerForProperty(p), &ints);
    factory.removePropertyManager(&ints);
    factory.removePropertyManager(&ints);
    EXPECT_EQ(log.take(), QStringList({"factory.disconnect(ints)"}));
    EXPECT_EQ(factory.managerForProperty(p), nullptr);
    EXPECT_EQ(factory.createEditor(p, &parent), nullptr);
    EXPECT_EQ(ints.receiverCount(SIGNAL(destroyed(QObject*))), 0);
}

TEST_F(EditorTracking, BreakConnectionRemovesOnlyThatManager)
{
    PbIntPropertyManager other;
    factory.addPropertyManager(&other);
    factory.breakConnection(&other);
    EXPECT_EQ(factory.propertyManagers(), QSet<PbIntPropertyManager *>({&ints}));
}

TEST_F(EditorTracking, CreatedIsAnnouncedAfterBothMapsHoldTheEditor)
{
    bool recorded = false;
    QObject::connect(&ints, &PbAbstractPropertyManager::editorCreated, [&](PbProperty *property) {
        recorded = factory.tracker.editors(property).size() == 1
                   && factory.tracker.editorToProperty.size() == 1;
    });
    QWidget *editor = factory.createEditor(p, &parent);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->parent(), &parent);
    EXPECT_TRUE(recorded);
    EXPECT_EQ(log.take(), QStringList({"ints.editorCreated(p)"}));
}

TEST_F(EditorTracking, DestroyedIsAnnouncedBeforeTheMapsForgetTheEditor)
{
    QWidget *editor = factory.createEditor(p, &parent);
    int editorsSeen = -1;
    QObject::connect(&ints, &PbAbstractPropertyManager::editorDestroyed,
                     [&](PbProperty *property) { editorsSeen = factory.tracker.editors(property).size(); });
    log.clear();
    delete editor;
    EXPECT_EQ(editorsSeen, 1);
    EXPECT_EQ(log.take(), QStringList({"ints.editorDestroyed(p)"}));
    EXPECT_TRUE(factory.tracker.createdEditors.isEmpty());
    EXPECT_TRUE(factory.tracker.editorToProperty.isEmpty());
}

TEST_F(EditorTracking, TwoEditorsOfOnePropertyComeAndGoInPairs)
{
    QWidget *first = factory.createEditor(p, &parent);
    QWidget *second = factory.createEditor(p, &parent);
    EXPECT_EQ(factory.tracker.editors(p), QList<QWidget *>({first, second}));
    delete first;
    EXPECT_EQ(factory.tracker.editors(p), QList<QWidget *>({second}));
    delete second;
    EXPECT_FALSE(factory.tracker.createdEditors.contains(p));
    const QStringList expected{"ints.editorCreated(p)", "ints.editorCreated(p)", "ints.editorDestroyed(p)",
                               "ints.editorDestroyed(p)"};
    EXPECT_EQ(log.take(), expected);
}

TEST_F(EditorTracking, UnknownObjectsAndUnservedManagersAreIgnored)
{
    QObject stranger;
    factory.tracker.slotEditorDestroyed(&stranger);
    PbIntPropertyManager unserved;
    log.watch(&unserved, "unserved");
    PbProperty *foreign = unserved.addProperty("foreign");
    log.clear();
    EXPECT_EQ(factory.createEditor(foreign, &parent), nullptr);
    EXPECT_EQ(factory.createEditor(nullptr, &parent), nullptr);
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(factory.tracker.propertyOf(&stranger), nullptr);
}

TEST_F(EditorTracking, DestroyedManagerLeavesWithoutDisconnection)
{
    auto *doomed = new PbIntPropertyManager;
    doomed->setObjectName("doomed");
    factory.addPropertyManager(doomed);
    log.clear();
    delete doomed;
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(factory.propertyManagers(), QSet<PbIntPropertyManager *>({&ints}));
}

// Editors are deleted later than the property they edit (deferred deletion by
// the browser's delegate): the tracker must not reach the deleted property.
TEST_F(EditorTracking, PropertyDeletedWhileItsEditorIsOpen)
{
    QPointer<QWidget> editor = factory.createEditor(p, &parent);
    QWidget *other = factory.createEditor(q, &parent);
    log.clear();

    delete p;
    // The pair is closed while the property is still whole: during its
    // propertyDestroyed, before the manager drops its record.
    EXPECT_EQ(log.take(), QStringList({"ints.propertyDestroyed(p)", "ints.editorDestroyed(p)"}));
    EXPECT_EQ(factory.tracker.propertyOf(editor), nullptr);
    EXPECT_EQ(factory.tracker.editors(q), QList<QWidget *>({other}));

    editor->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
    EXPECT_TRUE(log.take().isEmpty());  // nothing more for the gone property
}

TEST_F(EditorTracking, ManagerDestroyedWhileEditorsAreOpen)
{
    auto *doomed = new PbIntPropertyManager;
    log.watch(doomed, "doomed");
    factory.addPropertyManager(doomed);
    PbProperty *r = doomed->addProperty("r");
    QPointer<QWidget> editor = factory.createEditor(r, &parent);
    log.clear();
    delete doomed;
    EXPECT_EQ(log.take().filter("editorDestroyed"), QStringList({"doomed.editorDestroyed(r)"}));
    delete editor.data();
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_TRUE(factory.tracker.editorToProperty.isEmpty());
}

TEST_F(EditorTracking, TrackerDestroyedBeforeAForgottenEditor)
{
    // An editor forgotten because its property went may outlive the whole
    // factory; later property deletions must not call into the dead tracker.
    auto *shortLived = new LoggingIntFactory(&log, "shortLived");
    shortLived->addPropertyManager(&ints);
    QWidget *editor = shortLived->createEditor(p, &parent);
    delete p;
    delete shortLived;  // the editor was forgotten, so it is not deleted here
    delete q;
    delete editor;
    SUCCEED();
}

} // namespace
