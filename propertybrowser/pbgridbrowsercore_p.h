// The part of the button and group-box browsers' private parts that is the
// same in both: one record per browser item with the widgets of its grid row,
// the maps between items, records and editors, the placing of a new row, and
// the queue of records whose plain row comes back on the next event-loop
// turn (its timer is a child of the browser, so it never fires for a browser
// that is gone).
#ifndef PBGRIDBROWSERCORE_P_H
#define PBGRIDBROWSERCORE_P_H

#include "propertybrowser/pbabstractpropertybrowser.h"
#include "propertybrowser/pbbrowseritem.h"
#include "propertybrowser/pbgridrows_p.h"
#include "propertybrowser/pbproperty.h"

#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QList>
#include <QTimer>

/// The fields of a row record that both browsers have; `Record` adds the
/// widget that holds its children (`holder()`, null while there are none)
/// and the one that shows the name of a property with children (`header()`).
template <class Record>
struct PbGridRecord {
    QWidget *widget = nullptr;       // the editor
    QLabel *label = nullptr;         // the name, while the row is plain
    QLabel *widgetLabel = nullptr;   // the value text, when there is no editor
    QGridLayout *layout = nullptr;   // the grid of the children
    Record *parent = nullptr;
    QList<Record *> children;
};

template <class Record>
class PbGridBrowserCore
{
public:
    explicit PbGridBrowserCore(PbAbstractPropertyBrowser *browser) : m_browser(browser) {}

    /// The browser's grid with a spacer that keeps the rows at the top, and
    /// the timer of the queued rows, connected to the browser's slotUpdate().
    void init()
    {
        m_mainLayout = new QGridLayout();
        m_browser->setLayout(m_mainLayout);
        m_mainLayout->addItem(new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Expanding), 0, 0);
        m_updateTimer = new QTimer(m_browser);
        m_updateTimer->setSingleShot(true);
        m_updateTimer->setInterval(0);
        QObject::connect(m_updateTimer, SIGNAL(timeout()), m_browser, SLOT(slotUpdate()));
    }

    QList<Record *> &siblings(Record *record) { return record->parent ? record->parent->children : m_children; }
    const QList<Record *> &siblings(Record *record) const
    {
        return record->parent ? record->parent->children : m_children;
    }
    QWidget *parentWidget(Record *record) const
    {
        return record->parent ? record->parent->holder() : static_cast<QWidget *>(m_browser);
    }
    QGridLayout *parentLayout(Record *record) const
    {
        return record->parent ? record->parent->layout : m_mainLayout;
    }
    PbProperty *propertyOf(Record *record) const { return m_recordToItem.value(record)->property(); }
    Record *recordOf(PbBrowserItem *item) const { return m_itemToRecord.value(item, nullptr); }

    /// A new record for `item`, in its parent's list behind the record of
    /// `afterItem` (first when that has none); no widgets yet.
    Record *addRecord(PbBrowserItem *item, PbBrowserItem *afterItem)
    {
        Record *afterRecord = recordOf(afterItem);
        auto *record = new Record;
        record->parent = recordOf(item->parent());
        QList<Record *> &list = siblings(record);
        list.insert(afterRecord ? list.indexOf(afterRecord) + 1 : 0, record);
        return record;
    }

    /// Gives the record its name label and its editor (or, for a property
    /// with a value, a value label), opens grid row `row` for them and
    /// enters the record in the maps.
    void placeRow(Record *record, PbBrowserItem *item, int row)
    {
        QWidget *owner = parentWidget(record);
        QGridLayout *layout = parentLayout(record);
        record->label = PbGridRows::createNameLabel(owner);
        record->widget = m_browser->createEditor(item->property(), owner);
        if (record->widget) {
            QObject::connect(record->widget, SIGNAL(destroyed()), m_browser, SLOT(slotEditorDestroyed()));
            m_editorToRecord.insert(record->widget, record);
        } else if (item->property()->hasValue()) {
            record->widgetLabel = PbGridRows::createValueLabel(owner);
        }
        PbGridRows::insertRow(layout, row);
        QWidget *value = record->widget ? record->widget : record->widgetLabel;
        if (value)
            layout->addWidget(value, row, 1);
        layout->addWidget(record->label, row, 0, 1, value ? 1 : 2);
        m_itemToRecord.insert(item, record);
        m_recordToItem.insert(record, item);
    }

    /// Takes the record out of the maps, the queue and its parent's list and
    /// deletes its name label, value label and editor. A parent that lost
    /// its last child earlier may still wait in the queue: it must not be
    /// served once its record is gone.
    void dropRecord(PbBrowserItem *item, Record *record)
    {
        m_itemToRecord.remove(item);
        m_recordToItem.remove(record);
        m_recreateQueue.removeAll(record);
        siblings(record).removeAll(record);
        m_editorToRecord.remove(record->widget);
        delete record->widget;
        delete record->label;
        delete record->widgetLabel;
    }

    /// Queues the record (once) for its plain row on the next event-loop turn.
    void queueRecreate(Record *record)
    {
        if (!m_recreateQueue.contains(record))
            m_recreateQueue.append(record);
        m_updateTimer->start();
    }

    /// Shows the record's property on its header, name label and value.
    void updateRecord(Record *record) const
    {
        const PbProperty *property = propertyOf(record);
        if (QWidget *header = record->header())
            PbGridRows::showName(header, property);
        if (record->label)
            PbGridRows::showName(record->label, property);
        PbGridRows::showValue(record->widgetLabel, record->widget, property);
    }

    void propertyChanged(PbBrowserItem *item) const
    {
        if (Record *record = recordOf(item))
            updateRecord(record);
    }

    /// Forgets an editor that is being destroyed, found by its identity.
    void editorDestroyed(const QObject *editor)
    {
        if (Record *record = m_editorToRecord.take(editor))
            record->widget = nullptr;
    }

    /// Deletes every record; the widgets go with the browser, later than
    /// the private part, so the editors' destroyed() is cut here.
    void deleteRecords()
    {
        for (auto it = m_editorToRecord.cbegin(); it != m_editorToRecord.cend(); ++it)
            QObject::disconnect(it.key(), nullptr, m_browser, nullptr);
        qDeleteAll(m_recordToItem.keys());
        m_itemToRecord.clear();
        m_recordToItem.clear();
        m_editorToRecord.clear();
    }

    QHash<PbBrowserItem *, Record *> m_itemToRecord;
    QHash<Record *, PbBrowserItem *> m_recordToItem;
    // Keyed by object identity: an editor in destruction is no widget any more.
    QHash<const QObject *, Record *> m_editorToRecord;
    QGridLayout *m_mainLayout = nullptr;
    QList<Record *> m_children;  // the top-level records
    QList<Record *> m_recreateQueue;
    QTimer *m_updateTimer = nullptr;

private:
    PbAbstractPropertyBrowser *m_browser;
};

#endif
