// The main window's log lines and the switch of its connection-dependent controls.
#include "app/mainwindow.h"
#include "device/value_format.h"

#include <QAction>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {
QTextCharFormat lastLineFormat(QTextEdit *log)
{
    QTextBlock block = log->document()->lastBlock();
    return block.begin().fragment().charFormat();
}
} // namespace

TEST(MainWindow, LogLinesCarryTimeColourAndBold)
{
    MainWindow window;
    window.logMessage(QString::fromUtf8("Подключение..."), true);
    window.logMessage("<b>not markup</b> & more", false);

    const QStringList lines = window.teLog->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 2);
    const QRegularExpression stamp(R"(^\[\d\d:\d\d:\d\d\]: )");
    EXPECT_TRUE(stamp.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QString::fromUtf8("]: Подключение...")));
    EXPECT_TRUE(lines[1].endsWith("]: <b>not markup</b> & more")); // shown as text

    const QTextCharFormat error = lastLineFormat(window.teLog);
    EXPECT_EQ(error.foreground().color(), QColor("red"));
    EXPECT_EQ(error.fontWeight(), QFont::Bold);
    const QTextCharFormat info =
        window.teLog->document()->firstBlock().begin().fragment().charFormat();
    EXPECT_EQ(info.foreground().color(), QColor("blue"));
    EXPECT_EQ(info.fontWeight(), QFont::Bold);
}

TEST(MainWindow, LogFromAnotherThreadArrivesOnTheGuiThread)
{
    MainWindow window;
    QThread *worker = QThread::create([&] { window.logMessage("from worker", true); });
    worker->start();
    ASSERT_TRUE(worker->wait(5000));
    delete worker;
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.teLog->toPlainText().contains("from worker"); },
                                5000));
}

TEST(MainWindow, ConnectedSwitchesControls)
{
    MainWindow window;
    const QList<QAction *> dependent = {window.m_disconnect,     window.m_export,
                                        window.m_import,         window.m_checkDefault,
                                        window.m_displayDefault, window.m_displayDec,
                                        window.m_displayHex,     window.m_displayBin};
    // Starts disconnected.
    EXPECT_TRUE(window.m_connect->isEnabled());
    for (QAction *action : dependent)
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    EXPECT_FALSE(window.paramPane->isEnabled());

    window.setUiConnected(true);
    EXPECT_FALSE(window.m_connect->isEnabled());
    for (QAction *action : dependent)
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    EXPECT_TRUE(window.paramPane->isEnabled());
    EXPECT_TRUE(window.m_getEdsFromDevice->isEnabled()); // an option, not connection-bound

    window.setUiConnected(false);
    EXPECT_TRUE(window.m_connect->isEnabled());
    EXPECT_FALSE(window.m_disconnect->isEnabled());
    EXPECT_FALSE(window.paramPane->isEnabled());
}

TEST(MainWindow, MembersAndDisplayGroup)
{
    MainWindow window;
    EXPECT_FALSE(window.m_connected);
    EXPECT_TRUE(window.m_getEdsFromDevice->isCheckable());
    EXPECT_TRUE(window.m_displayDefault->isChecked());
    EXPECT_EQ(displayFormat, DisplayDefault);

    window.setUiConnected(true);
    window.m_displayHex->trigger();
    EXPECT_EQ(displayFormat, DisplayHexadecimal);
    EXPECT_FALSE(window.m_displayDefault->isChecked()); // exclusive
    window.m_displayBin->trigger();
    EXPECT_EQ(displayFormat, DisplayBinary);
    window.m_displayDefault->trigger();
    EXPECT_EQ(displayFormat, DisplayDefault);
}

TEST(MainWindow, ReadEdsSlotFillsTheMainMap)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("d.eds"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[1000]\nParameterName=Device type\nDataType=7\n");
    file.close();
    MainWindow window;
    window.m_edsPath = file.fileName();
    ASSERT_TRUE(QMetaObject::invokeMethod(&window, "readEds"));
    ASSERT_EQ(window.m_mainParams.size(), 1);
    EXPECT_EQ(window.m_mainParams.first().ownerMap, &window.m_mainParams);

    window.m_edsPath = folder.filePath("absent.eds");
    window.readEds();
    EXPECT_TRUE(window.teLog->toPlainText().contains(
        QString::fromUtf8("]: Ошибка! Файл словаря объектов не найден.")));
}
