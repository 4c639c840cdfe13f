// Private part of PbGroupBoxPropertyBrowser: one record per browser item with
// the widgets of its grid row (or its group box), and the maps between items,
// records and editors.
#ifndef PBGROUPBOXPROPERTYBROWSER_P_H
#define PBGROUPBOXPROPERTYBROWSER_P_H

#include "pbgroupboxpropertybrowser.h"

#include <QHash>
#include <QList>

class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QTimer;

class PbGroupBoxPropertyBrowserPrivate
{
public:
    struct Record {
        QWidget *widget = nullptr;       // the editor
        QLabel *label = nullptr;         // the name, while there are no sub-properties
        QLabel *widgetLabel = nullptr;   // the value text, when there is no editor
        QGroupBox *groupBox = nullptr;   // present while there are sub-properties
        QGridLayout *layout = nullptr;   // the group box's grid
        QFrame *line = nullptr;          // under the editor, inside the group box
        Record *parent = nullptr;
        QList<Record *> children;
    };

    explicit PbGroupBoxPropertyBrowserPrivate(PbGroupBoxPropertyBrowser *q) : q_ptr(q) {}

    void init();
    void propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem);
    void propertyRemoved(PbBrowserItem *item);
    void propertyChanged(PbBrowserItem *item);
    void slotUpdate();
    void slotEditorDestroyed(QObject *editor);
    /// Forgets every record; the widgets go with the browser.
    void deleteItems();

    PbGroupBoxPropertyBrowser *q_ptr;
    QHash<PbBrowserItem *, Record *> m_itemToRecord;
    QHash<Record *, PbBrowserItem *> m_recordToItem;
    // Keyed by object identity: an editor in destruction is no widget any more.
    QHash<const QObject *, Record *> m_editorToRecord;
    QGridLayout *m_mainLayout = nullptr;
    QList<Record *> m_children;  // the top-level records
    QList<Record *> m_recreateQueue;
    // Runs slotUpdate once control returns to the event loop; a child of the
    // browser, so it never fires for a browser that is gone.
    QTimer *m_updateTimer = nullptr;

private:
    QList<Record *> &siblings(Record *record) { return record->parent ? record->parent->children : m_children; }
    QWidget *parentWidget(Record *record) const;
    QGridLayout *parentLayout(Record *record) const;
    int gridRow(Record *record) const;
    void becomeGroup(Record *record);
    void stopBeingGroup(Record *record);
    void updateRecord(Record *record);
};

#endif
