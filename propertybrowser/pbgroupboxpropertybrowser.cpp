// Group-box browser: grid rows, group boxes for properties with children, and
// the deferred return of a plain row once a property loses its last child.
#include "pbgroupboxpropertybrowser.h"

#include "pbbrowseritem.h"
#include "pbgridrows_p.h"
#include "pbgroupboxpropertybrowser_p.h"
#include "pbproperty.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>

using Record = PbGroupBoxPropertyBrowserPrivate::Record;

void PbGroupBoxPropertyBrowserPrivate::init()
{
    m_mainLayout = new QGridLayout();
    q_ptr->setLayout(m_mainLayout);
    m_mainLayout->addItem(new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Expanding), 0, 0);
    m_updateTimer = new QTimer(q_ptr);
    m_updateTimer->setSingleShot(true);
    m_updateTimer->setInterval(0);
    QObject::connect(m_updateTimer, SIGNAL(timeout()), q_ptr, SLOT(slotUpdate()));
}

QWidget *PbGroupBoxPropertyBrowserPrivate::parentWidget(Record *record) const
{
    return record->parent ? static_cast<QWidget *>(record->parent->groupBox) : q_ptr;
}

QGridLayout *PbGroupBoxPropertyBrowserPrivate::parentLayout(Record *record) const
{
    return record->parent ? record->parent->layout : m_mainLayout;
}

int PbGroupBoxPropertyBrowserPrivate::gridRow(Record *record) const
{
    // Inside a group whose property has an editor, that editor and a line
    // take the first two rows.
    const int header = record->parent && record->parent->widget ? 2 : 0;
    const QList<Record *> &list = record->parent ? record->parent->children : m_children;
    return list.indexOf(record) + header;
}

void PbGroupBoxPropertyBrowserPrivate::becomeGroup(Record *record)
{
    m_recreateQueue.removeAll(record);
    QGridLayout *outerLayout = parentLayout(record);
    record->groupBox = new QGroupBox(parentWidget(record));
    record->layout = new QGridLayout();
    record->groupBox->setLayout(record->layout);
    if (record->label) {
        outerLayout->removeWidget(record->label);
        delete record->label;
        record->label = nullptr;
    }
    if (record->widget) {
        outerLayout->removeWidget(record->widget);
        record->layout->addWidget(record->widget, 0, 0, 1, 2);
        record->line = new QFrame(record->groupBox);
        record->line->setFrameShape(QFrame::HLine);
        record->line->setFrameShadow(QFrame::Sunken);
        record->layout->addWidget(record->line, 1, 0, 1, 2);
    } else if (record->widgetLabel) {
        outerLayout->removeWidget(record->widgetLabel);
        delete record->widgetLabel;
        record->widgetLabel = nullptr;
    }
    outerLayout->addWidget(record->groupBox, gridRow(record), 0, 1, 2);
    updateRecord(record);
}

void PbGroupBoxPropertyBrowserPrivate::stopBeingGroup(Record *record)
{
    // The editor outlives its group box: it is taken out of the box (into the
    // widget that holds the box) before the box and its children go.
    if (record->widget) {
        record->layout->removeWidget(record->widget);
        record->widget->hide();
        record->widget->setParent(parentWidget(record));
    }
    parentLayout(record)->removeWidget(record->groupBox);
    delete record->groupBox;
    record->groupBox = nullptr;
    record->layout = nullptr;
    record->line = nullptr;
    if (!m_recreateQueue.contains(record))
        m_recreateQueue.append(record);
    m_updateTimer->start();
}

void PbGroupBoxPropertyBrowserPrivate::propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    Record *afterRecord = m_itemToRecord.value(afterItem, nullptr);
    Record *parentRecord = m_itemToRecord.value(item->parent(), nullptr);
    auto *record = new Record;
    record->parent = parentRecord;
    if (parentRecord && !parentRecord->groupBox)
        becomeGroup(parentRecord);
    QList<Record *> &list = siblings(record);
    list.insert(afterRecord ? list.indexOf(afterRecord) + 1 : 0, record);
    const int row = gridRow(record);

    QWidget *owner = parentWidget(record);
    QGridLayout *layout = parentLayout(record);
    record->label = PbGridRows::createNameLabel(owner);
    record->widget = q_ptr->createEditor(item->property(), owner);
    if (record->widget) {
        QObject::connect(record->widget, SIGNAL(destroyed()), q_ptr, SLOT(slotEditorDestroyed()));
        m_editorToRecord.insert(record->widget, record);
    } else if (item->property()->hasValue()) {
        record->widgetLabel = PbGridRows::createValueLabel(owner);
        record->widgetLabel->setTextFormat(Qt::PlainText);
    }
    PbGridRows::insertRow(layout, row);
    int span = 1;
    if (record->widget)
        layout->addWidget(record->widget, row, 1);
    else if (record->widgetLabel)
        layout->addWidget(record->widgetLabel, row, 1);
    else
        span = 2;
    layout->addWidget(record->label, row, 0, 1, span);
    m_itemToRecord.insert(item, record);
    m_recordToItem.insert(record, item);
    updateRecord(record);
}

