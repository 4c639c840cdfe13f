// Choosing the EDS: device first when the option is on, then a file dialog.
#include "app/obtain_eds.h"

#include "device/connection_settings.h"
#include "device/eds_cache.h"
#include "app/mainwindow.h"

#include <QAction>
#include <QFileDialog>

bool obtainEds(MainWindow &window)
{
    const bool fromDevice = window.m_getEdsFromDevice->isChecked();
    if (fromDevice && loadEdsFromDevice(window))
        return true;
    const QString path = QFileDialog::getOpenFileName(
        &window, QString::fromUtf8("Открытие файла eds"),
        deviceCacheFolder(connectionSettings.device.deviceName));
    if (path.isEmpty()) {
        window.logMessage(fromDevice ? QString::fromUtf8("Файл eds не найден или не выбран.")
                                     : QString::fromUtf8("Файл eds не выбран."),
                          false);
        return false;
    }
    window.m_edsPath = path;
    return true;
}
