// Combo-box editors for enumeration properties.
#include "propertybrowser/pbenumeditorfactory.h"

#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbfactoryutils_p.h"

#include <QAbstractItemView>
#include <QComboBox>

class PbEnumEditorFactoryPrivate
{
public:
    PbEnumEditorFactory *q_ptr;
    EditorTracker<QComboBox> tracker;

    void setCurrentIndex(PbProperty *property, int value);
};

// Icons for the first count items; a null icon where the map holds none.
static void setItemIcons(QComboBox *editor, int count, const QMap<int, QIcon> &icons)
{
    for (int i = 0; i < count; ++i)
        editor->setItemIcon(i, icons.value(i));
}

void PbEnumEditorFactoryPrivate::setCurrentIndex(PbProperty *property, int value)
{
    updateEditorsBlocked(tracker.editors(property), [value](QComboBox *e) { e->setCurrentIndex(value); });
}

PbEnumEditorFactory::PbEnumEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbEnumPropertyManager>(parent), d_ptr(new PbEnumEditorFactoryPrivate{this, {}})
{
}

PbEnumEditorFactory::~PbEnumEditorFactory()
{
    deleteTrackedEditors(d_ptr->tracker);
    delete d_ptr;
}

static void linkManager(PbEnumPropertyManager *manager, PbEnumEditorFactory *factory, bool connectIt)
{
    static const SignalLink links[] = {
        {SIGNAL(valueChanged(PbProperty*,int)), SLOT(slotPropertyChanged(PbProperty*,int))},
        {SIGNAL(valueChangedNoUpdate(PbProperty*,int)), SLOT(slotPropertyChangedNoUpdate(PbProperty*,int))},
        {SIGNAL(enumNamesChanged(PbProperty*,QStringList)), SLOT(slotEnumNamesChanged(PbProperty*,QStringList))},
    };
    linkSignals(manager, factory, links, connectIt);
}

void PbEnumEditorFactory::connectPropertyManager(PbEnumPropertyManager *manager)
{
    linkManager(manager, this, true);
}

void PbEnumEditorFactory::disconnectPropertyManager(PbEnumPropertyManager *manager)
{
    linkManager(manager, this, false);
}

QWidget *PbEnumEditorFactory::createEditor(PbEnumPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    QComboBox *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    editor->setMinimumContentsLength(1);
    editor->view()->setTextElideMode(Qt::ElideRight);
    const QStringList names = manager->enumNames(property);
    editor->addItems(names);
    setItemIcons(editor, names.count(), manager->enumIcons(property));
    editor->setCurrentIndex(manager->value(property));
    connect(editor, SIGNAL(currentIndexChanged(int)), this, SLOT(slotSetValue(int)));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbEnumEditorFactory::slotPropertyChanged(PbProperty *property, int value)
{
    if (!d_ptr->tracker.createdEditors.contains(property))
        return;
    d_ptr->setCurrentIndex(property, value);
    if (PbEnumPropertyManager *manager = managerForProperty(property))
        Q_EMIT manager->valueUpdated(property, value);
}

void PbEnumEditorFactory::slotPropertyChangedNoUpdate(PbProperty *property, int value)
{
    d_ptr->setCurrentIndex(property, value);
}

void PbEnumEditorFactory::slotEnumNamesChanged(PbProperty *property, const QStringList &names)
{
    PbEnumPropertyManager *manager = managerForProperty(property);
    if (!manager)
        return;
    const QMap<int, QIcon> icons = manager->enumIcons(property);
    const int value = manager->value(property);
    updateEditorsBlocked(d_ptr->tracker.editors(property), [&](QComboBox *e) {
        e->clear();
        e->addItems(names);
        setItemIcons(e, names.count(), icons);
        e->setCurrentIndex(value);
    });
}

void PbEnumEditorFactory::slotEnumIconsChanged(PbProperty *property, const QMap<int, QIcon> &icons)
{
    PbEnumPropertyManager *manager = managerForProperty(property);
    if (!manager)
        return;
    const int count = manager->enumNames(property).count();
    const int value = manager->value(property);
    updateEditorsBlocked(d_ptr->tracker.editors(property), [&](QComboBox *e) {
        setItemIcons(e, count, icons);
        e->setCurrentIndex(value);
    });
}

void PbEnumEditorFactory::slotSetValue(int value)
{
    PbProperty *property = d_ptr->tracker.propertyOf(sender());
    if (PbEnumPropertyManager *manager = managerForProperty(property))
        manager->setValue(property, value);
}

void PbEnumEditorFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
