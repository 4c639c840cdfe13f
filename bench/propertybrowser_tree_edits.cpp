// Row edits of the tree property browser that make the model move the rows
// after the edited one: a flat clear, leaves removed one by one, rows inserted
// at a group's front. Each is timed with the events it leaves pending.
#include "propertybrowser_tree_edits.h"

#include "propertybrowser/pbgrouppropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pbproperty.h"
#include "propertybrowser/pbtreepropertybrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>

namespace {

struct Fixture {
    PbGroupPropertyManager groups;
    PbIntPropertyManager ints;
    PbTreePropertyBrowser browser;
    QList<PbProperty *> leaves;

    explicit Fixture(int rows)
    {
        browser.resize(800, 600);
        browser.show();
        leaves.reserve(rows);
        for (int k = 0; k < rows; ++k) {
            leaves << ints.addProperty(QString("int_%1").arg(k));
            ints.setValue(leaves.last(), k);
        }
    }
};

template <class Edit>
double timed(Edit edit)
{
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    edit();
    QApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}

EditFigures runTreeEditsOnce(int rows)
{
    EditFigures f;
    {
        Fixture x(rows);
        for (PbProperty *p : qAsConst(x.leaves))
            x.browser.addProperty(p);
        f.flatClear = timed([&] { x.browser.clear(); });
    }
    {
        Fixture x(rows);
        PbProperty *group = x.groups.addProperty("group");
        for (PbProperty *p : qAsConst(x.leaves))
            group->addSubProperty(p);
        x.browser.addProperty(group);
        f.removeLeaves = timed([&] {
            for (PbProperty *p : qAsConst(x.leaves))
                group->removeSubProperty(p);
        });
    }
    {
        Fixture x(rows);
        PbProperty *group = x.groups.addProperty("group");
        x.browser.addProperty(group);
        f.insertFront = timed([&] {
            for (PbProperty *p : qAsConst(x.leaves))
                group->insertSubProperty(p, nullptr);
        });
    }
    return f;
}

} // namespace

EditFigures runTreeEdits(int rows)
{
    // The best of three: a few milliseconds at 1,000 rows are easily blurred
    // by the machine's other work, and the ratio with them.
    EditFigures best = runTreeEditsOnce(rows);
    for (int i = 0; i < 2; ++i) {
        const EditFigures f = runTreeEditsOnce(rows);
        best.flatClear = std::min(best.flatClear, f.flatClear);
        best.removeLeaves = std::min(best.removeLeaves, f.removeLeaves);
        best.insertFront = std::min(best.insertFront, f.insertFront);
    }
    return best;
}
