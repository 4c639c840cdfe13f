// Button browser: grid rows, expandable panels of sub-properties, and the
// deferred return of a name label once a property loses its last child.
#include "pbbuttonpropertybrowser.h"

#include "pbbrowseritem.h"
#include "pbbuttonpropertybrowser_p.h"
#include "pbgridrows_p.h"
#include "pbproperty.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

using Record = PbButtonPropertyBrowserPrivate::Record;

void PbButtonPropertyBrowserPrivate::init()
{
    m_mainLayout = new QGridLayout();
    q_ptr->setLayout(m_mainLayout);
    m_mainLayout->addItem(new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Expanding), 0, 0);
    m_updateTimer = new QTimer(q_ptr);
    m_updateTimer->setSingleShot(true);
    m_updateTimer->setInterval(0);
    QObject::connect(m_updateTimer, SIGNAL(timeout()), q_ptr, SLOT(slotUpdate()));
}

QWidget *PbButtonPropertyBrowserPrivate::parentWidget(Record *record) const
{
    return record->parent ? static_cast<QWidget *>(record->parent->container) : q_ptr;
}

QGridLayout *PbButtonPropertyBrowserPrivate::parentLayout(Record *record) const
{
    return record->parent ? record->parent->layout : m_mainLayout;
}

int PbButtonPropertyBrowserPrivate::gridRow(Record *record) const
{
    const QList<Record *> &list = record->parent ? record->parent->children : m_children;
    int row = 0;
    for (Record *sibling : list) {
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
    if (!m_recreateQueue.contains(record))
        m_recreateQueue.append(record);
    if (record->expanded) {
        record->expanded = false;
        PbGridRows::removeRow(layout, gridRow(record) + 1);
    }
    m_updateTimer->start();
}

void PbButtonPropertyBrowserPrivate::propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    Record *afterRecord = m_itemToRecord.value(afterItem, nullptr);
    Record *parentRecord = m_itemToRecord.value(item->parent(), nullptr);
    auto *record = new Record;
    record->parent = parentRecord;
    if (parentRecord && !parentRecord->container)
        becomeGroup(parentRecord);
    QList<Record *> &list = siblings(record);
    const int place = afterRecord ? list.indexOf(afterRecord) + 1 : 0;
    const int row = afterRecord ? gridRow(afterRecord) + gridSpan(afterRecord) : 0;
    list.insert(place, record);

    QWidget *owner = parentWidget(record);
    QGridLayout *layout = parentLayout(record);
    record->label = PbGridRows::createNameLabel(owner);
    record->widget = q_ptr->createEditor(item->property(), owner);
    if (record->widget) {
        QObject::connect(record->widget, SIGNAL(destroyed()), q_ptr, SLOT(slotEditorDestroyed()));
        m_editorToRecord.insert(record->widget, record);
    } else if (item->property()->hasValue()) {
        record->widgetLabel = PbGridRows::createValueLabel(owner);
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

void PbButtonPropertyBrowserPrivate::propertyRemoved(PbBrowserItem *item)
{
    Record *record = m_itemToRecord.take(item);
    if (!record)
        return;
    m_recordToItem.remove(record);
    // A parent that lost its last child earlier may still wait for its name
    // label: it must not be served after this record is gone.
    m_recreateQueue.removeAll(record);
    Record *parentRecord = record->parent;
    QGridLayout *layout = parentLayout(record);
    const int row = gridRow(record);
    const int span = gridSpan(record);
    siblings(record).removeAll(record);
    m_buttonToRecord.remove(record->button);
    m_editorToRecord.remove(record->widget);
    delete record->widget;
    delete record->label;
    delete record->widgetLabel;
    delete record->button;
    delete record->container;
    if (parentRecord && parentRecord->children.isEmpty()) {
        stopBeingGroup(parentRecord);
    } else {
        for (int i = 0; i < span; ++i)
            PbGridRows::removeRow(layout, row);
    }
    delete record;
}

void PbButtonPropertyBrowserPrivate::propertyChanged(PbBrowserItem *item)
{
    if (Record *record = m_itemToRecord.value(item, nullptr))
        updateRecord(record);
}

void PbButtonPropertyBrowserPrivate::updateRecord(Record *record)
{
    const PbProperty *property = m_recordToItem.value(record)->property();
    if (record->button)
        PbGridRows::showName(record->button, property);
    if (record->label)
        PbGridRows::showName(record->label, property);
    PbGridRows::showValue(record->widgetLabel, record->widget, property);
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
        QGridLayout *layout = parentLayout(record);
        const int span = record->widget || record->widgetLabel ? 1 : 2;
        record->label = PbGridRows::createNameLabel(parentWidget(record));
        layout->addWidget(record->label, gridRow(record), 0, 1, span);
        updateRecord(record);
    }
    m_recreateQueue.clear();
}

void PbButtonPropertyBrowserPrivate::slotEditorDestroyed(QObject *editor)
{
    if (Record *record = m_editorToRecord.take(editor))
        record->widget = nullptr;
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

void PbButtonPropertyBrowserPrivate::deleteItems()
{
    // The editors die with the browser's widgets, later than this part.
    for (auto it = m_editorToRecord.cbegin(); it != m_editorToRecord.cend(); ++it)
        QObject::disconnect(it.key(), nullptr, q_ptr, nullptr);
    qDeleteAll(m_recordToItem.keys());
    m_itemToRecord.clear();
    m_recordToItem.clear();
}

PbButtonPropertyBrowser::PbButtonPropertyBrowser(QWidget *parent)
    : PbAbstractPropertyBrowser(parent), d_ptr(new PbButtonPropertyBrowserPrivate(this))
{
    d_ptr->init();
}

PbButtonPropertyBrowser::~PbButtonPropertyBrowser()
{
    d_ptr->deleteItems();
    delete d_ptr;
}

void PbButtonPropertyBrowser::setExpanded(PbBrowserItem *item, bool expanded)
{
    if (PbButtonPropertyBrowserPrivate::Record *record = d_ptr->m_itemToRecord.value(item, nullptr))
        d_ptr->setExpanded(record, expanded);
}

bool PbButtonPropertyBrowser::isExpanded(PbBrowserItem *item) const
{
    const PbButtonPropertyBrowserPrivate::Record *record = d_ptr->m_itemToRecord.value(item, nullptr);
    return record && record->expanded;
}

void PbButtonPropertyBrowser::itemInserted(PbBrowserItem *item, PbBrowserItem *afterItem)
{
    d_ptr->propertyInserted(item, afterItem);
}

void PbButtonPropertyBrowser::itemRemoved(PbBrowserItem *item) { d_ptr->propertyRemoved(item); }

void PbButtonPropertyBrowser::itemChanged(PbBrowserItem *item) { d_ptr->propertyChanged(item); }

void PbButtonPropertyBrowser::slotUpdate() { d_ptr->slotUpdate(); }

void PbButtonPropertyBrowser::slotEditorDestroyed() { d_ptr->slotEditorDestroyed(sender()); }

void PbButtonPropertyBrowser::slotToggled(bool checked) { d_ptr->slotToggled(sender(), checked); }
