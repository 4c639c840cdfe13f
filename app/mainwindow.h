// The main window: for now its log view, its connection-dependent controls and
// the members through which the device-access layer works with it.
#pragma once

#include "device/main_window_services.h"

#include <QMainWindow>

class ConnectionThread;
class SaveCanDataThread;
class QAction;
class QActionGroup;
class QTextEdit;
class QWidget;

class MainWindow : public QMainWindow, public MainWindowServices {
    Q_OBJECT
    Q_DISABLE_COPY(MainWindow)

public:
    explicit MainWindow(QWidget *parent = nullptr);
    /// Disconnects first when a connection is up.
    ~MainWindow() override;

    void logMessage(const QString &text, bool information) override;
    void setUiConnected(bool connected) override;

    QAction *m_connect = nullptr;
    QAction *m_disconnect = nullptr;
    QAction *m_export = nullptr;
    QAction *m_import = nullptr;
    QAction *m_checkDefault = nullptr;
    QAction *m_displayDefault = nullptr;
    QAction *m_displayDec = nullptr;
    QAction *m_displayHex = nullptr;
    QAction *m_displayBin = nullptr;
    QAction *m_getEdsFromDevice = nullptr; ///< option: take the EDS from the device

    SaveCanDataThread *m_saveCanDataThread = nullptr;
    ConnectionThread *m_connectionThread = nullptr;

    QWidget *paramPane = nullptr; ///< the main parameter pane
    QTextEdit *teLog = nullptr;

public slots:
    /// Parses the EDS at m_edsPath into m_mainParams.
    void readEds();

private slots:
    void onDisplayFormatTriggered(QAction *action);

private:
    QActionGroup *m_displayGroup = nullptr;
};
