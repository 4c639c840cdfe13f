// Small concrete classes for the core tests: a browser that logs its item
// callbacks, an integer manager that shows its connections, and an editor
// factory over it that logs its hooks and tracks plain widgets.
#pragma once

#include "propertybrowser/pbabstracteditorfactory.h"
#include "propertybrowser/pbabstractpropertybrowser.h"
#include "propertybrowser/pbbrowseritem.h"
#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "pbtest_support.h"

#include <QWidget>

/// "a/b/c": the property names from the top-level item down to `item`.
inline QString itemPath(const PbBrowserItem *item)
{
    if (!item)
        return QStringLiteral("null");
    const QString own = propertyLabel(item->property());
    return item->parent() ? itemPath(item->parent()) + '/' + own : own;
}

class LoggingBrowser : public PbAbstractPropertyBrowser
{
public:
    explicit LoggingBrowser(SignalLog *log, const QString &name = QStringLiteral("browser"))
        : m_log(log), m_name(name)
    {
    }

protected:
    void itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem) override
    {
        m_log->append(m_name + ".inserted(" + itemPath(item) + ',' + itemPath(afterItem) + ')');
    }
    void itemRemoved(PbBrowserItem *item) override { m_log->append(m_name + ".removed(" + itemPath(item) + ')'); }
    void itemChanged(PbBrowserItem *item) override { m_log->append(m_name + ".changed(" + itemPath(item) + ')'); }

private:
    SignalLog *m_log;
    QString m_name;
};

class ProbedIntManager : public PbIntPropertyManager
{
public:
    using PbIntPropertyManager::PbIntPropertyManager;
    /// How many receivers the structural signal `signal` has.
    int receiverCount(const char *signal) const { return receivers(signal); }
};

class LoggingIntFactory : public PbAbstractEditorFactory<PbIntPropertyManager>
{
public:
    explicit LoggingIntFactory(SignalLog *log, const QString &name = QStringLiteral("factory"))
        : m_log(log), m_name(name)
    {
    }
    ~LoggingIntFactory() override
    {
        // Editors still open go now, each through the tracker.
        const QList<QWidget *> editors = tracker.editorToProperty.keys();
        qDeleteAll(editors);
    }

    using PbAbstractEditorFactory<PbIntPropertyManager>::createEditor;
    EditorTracker<QWidget> tracker;

protected:
    void connectPropertyManager(PbIntPropertyManager *manager) override
    {
        m_log->append(m_name + ".connect(" + manager->objectName() + ')');
    }
    void disconnectPropertyManager(PbIntPropertyManager *manager) override
    {
        m_log->append(m_name + ".disconnect(" + manager->objectName() + ')');
    }
    QWidget *createEditor(PbIntPropertyManager *, PbProperty *property, QWidget *parent) override
    {
        QWidget *editor = tracker.createEditor(property, parent);
        QObject::connect(editor, &QObject::destroyed, this,
                         [this](QObject *object) { tracker.slotEditorDestroyed(object); });
        return editor;
    }

private:
    SignalLog *m_log;
    QString m_name;
};
