// Text editors with a button, committing on Enter or Return.
#include "propertybrowser/pblineeditfactory2.h"

#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbfactoryutils_p.h"
#include "propertybrowser/pblineeditwidget2.h"

#include <QRegExpValidator>

class PbLineEditFactory2Private
{
public:
    PbLineEditFactory2 *q_ptr;
    EditorTracker<PbLineEditWidget2> tracker;
};

PbLineEditFactory2::PbLineEditFactory2(QObject *parent)
    : PbAbstractEditorFactory<PbStringPropertyManager>(parent), d_ptr(new PbLineEditFactory2Private{this, {}})
{
}

PbLineEditFactory2::~PbLineEditFactory2()
{
    deleteTrackedEditors(d_ptr->tracker);
    delete d_ptr;
}

static void linkManager(PbStringPropertyManager *manager, PbLineEditFactory2 *factory, bool connectIt)
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

void PbLineEditFactory2::connectPropertyManager(PbStringPropertyManager *manager)
{
    linkManager(manager, this, true);
}

void PbLineEditFactory2::disconnectPropertyManager(PbStringPropertyManager *manager)
{
    linkManager(manager, this, false);
}

// A validator over a valid expression, owned by the editor; null otherwise.
static QValidator *makeValidator(const QRegExp &regExp, PbLineEditWidget2 *editor)
{
    return regExp.isValid() ? new QRegExpValidator(regExp, editor) : nullptr;
}

QWidget *PbLineEditFactory2::createEditor(PbStringPropertyManager *manager, PbProperty *property,
                                          QWidget *parent)
{
    PbLineEditWidget2 *editor = d_ptr->tracker.createEditor(property, parent);
    editor->setEchoMode(manager->echoMode(property));
    editor->setReadOnly(manager->isReadOnly(property));
    editor->setInputMask(manager->inputMask(property));
    editor->setBtnVisible(manager->btnVisibility(property));
    editor->setBtnCaption(manager->btnCaption(property));
    if (QValidator *validator = makeValidator(manager->regExp(property), editor))
        editor->setValidator(validator);
    editor->setValue(manager->value(property));
    connect(editor, SIGNAL(valueChanged()), this, SLOT(slotSetValue()));
    connect(editor, SIGNAL(btnClicked()), this, SLOT(slotBtnClicked()));
    connect(editor, SIGNAL(destroyed(QObject*)), this, SLOT(slotEditorDestroyed(QObject*)));
    return editor;
}

void PbLineEditFactory2::slotPropertyChanged(PbProperty *property, const QString &value)
{
    const QList<PbLineEditWidget2 *> editors = d_ptr->tracker.editors(property);
    if (editors.isEmpty())
        return;
    updateEditorsBlocked(editors, [&value](PbLineEditWidget2 *e) {
        if (e->text() != value)
            e->setValue(value);
    });
    if (PbStringPropertyManager *manager = managerForProperty(property))
        Q_EMIT manager->valueUpdated(property, value);
}

void PbLineEditFactory2::slotRegExpChanged(PbProperty *property, const QRegExp &regExp)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property), [&regExp](PbLineEditWidget2 *e) {
        const QValidator *old = e->validator();
        e->setValidator(makeValidator(regExp, e));
        delete old;
    });
}

void PbLineEditFactory2::slotInputMaskChanged(PbProperty *property, const QString &mask)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property), [&mask](PbLineEditWidget2 *e) { e->setInputMask(mask); });
}

void PbLineEditFactory2::slotEchoModeChanged(PbProperty *property, int mode)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property), [mode](PbLineEditWidget2 *e) { e->setEchoMode(mode); });
}

void PbLineEditFactory2::slotReadOnlyChanged(PbProperty *property, bool readOnly)
{
    if (!managerForProperty(property))
        return;
    updateEditorsBlocked(d_ptr->tracker.editors(property),
                         [readOnly](PbLineEditWidget2 *e) { e->setReadOnly(readOnly); });
}

void PbLineEditFactory2::slotSetValue()
{
    // Only the editor in which Enter was pressed is committed, once: the
    // other editors of the property follow through slotPropertyChanged.
    PbLineEditWidget2 *editor = d_ptr->tracker.editorOf(sender());
    PbProperty *property = d_ptr->tracker.propertyOf(sender());
    PbStringPropertyManager *manager = managerForProperty(property);
    if (!editor || !manager)
        return;
    const bool wasBlocked = editor->blockSignals(true);
    manager->setValue(property, editor->text(), manager->isReadOnly(property));
    editor->blockSignals(wasBlocked);
}

void PbLineEditFactory2::slotBtnClicked()
{
    PbProperty *property = d_ptr->tracker.propertyOf(sender());
    if (PbStringPropertyManager *manager = managerForProperty(property))
        Q_EMIT manager->btnClicked(property);
}

void PbLineEditFactory2::slotEditorDestroyed(QObject *object)
{
    d_ptr->tracker.slotEditorDestroyed(object);
}
