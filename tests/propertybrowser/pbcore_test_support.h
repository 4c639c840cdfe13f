// Test support for the property-browser core: one log that records the
// signals of several objects in the order they were emitted, and a message
// handler that fails the running test on a broken string connection.
#pragma once

#include <QObject>
#include <QStringList>

#include <memory>
#include <ostream>
#include <vector>

class PbProperty;

/// Records every signal of the watched objects as "prefix.signal(args)";
/// a PbProperty* argument is written as the property's name.
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
