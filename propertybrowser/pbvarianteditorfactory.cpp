// Variant editor factory: the typed sub-factories, their registration with
// the variant manager's typed managers, and the routing of editor requests.
#include "propertybrowser/pbvarianteditorfactory.h"

#include "propertybrowser/pbchareditorfactory.h"
#include "propertybrowser/pbcheckboxfactory.h"
#include "propertybrowser/pbcoloreditorfactory.h"
#include "propertybrowser/pbcolorpropertymanager.h"
#include "propertybrowser/pbcursoreditorfactory.h"
#include "propertybrowser/pbcursorpropertymanager.h"
#include "propertybrowser/pbdateeditfactory.h"
#include "propertybrowser/pbdatetimeeditfactory.h"
#include "propertybrowser/pbdoublespinboxfactory.h"
#include "propertybrowser/pbenumeditorfactory.h"
#include "propertybrowser/pbfonteditorfactory.h"
#include "propertybrowser/pbfontpropertymanager.h"
#include "propertybrowser/pbkeysequenceeditorfactory.h"
#include "propertybrowser/pblineeditfactory.h"
#include "propertybrowser/pbspinboxfactory.h"
#include "propertybrowser/pbtimeeditfactory.h"

#include <QMap>

class PbVariantEditorFactoryPrivate
{
public:
    explicit PbVariantEditorFactoryPrivate(PbVariantEditorFactory *q);

    /// Registers (or, with `connectIt` false, unregisters) every typed
    /// manager found among `manager`'s descendants.
    void link(PbVariantPropertyManager *manager, bool connectIt);

    PbVariantEditorFactory *q_ptr;
    PbSpinBoxFactory *m_spinBoxFactory;
    PbDoubleSpinBoxFactory *m_doubleSpinBoxFactory;
    PbCheckBoxFactory *m_checkBoxFactory;
    PbLineEditFactory *m_lineEditFactory;
    PbDateEditFactory *m_dateEditFactory;
    PbTimeEditFactory *m_timeEditFactory;
    PbDateTimeEditFactory *m_dateTimeEditFactory;
    PbKeySequenceEditorFactory *m_keySequenceEditorFactory;
    PbCharEditorFactory *m_charEditorFactory;
    PbEnumEditorFactory *m_comboBoxFactory;
    PbCursorEditorFactory *m_cursorEditorFactory;
    PbColorEditorFactory *m_colorEditorFactory;
    PbFontEditorFactory *m_fontEditorFactory;
    QMap<int, PbAbstractEditorFactoryBase *> m_typeToFactory;
};

namespace {

/// Creates a sub-factory of the variant factory and enters it for `type`.
template <class Factory>
Factory *makeFactory(PbVariantEditorFactoryPrivate *d, int type)
{
    auto *factory = new Factory(d->q_ptr);
    d->m_typeToFactory.insert(type, factory);
    return factory;
}

template <class Manager>
void serve(PbAbstractEditorFactory<Manager> *factory, Manager *manager, bool connectIt)
{
    if (connectIt)
        factory->addPropertyManager(manager);
    else
        factory->removePropertyManager(manager);
}

/// Calls `fn` for every descendant of `root` of class `Manager`.
template <class Manager, class Fn>
void forEachManager(QObject *root, Fn fn)
{
    for (Manager *manager : root->findChildren<Manager *>())
        fn(manager);
}

/// Serves every descendant of `root` of the factory's manager class.
template <class Manager>
void serveAll(QObject *root, PbAbstractEditorFactory<Manager> *factory, bool connectIt)
{
    forEachManager<Manager>(root, [&](Manager *manager) { serve(factory, manager, connectIt); });
}

} // namespace

PbVariantEditorFactoryPrivate::PbVariantEditorFactoryPrivate(PbVariantEditorFactory *q) : q_ptr(q)
{
    m_spinBoxFactory = makeFactory<PbSpinBoxFactory>(this, QMetaType::Int);
    m_doubleSpinBoxFactory = makeFactory<PbDoubleSpinBoxFactory>(this, QMetaType::Double);
    m_checkBoxFactory = makeFactory<PbCheckBoxFactory>(this, QMetaType::Bool);
    m_lineEditFactory = makeFactory<PbLineEditFactory>(this, QMetaType::QString);
    m_dateEditFactory = makeFactory<PbDateEditFactory>(this, QMetaType::QDate);
    m_timeEditFactory = makeFactory<PbTimeEditFactory>(this, QMetaType::QTime);
    m_dateTimeEditFactory = makeFactory<PbDateTimeEditFactory>(this, QMetaType::QDateTime);
    m_keySequenceEditorFactory = makeFactory<PbKeySequenceEditorFactory>(this, QMetaType::QKeySequence);
    m_charEditorFactory = makeFactory<PbCharEditorFactory>(this, QMetaType::QChar);
    m_cursorEditorFactory = makeFactory<PbCursorEditorFactory>(this, QMetaType::QCursor);
    m_colorEditorFactory = makeFactory<PbColorEditorFactory>(this, QMetaType::QColor);
    m_fontEditorFactory = makeFactory<PbFontEditorFactory>(this, QMetaType::QFont);
    m_comboBoxFactory = makeFactory<PbEnumEditorFactory>(this, PbVariantPropertyManager::enumTypeId());
}

void PbVariantEditorFactoryPrivate::link(PbVariantPropertyManager *manager, bool connectIt)
{
    // The search is recursive: the sub-managers that the compound managers
    // (point, size, rectangle, colour, font, locale, size policy, flags)
    // own as their children are served as well.
    serveAll(manager, m_spinBoxFactory, connectIt);
    serveAll(manager, m_doubleSpinBoxFactory, connectIt);
    serveAll(manager, m_checkBoxFactory, connectIt);
    serveAll(manager, m_lineEditFactory, connectIt);
    serveAll(manager, m_dateEditFactory, connectIt);
    serveAll(manager, m_timeEditFactory, connectIt);
    serveAll(manager, m_dateTimeEditFactory, connectIt);
    serveAll(manager, m_keySequenceEditorFactory, connectIt);
    serveAll(manager, m_charEditorFactory, connectIt);
    serveAll(manager, m_comboBoxFactory, connectIt);
    serveAll(manager, m_cursorEditorFactory, connectIt);
    serveAll(manager, m_colorEditorFactory, connectIt);
    serveAll(manager, m_fontEditorFactory, connectIt);
}

PbVariantEditorFactory::PbVariantEditorFactory(QObject *parent)
    : PbAbstractEditorFactory<PbVariantPropertyManager>(parent), d_ptr(new PbVariantEditorFactoryPrivate(this))
{
}

PbVariantEditorFactory::~PbVariantEditorFactory()
{
    delete d_ptr;
}

void PbVariantEditorFactory::connectPropertyManager(PbVariantPropertyManager *manager)
{
    d_ptr->link(manager, true);
}

void PbVariantEditorFactory::disconnectPropertyManager(PbVariantPropertyManager *manager)
{
    d_ptr->link(manager, false);
}

QWidget *PbVariantEditorFactory::createEditor(PbVariantPropertyManager *manager, PbProperty *property,
                                              QWidget *parent)
{
    PbAbstractEditorFactoryBase *factory = d_ptr->m_typeToFactory.value(manager->propertyType(property), nullptr);
    return factory ? factory->createEditor(PbVariantPropertyManager::wrappedProperty(property), parent) : nullptr;
}
