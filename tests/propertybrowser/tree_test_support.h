// Helpers for the editor and tree browser tests: window activation, bounded
// waits and typed keys, beside the kit's signal log and connection guard.
#ifndef TREE_TEST_SUPPORT_H
#define TREE_TEST_SUPPORT_H

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "pbtest_support.h"

namespace treetest {

/// Shows the window and waits (bounded) until it is the active window, so
/// that focus and typed keys behave as for a user.
inline bool showActive(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    w->activateWindow();
    return QTest::qWaitForWindowActive(w, 2000);
}

/// Waits (bounded) until `cond` holds, processing events and deferred
/// deletions; QtTest's QTRY_ macros would return silently inside gtest.
template <class Cond>
bool waitFor(Cond cond, int ms = 2000)
{
    return QTest::qWaitFor([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return bool(cond());
    }, ms);
}

/// Types into whatever widget holds keyboard focus, as a user would.
inline void typeKeys(const QString &text)
{
    QWidget *f = QApplication::focusWidget();
    ASSERT_NE(f, nullptr);
    QTest::keyClicks(f, text);
}

inline void pressKey(Qt::Key key)
{
    QWidget *f = QApplication::focusWidget();
    ASSERT_NE(f, nullptr);
    QTest::keyClick(f, key);
}

} // namespace treetest

#endif
