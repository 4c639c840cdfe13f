// The parameter workers against the virtual device: the loader's passes with a
// failing record, a device that vanishes, a stop in mid-pass and the adapter's
// error flag; the saver with a failed write between good ones.
#include "device/data_types.h"
#include "device_fixture.h"
#include "device/load_can_data_thread.h"
#include "device/save_can_data_thread.h"
#include "device/sdo_request.h"
#include "device/value_format.h"

#include <QMutex>
#include <QTest>

namespace {

CanParam makeRecord(const char *caption, const char *index, const char *subindex, int dataType)
{
    CanParam p;
    p.index = index;
    p.subindex = subindex;
    p.caption = QString("0x%1 %2").arg(index, caption);
    p.name = QString(" 0x%1 %2").arg(index, caption);
    p.dataType = dataType;
    p.size = dataTypeSize(dataType);
    return p;
}

// Records the workers' signals in emission order (connections by signature).
class WorkerRecorder : public QObject {
    Q_OBJECT
public:
    void watch(LoadCanDataThread &loader)
    {
        const char *pairs[][2] = {{SIGNAL(paramLoaded(QString)), SLOT(onLoaded(QString))},
                                  {SIGNAL(paramsLoaded()), SLOT(onPass())},
                                  {SIGNAL(paramsLoadingFail()), SLOT(onGone())},
                                  {SIGNAL(paramLoadingFail(QString)), SLOT(onLoadFail(QString))},
                                  {SIGNAL(signalConnectionError()), SLOT(onError())}};
        for (const auto &pair : pairs)
            EXPECT_TRUE(connect(&loader, pair[0], this, pair[1], Qt::DirectConnection)) << pair[0];
    }
    void watch(SaveCanDataThread &saver)
    {
        EXPECT_TRUE(connect(&saver, SIGNAL(paramSavingSuccess(QString)), this,
                            SLOT(onSaved(QString)), Qt::DirectConnection));
        EXPECT_TRUE(connect(&saver, SIGNAL(paramSavingFail(QString,QString)), this,
                            SLOT(onSaveFail(QString,QString)), Qt::DirectConnection));
    }
    QStringList events()
    {
        QMutexLocker lock(&mutex);
        return log;
    }
    int count(const QString &event) { return events().count(event); }
    std::function<void(const QString &)> hook;

public slots:
    void onLoaded(QString name) { add("loaded" + name); }
    void onPass() { add("pass"); }
    void onGone() { add("gone"); }
    void onLoadFail(QString message) { add("fail: " + message); }
    void onError() { add("error"); }
    void onSaved(QString name) { add("saved" + name); }
    void onSaveFail(QString name, QString message) { add("not saved" + name + ": " + message); }

private:
    void add(const QString &event)
    {
        {
            QMutexLocker lock(&mutex);
            log.append(event);
        }
        if (hook)
            hook(event);
    }
    QMutex mutex;
    QStringList log;
};

class Workers : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        node = &connectToDevice();
        node->setU16(0x2100, 0, 0x1234);
        node->setU32(0x2101, 1, 10);
        node->setU16(0x2102, 0, 7, veqtest::Access::ReadOnly);
        recorder.watch(loader);
        recorder.watch(saver);
    }
    void TearDown() override
    {
        loader.stopProcess();
        loader.wait();
        saver.wait();
        DeviceTest::TearDown();
    }
    bool waitFor(const std::function<bool()> &condition, int ms = 10000)
    {
        return QTest::qWaitFor(condition, ms);
    }

    veqtest::VirtualNode *node = nullptr;
    WorkerRecorder recorder;
    LoadCanDataThread loader;
    SaveCanDataThread saver;
    CanParam a = makeRecord("Speed", "2100", "0", DataType::Unsigned16);
    CanParam missing = makeRecord("Missing", "2FFF", "0", DataType::Unsigned8);
    CanParam domain = makeRecord("Log", "2200", "0", DataType::Domain);
    CanParam b = makeRecord("Limit", "2101", "1", DataType::Unsigned32);
    CanParam readOnly = makeRecord("Fixed", "2102", "0", DataType::Unsigned16);
};

const QString kLoadFail = QString::fromUtf8("fail: Не удалось получить данные параметра ");

} // namespace

