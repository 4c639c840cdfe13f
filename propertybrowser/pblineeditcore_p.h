// The common part of the two text editor factories (a plain line edit, and a
// line edit with a button): open editors follow every setting of the string
// manager, and Enter commits only the editor it was pressed in.
#pragma once

#include "propertybrowser/pbeditortracker_p.h"
#include "propertybrowser/pbfactoryutils_p.h"
#include "propertybrowser/pblineeditwidget2.h"
#include "propertybrowser/pbstringpropertymanager.h"

#include <QLineEdit>
#include <QRegExpValidator>

inline void setEditorText(QLineEdit *editor, const QString &text) { editor->setText(text); }
inline void setEditorText(PbLineEditWidget2 *editor, const QString &text) { editor->setValue(text); }
inline void setEditorEchoMode(QLineEdit *editor, int mode) { editor->setEchoMode(QLineEdit::EchoMode(mode)); }
inline void setEditorEchoMode(PbLineEditWidget2 *editor, int mode) { editor->setEchoMode(mode); }

// The string manager announces input-mask changes, so open editors follow
// them as they follow the other settings. Both factories have these slots.
template <class Factory>
void linkStringManager(PbStringPropertyManager *manager, Factory *factory, bool connectIt)
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

template <class Editor>
struct LineEditFactoryCore
{
    EditorTracker<Editor> tracker;

    // A validator over a valid expression, owned by the editor; null otherwise.
    static QValidator *makeValidator(const QRegExp &regExp, Editor *editor)
    {
        return regExp.isValid() ? new QRegExpValidator(regExp, editor) : nullptr;
    }

    /// A tracked editor showing the property's settings and text.
    Editor *createEditor(PbStringPropertyManager *manager, PbProperty *property, QWidget *parent)
    {
        Editor *editor = tracker.createEditor(property, parent);
        setEditorEchoMode(editor, manager->echoMode(property));
        editor->setReadOnly(manager->isReadOnly(property));
        editor->setInputMask(manager->inputMask(property));
        if (QValidator *validator = makeValidator(manager->regExp(property), editor))
            editor->setValidator(validator);
        setEditorText(editor, manager->value(property));
        return editor;
    }

    /// The manager's new value into each open editor, then valueUpdated.
    void valueChanged(PbStringPropertyManager *manager, PbProperty *property, const QString &value)
    {
        const QList<Editor *> editors = tracker.editors(property);
        if (editors.isEmpty())
            return;
        updateEditorsBlocked(editors, [&value](Editor *e) {
            if (e->text() != value)
                setEditorText(e, value);
        });
        if (manager)
            Q_EMIT manager->valueUpdated(property, value);
    }

    /// Applies `fn` to each open editor of a property that `manager` serves.
    template <class Fn>
    void update(PbStringPropertyManager *manager, PbProperty *property, Fn fn)
    {
        if (manager)
            updateEditorsBlocked(tracker.editors(property), fn);
    }

    void regExpChanged(PbStringPropertyManager *manager, PbProperty *property, const QRegExp &regExp)
    {
        update(manager, property, [&regExp](Editor *e) {
            const QValidator *old = e->validator();
            e->setValidator(makeValidator(regExp, e));
            delete old;
        });
    }

    void inputMaskChanged(PbStringPropertyManager *manager, PbProperty *property, const QString &mask)
    {
        update(manager, property, [&mask](Editor *e) { e->setInputMask(mask); });
    }

    void echoModeChanged(PbStringPropertyManager *manager, PbProperty *property, int mode)
    {
        update(manager, property, [mode](Editor *e) { setEditorEchoMode(e, mode); });
    }

    void readOnlyChanged(PbStringPropertyManager *manager, PbProperty *property, bool readOnly)
    {
        update(manager, property, [readOnly](Editor *e) { e->setReadOnly(readOnly); });
    }

    /// Commits the text of `sender`, the editor in which Enter was pressed,
    /// and no other: a stale text in another editor of the property would
    /// overwrite what was just typed. The others follow through valueChanged.
    void commit(QObject *sender, PbStringPropertyManager *manager)
    {
        Editor *editor = tracker.editorOf(sender);
        PbProperty *property = tracker.propertyOf(sender);
        if (!editor || !manager)
            return;
        const bool wasBlocked = editor->blockSignals(true);
        manager->setValue(property, editor->text(), manager->isReadOnly(property));
        editor->blockSignals(wasBlocked);
    }
};
