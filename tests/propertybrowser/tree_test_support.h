// Helpers for the editor and tree browser tests: a message handler that turns
// failed string connections and signal spies into test failures, a shared
// ordered signal log, and window activation for keyboard tests.
#ifndef TREE_TEST_SUPPORT_H
#define TREE_TEST_SUPPORT_H

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <ostream>

// Readable failure output for texts and text lists.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << "{ " << l.join(QStringLiteral(" | ")).toStdString() << " }";
}

namespace treetest {

inline QtMessageHandler &previousHandler()
{
    static QtMessageHandler h = nullptr;
    return h;
}

inline void strictHandler(QtMsgType type, const QMessageLogContext &ctx, const QString &msg)
{
    if (msg.contains(QLatin1String("No such signal")) || msg.contains(QLatin1String("No such slot"))
        || msg.contains(QLatin1String("QObject::connect")) || msg.contains(QLatin1String("QObject::disconnect"))
        || msg.startsWith(QLatin1String("QSignalSpy")))
        ADD_FAILURE() << "Qt connection warning: " << msg.toStdString();
    if (previousHandler())
        previousHandler()(type, ctx, msg);
}

/// Installs the strict handler for the lifetime of a test fixture.
struct StrictMessages {
    StrictMessages() { previousHandler() = qInstallMessageHandler(strictHandler); }
    ~StrictMessages() { qInstallMessageHandler(previousHandler()); }
};

/// One ordered log shared by every signal a test listens to.
struct SignalLog {
    QStringList entries;
    void add(const QString &e) { entries << e; }
    void clear() { entries.clear(); }
    int count(const QString &prefix) const
    {
        int n = 0;
        for (const QString &e : entries)
            n += e.startsWith(prefix) ? 1 : 0;
        return n;
    }
};

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
