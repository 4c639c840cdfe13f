// Private part of PbButtonPropertyBrowser: one record per browser item with
// the widgets of its grid row, and the maps between items, records, editors
// and buttons.
#ifndef PBBUTTONPROPERTYBROWSER_P_H
#define PBBUTTONPROPERTYBROWSER_P_H

#include "pbbuttonpropertybrowser.h"

#include <QHash>
#include <QList>

class QFrame;
class QGridLayout;
class QLabel;
class QTimer;
class QToolButton;

class PbButtonPropertyBrowserPrivate
{
public:
    struct Record {
        QWidget *widget = nullptr;       // the editor
        QLabel *label = nullptr;         // the name, while there are no sub-properties
        QLabel *widgetLabel = nullptr;   // the value text, when there is no editor
        QToolButton *button = nullptr;   // shows the panel, while there are sub-properties
        QFrame *container = nullptr;     // the panel of the sub-properties
        QGridLayout *layout = nullptr;   // the panel's grid
        Record *parent = nullptr;
        QList<Record *> children;
        bool expanded = false;
    };

    explicit PbButtonPropertyBrowserPrivate(PbButtonPropertyBrowser *q) : q_ptr(q) {}

    void init();
    void propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem);
    void propertyRemoved(PbBrowserItem *item);
    void propertyChanged(PbBrowserItem *item);
    void setExpanded(Record *record, bool expanded);
    void slotUpdate();
    void slotEditorDestroyed(QObject *editor);
    void slotToggled(QObject *button, bool checked);
    /// Forgets every record; the widgets go with the browser.
    void deleteItems();

    PbButtonPropertyBrowser *q_ptr;
    QHash<PbBrowserItem *, Record *> m_itemToRecord;
    QHash<Record *, PbBrowserItem *> m_recordToItem;
    // Keyed by object identity: an editor in destruction is no widget any more.
    QHash<const QObject *, Record *> m_editorToRecord;
    QHash<const QObject *, Record *> m_buttonToRecord;
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
    static int gridSpan(const Record *record) { return record->container && record->expanded ? 2 : 1; }
    void becomeGroup(Record *record);
    void stopBeingGroup(Record *record);
    void updateRecord(Record *record);
};

#endif
