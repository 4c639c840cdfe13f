// The controller list file: entries in document order, lookup by id text,
// and the logged error for a missing or broken file.
#include "device/controller_list.h"
#include "fake_main_window.h"
#include "working_folder.h"

namespace {
class ControllerList : public WorkingFolderTest {
protected:
    void TearDown() override
    {
        controllerList.clear();
        WorkingFolderTest::TearDown();
    }
    FakeMainWindow window;
};
const QString kError = QString::fromUtf8("error: Ошибка открытия файла controllers.xml.");
} // namespace

TEST_F(ControllerList, EntriesAndLookup)
{
    writeFile("ConfigurationData/controllers.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<Controller id="99">the document element itself is not an entry
<Group>
  <Controller id="7">Привод</Controller>
  <Other id="8">not a controller</Other>
  <Controller id="07">Leading zero</Controller>
  <Controller>No id</Controller>
  <Controller id="7">Second seven</Controller>
</Group>
</Controller>
)");
    controllerList.append(ControllerEntry{"stale", "1"});
    loadControllers(window, controllerList);
    EXPECT_TRUE(window.lines().isEmpty());
    ASSERT_EQ(controllerList.size(), 4);
    EXPECT_EQ(controllerList[2].id, "");
    EXPECT_EQ(controllerList[2].name, "No id");
    EXPECT_EQ(controllerName(7), QString::fromUtf8("Привод"));
    EXPECT_TRUE(controllerName(1).isEmpty());
    EXPECT_TRUE(controllerName(99).isEmpty());
}

TEST_F(ControllerList, MissingFileIsLoggedAndListCleared)
{
    controllerList.append(ControllerEntry{"stale", "1"});
    loadControllers(window, controllerList);
    EXPECT_TRUE(controllerList.isEmpty());
    EXPECT_EQ(window.lines(), QStringList{kError});
}

TEST_F(ControllerList, MalformedXmlIsLogged)
{
    writeFile("ConfigurationData/controllers.xml", "<Controllers><Controller id=\"1\">A</Controllers>");
    loadControllers(window, controllerList);
    EXPECT_TRUE(controllerList.isEmpty());
    EXPECT_EQ(window.lines(), QStringList{kError});
}
