// Button browser: grid rows, expandable panels of sub-properties, and the
// deferred return of a name label once a property loses its last child.
#include "propertybrowser/pbbuttonpropertybrowser.h"

#include "propertybrowser/pbbuttonpropertybrowser_p.h"

#include <QFrame>
#include <QToolButton>

using Record = PbButtonBrowserRecord;

QWidget *PbButtonBrowserRecord::header() const { return button; }
QWidget *PbButtonBrowserRecord::holder() const { return container; }

int PbButtonPropertyBrowserPrivate::gridRow(Record *record) const
{
    int row = 0;
    for (Record *sibling : siblings(record)) {
        if (sibling == record)
            break;
        row += gridSpan(sibling);
    }
    return row;
}

void PbButtonPropertyBrowserPrivate::becomeGroup(Record *record)
{
    m_recreateQueue.removeAll(record);
    QWidget *owner = parentWidget(record);
    QGridLayout *layout = parentLayout(record);
    record->container = new QFrame(owner);
    record->container->setFrameShape(QFrame::Panel);
    record->container->setFrameShadow(QFrame::Raised);
    record->layout = new QGridLayout();
    record->container->setLayout(record->layout);
    record->container->hide();
    record->button = new QToolButton(owner);
    record->button->setCheckable(true);
    record->button->setSizePolicy(QSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed));
    record->button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    record->button->setArrowType(Qt::DownArrow);
    record->button->setIconSize(QSize(3, 16));
    m_buttonToRecord.insert(record->button, record);
    QObject::connect(record->button, SIGNAL(toggled(bool)), q_ptr, SLOT(slotToggled(bool)));
    if (record->label) {
        layout->removeWidget(record->label);
        delete record->label;
        record->label = nullptr;
    }
    const int span = record->widget || record->widgetLabel ? 1 : 2;
    layout->addWidget(record->button, gridRow(record), 0, 1, span);
    updateRecord(record);
}

void PbButtonPropertyBrowserPrivate::stopBeingGroup(Record *record)
{
    QGridLayout *layout = parentLayout(record);
    m_buttonToRecord.remove(record->button);
    layout->removeWidget(record->button);
    delete record->button;
    record->button = nullptr;
    layout->removeWidget(record->container);
    delete record->container;
    record->container = nullptr;
    record->layout = nullptr;
    if (record->expanded) {
        record->expanded = false;
        PbGridRows::removeRow(layout, gridRow(record) + 1);
    }
    queueRecreate(record);
}

void PbButtonPropertyBrowserPrivate::propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    Record *record = addRecord(item, afterItem);
    if (record->parent && !record->parent->container)
        becomeGroup(record->parent);
    placeRow(record, item, gridRow(record));
    updateRecord(record);
}

void PbButtonPropertyBrowserPrivate::propertyRemoved(PbBrowserItem *item)
{
    Record *record = recordOf(item);
    if (!record)
        return;
    QGridLayout *layout = parentLayout(record);
    const int row = gridRow(record);
    const int span = gridSpan(record);
    dropRecord(item, record);
    m_buttonToRecord.remove(record->button);
    delete record->button;
    delete record->container;
    if (record->parent && record->parent->children.isEmpty()) {
        stopBeingGroup(record->parent);
    } else {
        for (int i = 0; i < span; ++i)
            PbGridRows::removeRow(layout, row);
    }
    delete record;
}

void PbButtonPropertyBrowserPrivate::setExpanded(Record *record, bool expanded)
{
    if (!record->container || record->expanded == expanded)
        return;
    record->expanded = expanded;
    QGridLayout *layout = parentLayout(record);
    const int row = gridRow(record) + 1;
    if (expanded) {
        PbGridRows::insertRow(layout, row);
        layout->addWidget(record->container, row, 0, 1, 2);
        record->container->show();
    } else {
        layout->removeWidget(record->container);
        record->container->hide();
        PbGridRows::removeRow(layout, row);
    }
    record->button->setChecked(expanded);
    record->button->setArrowType(expanded ? Qt::UpArrow : Qt::DownArrow);
}

void PbButtonPropertyBrowserPrivate::slotUpdate()
{
    for (Record *record : qAsConst(m_recreateQueue)) {
        const int span = record->widget || record->widgetLabel ? 1 : 2;
        record->label = PbGridRows::createNameLabel(parentWidget(record));
        parentLayout(record)->addWidget(record->label, gridRow(record), 0, 1, span);
        updateRecord(record);
    }
    m_recreateQueue.clear();
}

void PbButtonPropertyBrowserPrivate::slotToggled(QObject *button, bool checked)
{
    Record *record = m_buttonToRecord.value(button, nullptr);
    if (!record)
        return;
    setExpanded(record, checked);
    PbBrowserItem *item = m_recordToItem.value(record);
    if (checked)
        Q_EMIT q_ptr->expanded(item);
    else
        Q_EMIT q_ptr->collapsed(item);
}

PbButtonPropertyBrowser::PbButtonPropertyBrowser(QWidget *parent)
    : PbAbstractPropertyBrowser(parent), d_ptr(new PbButtonPropertyBrowserPrivate(this))
{
    d_ptr->init();
}

PbButtonPropertyBrowser::~PbButtonPropertyBrowser()
{
    d_ptr->deleteRecords();
    delete d_ptr;
}

void PbButtonPropertyBrowser::setExpanded(PbBrowserItem *item, bool expanded)
{
    if (PbButtonBrowserRecord *record = d_ptr->recordOf(item))
        d_ptr->setExpanded(record, expanded);
}

bool PbButtonPropertyBrowser::isExpanded(PbBrowserItem *item) const
{
    const PbButtonBrowserRecord *record = d_ptr->recordOf(item);
    return record && record->expanded;
}

void PbButtonPropertyBrowser::itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    d_ptr->propertyInserted(item, afterItem);
}

void PbButtonPropertyBrowser::itemRemoved(PbBrowserItem *item) { d_ptr->propertyRemoved(item); }

void PbButtonPropertyBrowser::itemChanged(PbBrowserItem *item) { d_ptr->propertyChanged(item); }

void PbButtonPropertyBrowser::slotUpdate() { d_ptr->slotUpdate(); }

void PbButtonPropertyBrowser::slotEditorDestroyed() { d_ptr->editorDestroyed(sender()); }

void PbButtonPropertyBrowser::slotToggled(bool checked) { d_ptr->slotToggled(sender(), checked); }
