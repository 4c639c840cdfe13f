// What the device-access layer needs of the main window: its log, the switch of
// its connection-dependent controls, and the members it reads and writes. The
// main window implements this; tests may use a plain fake.
#pragma once

#include "device/can_param.h"

#include <QString>

class LoadCanDataThread;

class MainWindowServices {
public:
    virtual ~MainWindowServices();

    /// Appends "[hh:mm:ss]: text" to the log, bold, blue for information, red for an error.
    virtual void logMessage(const QString &text, bool information) = 0;

    /// Enables the controls that need a connection when `connected`, the connect control otherwise.
    virtual void setUiConnected(bool connected) = 0;

    bool m_connected = false;         ///< true only between a successful connect and the next disconnect
    QString m_currentOperation;       ///< name of the long operation under way; cleared on disconnect
    QString m_edsPath;                ///< EDS file the reader parses; written by the cache lookup
    QString m_deviceFamilyCode;       ///< four-digit family code; its index gets no description
    CanParamMap m_mainParams;         ///< records of the device's dictionary, by name
    CanParamMap m_importParams;       ///< records of an imported parameter set, by name
    LoadCanDataThread *m_loadCanDataThread = nullptr; ///< stopped and awaited on disconnect
};
