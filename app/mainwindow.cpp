// The main window's log view, control switching and display-format actions.
#include "app/mainwindow.h"

#include "device/can_connection.h"
#include "device/connection_thread.h"
#include "device/eds_reader.h"
#include "device/load_can_data_thread.h"
#include "device/save_can_data_thread.h"
#include "device/value_format.h"

#include <QAction>
#include <QActionGroup>
#include <QMenuBar>
#include <QMetaObject>
#include <QSplitter>
#include <QTextEdit>
#include <QThread>
#include <QTime>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    auto *splitter = new QSplitter(Qt::Vertical, this);
    paramPane = new QWidget(splitter);
    paramPane->setObjectName("paramPane");
    teLog = new QTextEdit(splitter);
    teLog->setObjectName("teLog");
    teLog->setReadOnly(true);
    setCentralWidget(splitter);

    QMenu *deviceMenu = menuBar()->addMenu(QString::fromUtf8("Устройство"));
    m_connect = deviceMenu->addAction(QString::fromUtf8("Подключить"));
    m_disconnect = deviceMenu->addAction(QString::fromUtf8("Отключить"));
    m_export = deviceMenu->addAction(QString::fromUtf8("Экспорт"));
    m_import = deviceMenu->addAction(QString::fromUtf8("Импорт"));
    m_checkDefault = deviceMenu->addAction(QString::fromUtf8("Проверить значения по умолчанию"));
    m_getEdsFromDevice = deviceMenu->addAction(QString::fromUtf8("Загружать eds из устройства"));
    m_getEdsFromDevice->setCheckable(true);

    QMenu *viewMenu = menuBar()->addMenu(QString::fromUtf8("Вид"));
    m_displayGroup = new QActionGroup(this);
    m_displayGroup->setExclusive(true);
    const struct {
        QAction **action;
        const char *text;
        int mode;
    } formats[] = {
        {&m_displayDefault, "По умолчанию", DisplayDefault},
        {&m_displayDec, "Десятичный", DisplayDecimal},
        {&m_displayHex, "Шестнадцатеричный", DisplayHexadecimal},
        {&m_displayBin, "Двоичный", DisplayBinary},
    };
    for (const auto &format : formats) {
        QAction *action = viewMenu->addAction(QString::fromUtf8(format.text));
        action->setCheckable(true);
        action->setData(format.mode);
        m_displayGroup->addAction(action);
        *format.action = action;
    }
    m_displayDefault->setChecked(true);
    displayFormat = DisplayDefault;
    connect(m_displayGroup, SIGNAL(triggered(QAction*)), this,
            SLOT(onDisplayFormatTriggered(QAction*)));

    m_loadCanDataThread = new LoadCanDataThread(this);
    m_saveCanDataThread = new SaveCanDataThread(this);
    m_connectionThread = new ConnectionThread(this);

    setUiConnected(false);
}

MainWindow::~MainWindow()
{
    if (m_connected)
        disconnectCan(*this);
    delete m_connectionThread;
    delete m_saveCanDataThread;
    delete m_loadCanDataThread;
}

void MainWindow::logMessage(const QString &text, bool information)
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, text, information] { logMessage(text, information); },
            Qt::QueuedConnection);
        return;
    }
    const QString line = "[" + QTime::currentTime().toString("hh:mm:ss") + "]: " + text;
    const QString color = information ? "blue" : "red";
    teLog->append(QString("<b><font color=\"%1\">%2</font></b>").arg(color, line.toHtmlEscaped()));
}

void MainWindow::setUiConnected(bool connected)
{
    m_connect->setEnabled(!connected);
    for (QAction *action : {m_disconnect, m_export, m_import, m_checkDefault, m_displayDefault,
                            m_displayDec, m_displayHex, m_displayBin})
        action->setEnabled(connected);
    paramPane->setEnabled(connected);
}

void MainWindow::readEds()
{
    ::readEds(*this);
}

void MainWindow::onDisplayFormatTriggered(QAction *action)
{
    displayFormat = action->data().toInt();
}