void PbGroupBoxPropertyBrowserPrivate::propertyRemoved(PbBrowserItem *item)
{
    Record *record = m_itemToRecord.take(item);
    if (!record)
        return;
    m_recordToItem.remove(record);
    // A parent that lost its last child earlier may still wait for its row
    // to come back: it must not be served after this record is gone.
    m_recreateQueue.removeAll(record);
    Record *parentRecord = record->parent;
    QGridLayout *layout = parentLayout(record);
    const int row = gridRow(record);
    siblings(record).removeAll(record);
    m_editorToRecord.remove(record->widget);
    delete record->widget;
    delete record->label;
    delete record->widgetLabel;
    delete record->groupBox;
    if (parentRecord && parentRecord->children.isEmpty())
        stopBeingGroup(parentRecord);
    else
        PbGridRows::removeRow(layout, row);
    delete record;
}

void PbGroupBoxPropertyBrowserPrivate::propertyChanged(PbBrowserItem *item)
{
    if (Record *record = m_itemToRecord.value(item, nullptr))
        updateRecord(record);
}

void PbGroupBoxPropertyBrowserPrivate::updateRecord(Record *record)
{
    const PbProperty *property = m_recordToItem.value(record)->property();
    if (record->groupBox)
        PbGridRows::showName(record->groupBox, property);
    if (record->label)
        PbGridRows::showName(record->label, property);
    PbGridRows::showValue(record->widgetLabel, record->widget, property);
}

void PbGroupBoxPropertyBrowserPrivate::slotUpdate()
{
    for (Record *record : qAsConst(m_recreateQueue)) {
        QWidget *owner = parentWidget(record);
        QGridLayout *layout = parentLayout(record);
        const int row = gridRow(record);
        PbProperty *property = m_recordToItem.value(record)->property();
        if (!record->widget && !record->widgetLabel && property->hasValue()) {
            record->widgetLabel = PbGridRows::createValueLabel(owner);
            record->widgetLabel->setTextFormat(Qt::PlainText);
        }
        QWidget *valueWidget = record->widget ? record->widget : record->widgetLabel;
        if (valueWidget) {
            layout->addWidget(valueWidget, row, 1);
            valueWidget->show();
        }
        record->label = PbGridRows::createNameLabel(owner);
        layout->addWidget(record->label, row, 0, 1, valueWidget ? 1 : 2);
        updateRecord(record);
    }
    m_recreateQueue.clear();
}

void PbGroupBoxPropertyBrowserPrivate::slotEditorDestroyed(QObject *editor)
{
    if (Record *record = m_editorToRecord.take(editor))
        record->widget = nullptr;
}

void PbGroupBoxPropertyBrowserPrivate::deleteItems()
{
    // The editors die with the browser's widgets, later than this part.
    for (auto it = m_editorToRecord.cbegin(); it != m_editorToRecord.cend(); ++it)
        QObject::disconnect(it.key(), nullptr, q_ptr, nullptr);
    qDeleteAll(m_recordToItem.keys());
    m_itemToRecord.clear();
    m_recordToItem.clear();
}

PbGroupBoxPropertyBrowser::PbGroupBoxPropertyBrowser(QWidget *parent)
    : PbAbstractPropertyBrowser(parent), d_ptr(new PbGroupBoxPropertyBrowserPrivate(this))
{
    d_ptr->init();
}

PbGroupBoxPropertyBrowser::~PbGroupBoxPropertyBrowser()
{
    d_ptr->deleteItems();
    delete d_ptr;
}

void PbGroupBoxPropertyBrowser::itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    d_ptr->propertyInserted(item, afterItem);
}

void PbGroupBoxPropertyBrowser::itemRemoved(PbBrowserItem *item) { d_ptr->propertyRemoved(item); }

void PbGroupBoxPropertyBrowser::itemChanged(PbBrowserItem *item) { d_ptr->propertyChanged(item); }

void PbGroupBoxPropertyBrowser::slotUpdate() { d_ptr->slotUpdate(); }

void PbGroupBoxPropertyBrowser::slotEditorDestroyed() { d_ptr->slotEditorDestroyed(sender()); }
