// Timing of the tree property browser over variant properties: N properties
// of mixed types (plain, compound with mirrored rows, enumeration) in 50
// group properties, shown through the variant editor factory. Populate and
// show, update every value once through the variant manager, clear.
#include "propertybrowser_tree_variant.h"

#include "propertybrowser/pbtreepropertybrowser.h"
#include "propertybrowser/pbvarianteditorfactory.h"
#include "propertybrowser/pbvariantpropertymanager.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QPoint>
#include <QSize>

namespace {

double ms(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

// The value of property k in round `round` (0: initial, 1: updated).
QVariant valueFor(int type, int k, int round)
{
    switch (type) {
    case QMetaType::Int:
        return k + round;
    case QMetaType::Double:
        return k / 3.0 + round;
    case QMetaType::QString:
        return QString("value %1/%2").arg(k).arg(round);
    case QMetaType::Bool:
        return (k + round) % 2 == 1;
    case QMetaType::QDate:
        return QDate(2020, 1, 1).addDays(k % 1000 + round);
    case QMetaType::QPoint:
        return QPoint(k, round);
    case QMetaType::QSize:
        return QSize(round, k);
    default: // enumeration
        return (k + round) % 3;
    }
}

} // namespace

TreeFigures runVariantTree(int properties)
{
    const int groupsCount = 50;
    const int types[] = {QMetaType::Int, QMetaType::Double, QMetaType::QString, QMetaType::Bool,
                         QMetaType::QDate, QMetaType::QPoint, QMetaType::QSize,
                         PbVariantPropertyManager::enumTypeId()};
    TreeFigures f;
    PbVariantPropertyManager manager;
    PbVariantEditorFactory factory;
    PbTreePropertyBrowser browser;
    browser.setFactoryForManager(&manager, &factory);
    browser.resize(1000, 700);

    QList<PbVariantProperty *> all;
    all.reserve(properties);
    QElapsedTimer t;
    t.start();
    for (int g = 0; g < groupsCount; ++g) {
        PbVariantProperty *group = manager.addProperty(PbVariantPropertyManager::groupTypeId(), QString("Группа %1").arg(g));
        for (int k = g; k < properties; k += groupsCount) {
            const int type = types[k % 8];
            PbVariantProperty *p = manager.addProperty(type, QString("p_%1").arg(k));
            if (type == PbVariantPropertyManager::enumTypeId())
                p->setAttribute("enumNames", QStringList({"off", "on", "auto"}));
            p->setValue(valueFor(type, k, 0));
            group->addSubProperty(p);
            all << p;
        }
        browser.addProperty(group);
    }
    browser.show();
    QApplication::processEvents();
    f.populate = ms(t);

    t.restart();
    for (int k = 0; k < all.size(); ++k) {
        PbVariantProperty *p = all.at(k);
        p->setValue(valueFor(p->propertyType(), k, 1));
    }
    QApplication::processEvents();
    f.update = ms(t);

    t.restart();
    browser.clear();
    manager.clear();
    QApplication::processEvents();
    f.clear = ms(t);
    return f;
}
