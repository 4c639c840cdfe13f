// Signal log and connection-warning guard of the property-browser tests.
#include "pbtest_support.h"

#include "propertybrowser/pbbrowseritem.h"
#include "propertybrowser/pbproperty.h"

#include <QDateTime>
#include <QIcon>
#include <QKeySequence>
#include <QLocale>
#include <QMetaMethod>
#include <QRect>
#include <QRegExp>
#include <QSizePolicy>
#include <QtGlobal>

#include <gtest/gtest.h>

QString propertyLabel(const PbProperty *property)
{
    return property ? property->propertyName() : QStringLiteral("null");
}

namespace {

QString number(double value) { return QString::number(value, 'g', 12); }

// The value types of the further managers: "(x,y)", "wxh", "(x,y wxh)",
// ISO dates and times, locale names, "h/v/hs/vs" for size policies.
QString formatValueType(const QByteArray &type, void *arg)
{
    if (type == "QPoint" || type == "QPointF") {
        const QPointF p = type == "QPoint" ? QPointF(*static_cast<QPoint *>(arg)) : *static_cast<QPointF *>(arg);
        return '(' + number(p.x()) + ',' + number(p.y()) + ')';
    }
    if (type == "QSize" || type == "QSizeF") {
        const QSizeF s = type == "QSize" ? QSizeF(*static_cast<QSize *>(arg)) : *static_cast<QSizeF *>(arg);
        return number(s.width()) + 'x' + number(s.height());
    }
    if (type == "QRect" || type == "QRectF") {
        const QRectF r = type == "QRect" ? QRectF(*static_cast<QRect *>(arg)) : *static_cast<QRectF *>(arg);
        return '(' + number(r.x()) + ',' + number(r.y()) + ' ' + number(r.width()) + 'x' + number(r.height()) + ')';
    }
    if (type == "QDate")
        return static_cast<QDate *>(arg)->toString(Qt::ISODate);
    if (type == "QTime")
        return static_cast<QTime *>(arg)->toString(Qt::ISODate);
    if (type == "QDateTime")
        return static_cast<QDateTime *>(arg)->toString(Qt::ISODate);
    if (type == "QKeySequence")
        return static_cast<QKeySequence *>(arg)->toString(QKeySequence::PortableText);
    if (type == "QChar")
        return QString(*static_cast<QChar *>(arg));
    if (type == "QLocale")
        return static_cast<QLocale *>(arg)->name();
    if (type == "QSizePolicy") {
        const QSizePolicy &p = *static_cast<QSizePolicy *>(arg);
        return QString("%1/%2/%3/%4").arg(p.horizontalPolicy()).arg(p.verticalPolicy()).arg(p.horizontalStretch())
            .arg(p.verticalStretch());
    }
    return QString::fromLatin1(type);
}

QString formatArgument(const QByteArray &type, void *arg)
{
    if (type == "PbProperty*")
        return propertyLabel(*static_cast<PbProperty **>(arg));
    if (type == "PbBrowserItem*") {
        PbBrowserItem *item = *static_cast<PbBrowserItem **>(arg);
        return item ? "item:" + propertyLabel(item->property()) : QStringLiteral("null");
    }
    if (type == "int")
        return QString::number(*static_cast<int *>(arg));
    if (type == "bool")
        return *static_cast<bool *>(arg) ? QStringLiteral("true") : QStringLiteral("false");
    if (type == "double")
        return QString::number(*static_cast<double *>(arg));
    if (type == "QString")
        return '"' + *static_cast<QString *>(arg) + '"';
    if (type == "QStringList")
        return '[' + static_cast<QStringList *>(arg)->join(',') + ']';
    if (type == "QRegExp")
        return "re:" + static_cast<QRegExp *>(arg)->pattern();
    if (type == "QMap<int,QIcon>")
        return "icons:" + QString::number(static_cast<QMap<int, QIcon> *>(arg)->size());
    return formatValueType(type, arg);
}

// One receiver per watched signal, in the manner of a signal spy: it is
// connected to the first method index past QObject's and formats the
// arguments it is invoked with.
class SignalRecorder : public QObject
{
public:
    SignalRecorder(QObject *sender, const QMetaMethod &signal, const QString &prefix, SignalLog *log)
        : m_signal(signal), m_prefix(prefix), m_log(log)
    {
        QMetaObject::connect(sender, signal.methodIndex(), this, QObject::staticMetaObject.methodCount(),
                             Qt::DirectConnection, nullptr);
    }

    int qt_metacall(QMetaObject::Call call, int id, void **args) override
    {
        id = QObject::qt_metacall(call, id, args);
        if (id < 0)
            return id;
        if (call == QMetaObject::InvokeMetaMethod) {
            if (id == 0)
                record(args);
            --id;
        }
        return id;
    }

private:
    void record(void **args)
    {
        QStringList parts;
        const QList<QByteArray> types = m_signal.parameterTypes();
        for (int i = 0; i < types.size(); ++i)
            parts << formatArgument(types.at(i), args[i + 1]);
        m_log->append(m_prefix + '.' + QString::fromLatin1(m_signal.name()) + '(' + parts.join(',') + ')');
    }

    QMetaMethod m_signal;
    QString m_prefix;
    SignalLog *m_log;
};

QtMessageHandler previousHandler = nullptr;

// A failed string connection only warns at run time; so does a signal spy on
// a missing signal. Each such warning fails the test that caused it.
bool isConnectionWarning(const QString &message)
{
    return message.contains(QLatin1String("No such signal")) || message.contains(QLatin1String("No such slot"))
        || message.contains(QLatin1String("Cannot connect")) || message.contains(QLatin1String("QObject::connect"))
        || message.contains(QLatin1String("QObject::disconnect")) || message.startsWith(QLatin1String("QSignalSpy"));
}

void failOnBrokenConnection(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isConnectionWarning(message))
        ADD_FAILURE() << "broken connection: " << message.toStdString();
    if (previousHandler)
        previousHandler(type, context, message);
}

// Installed before any test runs, for every test binary that links the kit.
class ConnectionGuard : public ::testing::Environment
{
public:
    void SetUp() override { previousHandler = qInstallMessageHandler(failOnBrokenConnection); }
    void TearDown() override { qInstallMessageHandler(previousHandler); }
};

const auto *const connectionGuard = ::testing::AddGlobalTestEnvironment(new ConnectionGuard);

} // namespace

SignalLog::SignalLog() = default;
SignalLog::~SignalLog() = default;

void SignalLog::watch(QObject *sender, const QString &prefix)
{
    const QMetaObject *meta = sender->metaObject();
    for (int i = QObject::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal)
            m_recorders.emplace_back(new SignalRecorder(sender, method, prefix, this));
    }
}

QStringList SignalLog::take()
{
    QStringList taken = m_entries;
    m_entries.clear();
    return taken;
}

int SignalLog::count(const QString &prefix) const
{
    int n = 0;
    for (const QString &entry : m_entries)
        n += entry.startsWith(prefix) ? 1 : 0;
    return n;
}
