// Plain line-edit editors for text properties, committing on Enter or Return.
#include "propertybrowser/pblineeditfactory.h"

#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbfactoryutils_p.h"

#include <QLineEdit>
#include <QRegExpValidator>

class PbLineEditFactoryPrivate
{
public:
    PbLineEditFactory *q_ptr;
    EditorTracker<QLineEdit> tracker;
};

PbLineEditFactory::PbLineEditFactory(QObject *parent)
    : PbAbstractEditorFactory<PbStringPropertyManager>(parent), d_ptr(new PbLineEditFactoryPrivate{this, {}})
{
}

PbLineEditFactory::~PbLineEditFactory()
{
    deleteTrackedEditors(d_ptr->tracker);
    delete d_ptr;
}

// The string manager announces input-mask changes, so open editors follow
// them as they follow the other settings.
static void linkManager(PbStringPropertyManager *manager, PbLineEditFactory *factory, bool connectIt)
{
    static const SignalLink links[] = {
        {SIGNAL(valueChanged(PbProperty*,QString)), SLOT(slotPropertyChanged(PbProperty*,QString))},
        {SIGNAL(regExpChanged(PbProperty*,QRegExp)), SLOT(slotRegExpChanged(PbProperty*,QRegExp))},
        {SIGNAL(inputMaskChanged(PbProperty*,QString)), SLOT(slotInputMaskChanged(PbProperty*,QString))},
        {SIGNAL(echoModeChanged(PbProperty*,int)), SLOT(slotEchoModeChanged(PbProperty*,int))},
        {SIGNAL(readOnlyChanged(PbProperty*,bool)), SLOT(slotReadOnlyChanged(PbProperty*,bool))},
    };
    linkSignals(manager, factory, links, connectIt);
}

void PbLineEditFactory::connectPropertyManager(PbStringPropertyManager *manager)
{
    linkManager(manager, this, true);
}

void PbLineEditFactory::disconnectPropertyManager(PbStringPropertyManager *manager)
{
    linkManager(manager, this, false);
}

// A validator over a valid expression, owned by the editor; null otherwise.
static QValidator *makeValidator(const QRegExp &regExp, QLineEdit *editor)
{
    return regExp.isValid() ? new QRegExpValidator(regExp, editor) : nullptr;
}

QWidget *PbLineEditFactory::createEditor(PbStringPropertyManager *manager, PbProperty *property, QWidget *parent)
{
    QLineEdit *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setEchoMode(QLineEdit::EchoMode(manager->echoMode(property)));
    editor->setReadOnly(manager->isReadOnly(property));
    editor->setInputMask(manager->inputMask(property));
    if (QValidator *validator = makeValidator(manager->regExp(property), editor))
        editor->setValidator(validator);
    editor->setText(manager->value(property));
    connect(editor, SIGNAL(returnPressed()), this, SLOT(slotSetValue()));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbLineEditFactory::slotPropertyChanged(PbProperty *property, const QString &value)
{
    const QList<QLineEdit *> editors = d_ptr->tracker.editors(property);
    if (editors.isEmpty())
        return;
    updateEditorsBlocked(editors, [&value](QLineEdit *e) {
        if (e->text() != value)
            e->setText(value);
    });
    if (PbStringPropertyManager *manager = managerForProperty(property))
        Q_EMIT manager->valueUpdated(property, value);
}

void PbLineEditFactory::slotRegExpChanged(PbProperty *property, const QRegExp &regExp)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property), [&regExp](QLineEdit *e) {
        const QValidator *old = e->validator();
        e->setValidator(makeValidator(regExp, e));
        delete old;
    });
}

void PbLineEditFactory::slotInputMaskChanged(PbProperty *property, const QString &mask)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property), [&mask](QLineEdit *e) { e->setInputMask(mask); });
}

void PbLineEditFactory::slotEchoModeChanged(PbProperty *property, int mode)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property),
                         [mode](QLineEdit *e) { e->setEchoMode(QLineEdit::EchoMode(mode)); });
}

void PbLineEditFactory::slotReadOnlyChanged(PbProperty *property, bool readOnly)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property), [readOnly](QLineEdit *e) { e->setReadOnly(readOnly); });
}

void PbLineEditFactory::slotSetValue()
{
    // Only the editor in which Enter was pressed is committed: committing
    // every open editor of the property in turn would let a stale text in
    // another editor overwrite what was just typed.
    QLineEdit *editor = d_ptr->tracker.editorOf(sender());
    PbProperty *property = d_ptr->tracker.propertyOf(sender());
    PbStringPropertyManager *manager = managerForProperty(property);
    if (!editor || !manager)
        return;
    const bool wasBlocked = editor->blockSignals(true);
    manager->setValue(property, editor->text(), manager->isReadOnly(property));
    editor->blockSignals(wasBlocked);
}

void PbLineEditFactory::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
