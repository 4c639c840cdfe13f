// The rows of every composite manager live and die with their parent: they
// belong to the inner managers while the parent exists, go with it, and a row
// destroyed from outside is forgotten without disturbing the others.
#include "propertybrowser/pbboolpropertymanager.h"
#include "propertybrowser/pbdoublepropertymanager.h"
#include "propertybrowser/pbenumpropertymanager.h"
#include "propertybrowser/pbflagpropertymanager.h"
#include "propertybrowser/pbintpropertymanager.h"
#include "propertybrowser/pblocalepropertymanager.h"
#include "propertybrowser/pbpointfpropertymanager.h"
#include "propertybrowser/pbpointpropertymanager.h"
#include "propertybrowser/pbrectfpropertymanager.h"
#include "propertybrowser/pbrectpropertymanager.h"
#include "propertybrowser/pbsizefpropertymanager.h"
#include "propertybrowser/pbsizepolicypropertymanager.h"
#include "propertybrowser/pbsizepropertymanager.h"
#include "pbvaluetypes_fixture.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

int rowsHeld(PbPointPropertyManager &m) { return m.intSubManager()->properties().size(); }
int rowsHeld(PbPointFPropertyManager &m) { return m.doubleSubManager()->properties().size(); }
int rowsHeld(PbLocalePropertyManager &m) { return m.enumSubManager()->properties().size(); }
int rowsHeld(PbSizePropertyManager &m) { return m.subIntPropertyManager()->properties().size(); }
int rowsHeld(PbSizeFPropertyManager &m) { return m.subDoublePropertyManager()->properties().size(); }
int rowsHeld(PbRectPropertyManager &m) { return m.subIntPropertyManager()->properties().size(); }
int rowsHeld(PbRectFPropertyManager &m) { return m.subDoublePropertyManager()->properties().size(); }
int rowsHeld(PbFlagPropertyManager &m) { return m.subBoolPropertyManager()->properties().size(); }
int rowsHeld(PbSizePolicyPropertyManager &m)
{
    return m.subIntPropertyManager()->properties().size() + m.subEnumPropertyManager()->properties().size();
}

// A value other than the new property's, for each manager.
void changeValue(PbPointPropertyManager &m, PbProperty *p) { m.setValue(p, QPoint(5, 6)); }
void changeValue(PbPointFPropertyManager &m, PbProperty *p) { m.setValue(p, QPointF(5, 6)); }
void changeValue(PbLocalePropertyManager &m, PbProperty *p) { m.setValue(p, QLocale(QLocale::Polish, QLocale::Poland)); }
void changeValue(PbSizePropertyManager &m, PbProperty *p) { m.setValue(p, QSize(5, 6)); }
void changeValue(PbSizeFPropertyManager &m, PbProperty *p) { m.setValue(p, QSizeF(5, 6)); }
void changeValue(PbRectPropertyManager &m, PbProperty *p) { m.setValue(p, QRect(1, 2, 5, 6)); }
void changeValue(PbRectFPropertyManager &m, PbProperty *p) { m.setValue(p, QRectF(1, 2, 5, 6)); }
void changeValue(PbFlagPropertyManager &m, PbProperty *p) { m.setValue(p, 3); }
void changeValue(PbSizePolicyPropertyManager &m, PbProperty *p)
{
    m.setValue(p, QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum));
}

template <class Manager>
class CompositeRows : public ManagerTest<Manager>
{
protected:
    void SetUp() override
    {
        ManagerTest<Manager>::SetUp();
        if constexpr (std::is_same_v<Manager, PbFlagPropertyManager>)
            this->manager.setFlagNames(this->p, {"a", "b"});
        this->log.clear();
    }
};

using CompositeTypes =
    ::testing::Types<PbPointPropertyManager, PbPointFPropertyManager, PbLocalePropertyManager, PbSizePropertyManager,
                     PbSizeFPropertyManager, PbRectPropertyManager, PbRectFPropertyManager, PbFlagPropertyManager,
                     PbSizePolicyPropertyManager>;
TYPED_TEST_SUITE(CompositeRows, CompositeTypes);

TYPED_TEST(CompositeRows, RowsGoWithTheirParent)
{
    auto &m = this->manager;
    const int rows = this->p->subProperties().size();
    ASSERT_GT(rows, 0);
    EXPECT_EQ(rowsHeld(m), rows);
    PbProperty *second = m.addProperty("q");
    EXPECT_EQ(rowsHeld(m), rows * (std::is_same_v<TypeParam, PbFlagPropertyManager> ? 1 : 2))
        << "a flag property has no rows until its names are set";
    delete this->p;
    this->p = nullptr;
    EXPECT_EQ(rowsHeld(m), second->subProperties().size());
    delete second;
    EXPECT_EQ(rowsHeld(m), 0);
}

TYPED_TEST(CompositeRows, RowDestroyedElsewhereIsForgotten)
{
    auto &m = this->manager;
    const QStringList names = rowNames(this->p);
    delete rowAt(this->p, 0);
    EXPECT_EQ(rowNames(this->p), names.mid(1));
    this->log.clear();
    changeValue(m, this->p);
    EXPECT_EQ(this->log.count("m.valueChanged(p,"), 1) << "the other rows still follow";
    delete this->p;
    this->p = nullptr;
    EXPECT_EQ(rowsHeld(m), 0);
}

} // namespace
