// A value manager of one kind with a property "p" and a signal log that
// records the manager's signals with the prefix "m".
#pragma once

#include "pbtest_support.h"

#include <gtest/gtest.h>

template <class Manager>
class ManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        p = manager.addProperty("p");
        log.watch(&manager, "m");
    }

    SignalLog log;
    Manager manager;
    PbProperty *p = nullptr;
};