TEST_F(Workers, LoaderPassesGoOnPastAFailingRecord)
{
    displayFormat = DisplayDecimal;
    loader.loadParams({&a, &missing, &domain, &b});
    ASSERT_TRUE(waitFor([&] { return recorder.count("pass") >= 2; }));
    loader.stopProcess();
    ASSERT_TRUE(loader.wait(5000));
    displayFormat = DisplayDefault;
    const QStringList pass = {"loaded" + a.name,
                              kLoadFail + QString::fromUtf8("0x2FFF Missing. Ошибка: OD_NO_SUCH_OBJECT"),
                              "loaded" + b.name, "pass"};
    EXPECT_EQ(recorder.events().mid(0, 8), pass + pass);
    EXPECT_EQ(a.currentValue, 0x1234u);
    EXPECT_EQ(a.currentValueStr, "4660");
    EXPECT_EQ(b.currentValueStr, "10");
    EXPECT_TRUE(loader.isIdle() || !loader.isRunning());
}

TEST_F(Workers, LoaderEndsOnceWhenTheDeviceVanishes)
{
    recorder.hook = [&](const QString &event) {
        if (event == "pass")
            node->setSilent(true);
    };
    loader.loadParams({&a, &b});
    ASSERT_TRUE(loader.wait(15000));
    EXPECT_EQ(recorder.events(), (QStringList{"loaded" + a.name, "loaded" + b.name, "pass", "gone"}));
}

TEST_F(Workers, StopDuringAPassEndsAfterTheRecordBeingRead)
{
    recorder.hook = [&](const QString &event) {
        if (event == "loaded" + a.name)
            loader.stopProcess();
    };
    loader.loadParams({&a, &b});
    ASSERT_TRUE(loader.wait(10000));
    EXPECT_EQ(recorder.events(), QStringList{"loaded" + a.name});
}

TEST_F(Workers, StopDuringThePauseEndsAtOnce)
{
    loader.loadParams({&a});
    ASSERT_TRUE(waitFor([&] { return loader.isRunning(); }));
    loader.stopProcess();
    ASSERT_TRUE(loader.wait(500));
    EXPECT_TRUE(recorder.events().isEmpty());
}

TEST_F(Workers, EmptyListChecksPresenceEachPass)
{
    recorder.hook = [&](const QString &event) {
        if (event == "pass" && recorder.count("pass") == 2)
            node->setSilent(true);
    };
    loader.loadParams({});
    ASSERT_TRUE(loader.wait(15000));
    EXPECT_EQ(recorder.events(), (QStringList{"pass", "pass", "gone"}));
}

TEST_F(Workers, DomainOnlyPassesReadNothing)
{
    const int before = node->requestsReceived();
    loader.loadParams({&domain});
    ASSERT_TRUE(waitFor([&] { return recorder.count("pass") >= 1; }));
    loader.stopProcess();
    ASSERT_TRUE(loader.wait(5000));
    EXPECT_EQ(recorder.events().first(), "pass");
    EXPECT_EQ(node->requestsReceived(), before);
}

TEST_F(Workers, ConnectionErrorFlagEndsTheLoader)
{
    canLinkError = 1;
    loader.loadParams({&a});
    ASSERT_TRUE(loader.wait(5000));
    canLinkError = 0;
    EXPECT_EQ(recorder.events(), QStringList{"error"});
}

TEST_F(Workers, SaverReportsAFailedWriteBetweenGoodOnes)
{
    a.currentValue = 0xBEEF;
    readOnly.currentValue = 1;
    b.currentValue = 0x01020304;
    QList<CanParam *> pending{&a, &readOnly, &b};
    saver.saveParams(0, &pending);
    ASSERT_TRUE(saver.wait(10000));
    EXPECT_EQ(recorder.events(),
              (QStringList{"saved" + a.name,
                           "not saved" + readOnly.name + ": "
                               + QString::fromUtf8("Ошиба записи параметра 0x2102 Fixed: OD_NO_SUCH_OBJECT"),
                           "saved" + b.name}));
    EXPECT_FALSE(saver.succeeded());
    EXPECT_EQ(node->value(0x2100, 0), (std::vector<uint8_t>{0xEF, 0xBE}));
    EXPECT_EQ(node->value(0x2101, 1), (std::vector<uint8_t>{4, 3, 2, 1}));
    EXPECT_EQ(node->value(0x2102, 0), (std::vector<uint8_t>{7, 0}));

    QList<CanParam *> good{&a};
    saver.saveParams(0, &good);
    ASSERT_TRUE(saver.wait(10000));
    EXPECT_TRUE(saver.succeeded());
}

TEST_F(Workers, SaverRefusesTextLongerThanTheRequestBuffer)
{
    node->setString(0x2300, 0, "", veqtest::Access::ReadWrite);
    CanParam text = makeRecord("Label", "2300", "0", DataType::VisibleString);
    text.currentValueStr = QString(71, 'x');
    QList<CanParam *> pending{&text, &a};
    const size_t mark = adapter.log().size();
    saver.saveParams(0, &pending);
    ASSERT_TRUE(saver.wait(10000));
    EXPECT_EQ(recorder.events(),
              (QStringList{"not saved" + text.name + ": "
                               + QString::fromUtf8("Ошиба записи параметра 0x2300 Label: значение не помещается в 70 байт"),
                           "saved" + a.name}));
    for (size_t i = mark; i < adapter.log().lines().size(); ++i)
        EXPECT_EQ(adapter.log().lines()[i].text.find("t60582300"), std::string::npos);
    EXPECT_EQ(node->value(0x2300, 0)->size(), 0u);
}

