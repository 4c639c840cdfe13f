// Timing of the tree property browser with a parameter tree shaped like the
// main window's: N parameters (integer, floating-point, text, boolean,
// choice) in 50 groups, two extra text columns. Prints the time to populate
// and show, to update every value once through the managers while shown, and
// to clear, for 500 and 5,000 parameters side by side; then the same for a
// tree of variant properties of mixed types.
#include "parameter_managers.h"
#include "propertybrowser/pbproperty.h"
#include "propertybrowser_tree_variant.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

using Figures = TreeFigures;

double ms(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

Figures run(int parameters)
{
    const int groupsCount = 50;
    ParameterManagers pm;
    Figures f;

    PbTreePropertyBrowser browser;
    pm.bindFactories(browser);
    browser.setExtraColumns({"Тип", "Описание"});
    browser.setResizeMode(PbTreePropertyBrowser::Interactive);
    browser.setSplitterPosition(0, 300);
    browser.setSplitterPosition(1, 250);
    browser.setSplitterPosition(2, 80);
    browser.resize(1000, 700);

    QList<PbProperty *> params;
    params.reserve(parameters);
    QElapsedTimer t;
    t.start();
    for (int g = 0; g < groupsCount; ++g) {
        PbProperty *group = pm.groups.addProperty(QString("Группа %1").arg(g));
        for (int k = g; k < parameters; k += groupsCount) {
            PbProperty *p = nullptr;
            switch (k % 8) {
            case 0: case 1: case 2: case 3:
                p = pm.ints.addProperty(QString("int_%1").arg(k));
                pm.ints.setValue(p, k);
                break;
            case 4:
                p = pm.doubles.addProperty(QString("real_%1").arg(k));
                pm.doubles.setValue(p, k / 3.0);
                break;
            case 5:
                p = pm.strings.addProperty(QString("text_%1").arg(k));
                pm.strings.setValue(p, QString("value %1").arg(k));
                break;
            case 6:
                p = pm.bools.addProperty(QString("flag_%1").arg(k));
                pm.bools.setValue(p, k % 2);
                break;
            default:
                p = pm.enums.addProperty(QString("choice_%1").arg(k));
                pm.enums.setEnumNames(p, {"off", "on", "auto"});
                break;
            }
            p->setColumnTexts({"UNSIGNED32", QString("Описание параметра %1").arg(k)});
            group->addSubProperty(p);
            params << p;
        }
        browser.addProperty(group);
    }
    browser.show();
    QApplication::processEvents();
    f.populate = ms(t);

    t.restart();
    for (PbProperty *p : qAsConst(params)) {
        const QObject *m = p->propertyManager();
        if (m == &pm.ints)
            pm.ints.setValue(p, pm.ints.value(p) + 1);
        else if (m == &pm.doubles)
            pm.doubles.setValue(p, pm.doubles.value(p) + 1);
        else if (m == &pm.strings)
            pm.strings.setValue(p, pm.strings.value(p) + "+");
        else if (m == &pm.bools)
            pm.bools.setValue(p, !pm.bools.value(p));
        else
            pm.enums.setValue(p, (pm.enums.value(p) + 1) % 3);
    }
    QApplication::processEvents();
    f.update = ms(t);

    t.restart();
    browser.clear();
    for (PbAbstractPropertyManager *m : std::initializer_list<PbAbstractPropertyManager *>{
             &pm.ints, &pm.doubles, &pm.strings, &pm.bools, &pm.enums, &pm.groups})
        m->clear();
    QApplication::processEvents();
    f.clear = ms(t);
    return f;
}

/// The three figures at 500 and 5,000 properties side by side.
void printFigures(const char *title, const Figures &small, const Figures &large)
{
    std::printf("%-42s %10s %10s %8s\n", title, "500", "5000", "ratio");
    const struct {
        const char *name;
        double Figures::*field;
    } rows[] = {{"populate and show (ms)", &Figures::populate},
                {"update every value (ms)", &Figures::update},
                {"clear (ms)", &Figures::clear}};
    for (const auto &row : rows)
        std::printf("%-42s %10.1f %10.1f %8.1f\n", row.name, small.*row.field, large.*row.field,
                    large.*row.field / small.*row.field);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    run(200); // warm-up: fonts, styles, icons
    // Each run in turn: the order of evaluation of call arguments is not fixed.
    const Figures small = run(500);
    const Figures large = run(5000);
    printFigures("tree browser, 50 groups, 2 extra columns", small, large);
    std::printf("targets: populate+show < 1000 ms, update < 200 ms at 5000; ratio near 10 (linear)\n");

    runVariantTree(200); // warm-up
    const Figures variantSmall = runVariantTree(500);
    const Figures variantLarge = runVariantTree(5000);
    printFigures("\nvariant properties, 8 types, 50 groups", variantSmall, variantLarge);
    std::printf("targets: each < 1000 ms at 5000; ratio near 10 (linear)\n");
    return 0;
}
