// Private part shared by the slider and scroll-bar factories: both edit an
// integer property with a horizontal QAbstractSlider and commit every move.
#ifndef PBSLIDEREDITORS_P_H
#define PBSLIDEREDITORS_P_H

#include "pbabstracteditorfactory.h"
#include "pbeditortracker_p.h"
#include "pbintpropertymanager.h"

#include <QAbstractSlider>

class PbSliderEditors
{
public:
    explicit PbSliderEditors(PbAbstractEditorFactory<PbIntPropertyManager> *factory) : m_factory(factory) {}

    void connectManager(PbIntPropertyManager *manager, bool connectIt);
    /// Records `bar` (made by the factory), sets it up and wires it to the factory.
    QWidget *setUpEditor(PbIntPropertyManager *manager, PbProperty *property, QAbstractSlider *bar);
    void propertyChanged(PbProperty *property, int value);
    void rangeChanged(PbProperty *property, int minimum, int maximum);
    void singleStepChanged(PbProperty *property, int step);
    void setValue(QObject *sender, int value);
    void deleteEditors();

    EditorTracker<QAbstractSlider> tracker;

private:
    PbAbstractEditorFactory<PbIntPropertyManager> *m_factory;
};

#endif
