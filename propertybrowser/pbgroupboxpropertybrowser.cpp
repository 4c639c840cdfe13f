// Group-box browser: grid rows, group boxes for properties with children, and
// the deferred return of a plain row once a property loses its last child.
#include "propertybrowser/pbgroupboxpropertybrowser.h"

#include "propertybrowser/pbgroupboxpropertybrowser_p.h"

#include <QFrame>
#include <QGroupBox>

using Record = PbGroupBoxBrowserRecord;

QWidget *PbGroupBoxBrowserRecord::header() const { return groupBox; }
QWidget *PbGroupBoxBrowserRecord::holder() const { return groupBox; }

int PbGroupBoxPropertyBrowserPrivate::gridRow(Record *record) const
{
    // The line marks the header even after the editor was deleted from outside.
    const int header = record->parent && record->parent->line ? 2 : 0;
    return siblings(record).indexOf(record) + header;
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
        // Hidden while its row waited to come back plain; a child arriving
        // before that happened makes it the box's header again.
        record->widget->show();
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
    queueRecreate(record);
}

void PbGroupBoxPropertyBrowserPrivate::propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    Record *record = addRecord(item, afterItem);
    if (record->parent && !record->parent->groupBox)
        becomeGroup(record->parent);
    placeRow(record, item, gridRow(record));
    updateRecord(record);
}

void PbGroupBoxPropertyBrowserPrivate::propertyRemoved(PbBrowserItem *item)
{
    Record *record = recordOf(item);
    if (!record)
        return;
    QGridLayout *layout = parentLayout(record);
    const int row = gridRow(record);
    dropRecord(item, record);
    delete record->groupBox;
    if (record->parent && record->parent->children.isEmpty())
        stopBeingGroup(record->parent);
    else
        PbGridRows::removeRow(layout, row);
    delete record;
}

void PbGroupBoxPropertyBrowserPrivate::slotUpdate()
{
    for (Record *record : qAsConst(m_recreateQueue)) {
        QWidget *owner = parentWidget(record);
        QGridLayout *layout = parentLayout(record);
        const int row = gridRow(record);
        if (!record->widget && !record->widgetLabel && propertyOf(record)->hasValue())
            record->widgetLabel = PbGridRows::createValueLabel(owner);
        QWidget *value = record->widget ? record->widget : record->widgetLabel;
        if (value) {
            layout->addWidget(value, row, 1);
            value->show();
        }
        record->label = PbGridRows::createNameLabel(owner);
        layout->addWidget(record->label, row, 0, 1, value ? 1 : 2);
        updateRecord(record);
    }
    m_recreateQueue.clear();
}

PbGroupBoxPropertyBrowser::PbGroupBoxPropertyBrowser(QWidget *parent)
    : PbAbstractPropertyBrowser(parent), d_ptr(new PbGroupBoxPropertyBrowserPrivate(this))
{
    d_ptr->init();
}

PbGroupBoxPropertyBrowser::~PbGroupBoxPropertyBrowser()
{
    d_ptr->deleteRecords();
    delete d_ptr;
}

void PbGroupBoxPropertyBrowser::itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    d_ptr->propertyInserted(item, afterItem);
}

void PbGroupBoxPropertyBrowser::itemRemoved(PbBrowserItem *item) { d_ptr->propertyRemoved(item); }

void PbGroupBoxPropertyBrowser::itemChanged(PbBrowserItem *item) { d_ptr->propertyChanged(item); }

void PbGroupBoxPropertyBrowser::slotUpdate() { d_ptr->slotUpdate(); }

void PbGroupBoxPropertyBrowser::slotEditorDestroyed() { d_ptr->editorDestroyed(sender()); }
