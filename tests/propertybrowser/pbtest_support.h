// Test kit of the property-browser tests: one log that records signals of
// several objects in the order they were emitted, and one message guard that
// fails the running test on a broken string connection or signal spy. The
// guard is installed for every test binary that links this kit.
#pragma once

#include <QObject>
#include <QStringList>

#include <memory>
#include <ostream>
#include <vector>

class PbProperty;

/// An ordered log of signals. watch() records every signal of an object as
/// "prefix.signal(args)", a PbProperty* argument written as the property's
/// name; tests may also append entries of their own from lambdas.
class SignalLog
{
public:
    SignalLog();
    ~SignalLog();
    /// Watches every signal `sender` declares beyond those of QObject.
    void watch(QObject *sender, const QString &prefix);
    /// The entries since the last take, then clears them.
    QStringList take();
    void clear() { m_entries.clear(); }
    const QStringList &entries() const { return m_entries; }
    void append(const QString &entry) { m_entries.append(entry); }
    /// The number of entries that start with `prefix`.
    int count(const QString &prefix) const;

private:
    QStringList m_entries;
    std::vector<std::unique_ptr<QObject>> m_recorders;
};

/// Names a property for logs: its name, or "null".
QString propertyLabel(const PbProperty *property);

// Readable failure output for Qt texts.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << "{ \"" << texts.join("\", \"").toStdString() << "\" }";
}
