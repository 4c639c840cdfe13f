// Timing of the tree property browser with a parameter tree shaped like the
// main window's: N parameters (integer, floating-point, text, boolean,
// choice) in 50 groups, two extra text columns. Prints the time to populate
// and show, to update every value once through the managers while shown, and
// to clear, for 500 and 5,000 parameters side by side; then the same for a
// tree of variant properties of mixed types; then row edits that shift the
// rows after them, at 1,000 and 5,000 rows.
#include "parameter_managers.h"
#include "propertybrowser/pbproperty.h"
#include "propertybrowser_tree_edits.h"
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

template <class F>
struct Row {
    const char *name;
    double F::*field;
};

/// Figures of a small and a large run side by side, with their ratio.
template <class F, size_t N>
void printTable(const char *title, const char *small, const char *large, const F &s, const F &l,
                const Row<F> (&rows)[N])
{
    std::printf("%-42s %10s %10s %8s\n", title, small, large, "ratio");
    for (const Row<F> &row : rows)
        std::printf("%-42s %10.1f %10.1f %8.1f\n", row.name, s.*row.field, l.*row.field, l.*row.field / s.*row.field);
}

/// The three figures at 500 and 5,000 properties side by side.
void printFigures(const char *title, const Figures &small, const Figures &large)
{
    const Row<Figures> rows[] = {{"populate and show (ms)", &Figures::populate},
                                 {"update every value (ms)", &Figures::update},
                                 {"clear (ms)", &Figures::clear}};
    printTable(title, "500", "5000", small, large, rows);
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

    runTreeEdits(200); // warm-up
    const EditFigures editSmall = runTreeEdits(1000);
    const EditFigures editLarge = runTreeEdits(5000);
    const Row<EditFigures> edits[] = {{"clear() of a flat tree (ms)", &EditFigures::flatClear},
                                      {"remove a group's leaves one by one (ms)", &EditFigures::removeLeaves},
                                      {"insert each row at a group's front (ms)", &EditFigures::insertFront}};
    printTable("\nrow edits, every row expanded", "1000", "5000", editSmall, editLarge, edits);
    std::printf("targets: ratio at most 8 (linear is 5)\n");
    return 0;
}
