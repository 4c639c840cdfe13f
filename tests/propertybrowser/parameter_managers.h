// The managers and editor factories the main window uses for its parameter
// tree, bound to a tree browser the way the main window binds them. Shared
// by the tree browser's tests and its benchmark.
#ifndef PARAMETER_MANAGERS_H
#define PARAMETER_MANAGERS_H

#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbcheckboxfactory.h"
#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbdoublespinboxfactory.h"
#include "propertybrowser/pbenumeditorfactory.h"
#include "propertybrowser/pbgrouppropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pblineeditfactory2.h"
#include "propertybrowser/pbspinboxfactory2.h"
#include "propertybrowser/pbstringpropertymanager.h"
#include "propertybrowser/pbtreepropertybrowser.h"

#include <QWidget>

struct ParameterManagers {
    PbGroupPropertyManager groups;
    PbIntPropertyManager ints;
    PbDoublePropertyManager doubles;
    PbStringPropertyManager strings;
    PbBoolPropertyManager bools;
    PbEnumPropertyManager enums;
    QWidget factoryParent;
    PbCheckBoxFactory checkFactory{&factoryParent};
    PbSpinBoxFactory2 spinFactory{&factoryParent};
    PbLineEditFactory2 lineFactory{&factoryParent};
    PbEnumEditorFactory enumFactory{&factoryParent};
    PbDoubleSpinBoxFactory doubleFactory{&factoryParent};

    void bindFactories(PbTreePropertyBrowser &browser)
    {
        browser.setFactoryForManager(&bools, &checkFactory);
        browser.setFactoryForManager(&ints, &spinFactory);
        browser.setFactoryForManager(&strings, &lineFactory);
        browser.setFactoryForManager(&enums, &enumFactory);
        browser.setFactoryForManager(&doubles, &doubleFactory);
    }
};

#endif