// A record that names no single object, a text the device encoding cannot
// hold, or a record without a value of its own (DOMAIN, group) is refused with
// a message that says why, and nothing reaches the bus.
TEST_F(Workers, SaverRefusesRecordsItCannotWriteAsTheyStand)
{
    node->setString(0x2300, 0, "", veqtest::Access::ReadWrite);
    const struct {
        const char *index, *subindex;
        int dataType;
        const char *text, *reason;
    } cases[] = {
        {"12100", "0", DataType::Unsigned16, "", "неверный адрес объекта (индекс \"12100\", субиндекс \"0\")"},
        {"2100", "100", DataType::Unsigned16, "", "неверный адрес объекта (индекс \"2100\", субиндекс \"100\")"},
        {"2300", "0", DataType::VisibleString, "Привод", "текст содержит символы вне кодировки Latin-1"},
        {"2200", "0", DataType::Domain, "", "у параметра типа 0x000f нет значения для записи"},
        {"2400", "0", 0, "", "у параметра типа 0x0000 нет значения для записи"}, // a group record
    };
    QList<CanParam> records;
    QStringList expected;
    for (const auto &c : cases) {
        CanParam p = makeRecord("Bad", c.index, c.subindex, c.dataType);
        p.currentValue = 1;
        p.currentValueStr = QString::fromUtf8(c.text);
        records.append(p);
        expected.append("not saved" + p.name + ": " + QString::fromUtf8("Ошиба записи параметра ")
                        + p.caption + ": " + QString::fromUtf8(c.reason));
    }
    QList<CanParam *> pending;
    for (CanParam &p : records)
        pending.append(&p);
    const int before = node->requestsReceived();
    saver.saveParams(0, &pending);
    ASSERT_TRUE(saver.wait(10000));
    EXPECT_EQ(recorder.events(), expected);
    EXPECT_EQ(node->requestsReceived(), before);
    EXPECT_EQ(node->value(0x2100, 0), (std::vector<uint8_t>{0x34, 0x12}));
}

// The loader neither reads a record that names no single object nor shows
// more of an answer than its type holds.
TEST_F(Workers, LoaderRefusesBadAddressesAndKeepsTheTypesBytes)
{
    node->setU32(0x2103, 0, 0x12345678);
    CanParam narrow = makeRecord("Narrow", "2103", "0", DataType::Unsigned8);
    CanParam bad = makeRecord("Bad", "2100", "100", DataType::Unsigned16);
    displayFormat = DisplayHexadecimal;
    loader.loadParams({&bad, &narrow});
    ASSERT_TRUE(waitFor([&] { return recorder.count("pass") >= 1; }));
    loader.stopProcess();
    ASSERT_TRUE(loader.wait(5000));
    displayFormat = DisplayDefault;
    EXPECT_EQ(recorder.events().mid(0, 3),
              (QStringList{kLoadFail + QString::fromUtf8("0x2100 Bad. Ошибка: неверный адрес объекта "
                                                         "(индекс \"2100\", субиндекс \"100\")"),
                           "loaded" + narrow.name, "pass"}));
    EXPECT_EQ(narrow.currentValue, 0x78u);
    EXPECT_EQ(narrow.currentValueStr, "0x78");
}

TEST_F(Workers, SaverWithOtherCodeOrNoListDoesNothing)
{
    QList<CanParam *> pending{&a};
    saver.saveParams(1, &pending);
    ASSERT_TRUE(saver.wait(5000));
    saver.saveParams(0, nullptr);
    ASSERT_TRUE(saver.wait(5000));
    EXPECT_TRUE(recorder.events().isEmpty());
    EXPECT_EQ(node->value(0x2100, 0), (std::vector<uint8_t>{0x34, 0x12}));
}

TEST_F(Workers, SaverStopsAfterTheRecordBeingWritten)
{
    recorder.hook = [&](const QString &event) {
        if (event == "saved" + a.name)
            saver.stopProcess();
    };
    QList<CanParam *> pending{&a, &b};
    saver.saveParams(0, &pending);
    ASSERT_TRUE(saver.wait(5000));
    EXPECT_EQ(recorder.events(), QStringList{"saved" + a.name});
}

#include "workers_test.moc"
