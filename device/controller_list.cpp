// Reader of the controller list file and the lookup by id.
#include "device/controller_list.h"

#include "device/main_window_services.h"

#include <QDomDocument>
#include <QFile>

QList<ControllerEntry> controllerList;

void loadControllers(MainWindowServices &window, QList<ControllerEntry> &list)
{
    list.clear();
    QFile file("ConfigurationData/controllers.xml");
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) {
        window.logMessage(QString::fromUtf8("Ошибка открытия файла controllers.xml."), false);
        return;
    }
    const QDomNodeList elements = document.documentElement().elementsByTagName("Controller");
    for (int i = 0; i < elements.count(); ++i) {
        const QDomElement element = elements.at(i).toElement();
        list.append({element.text(), element.attribute("id", "")});
    }
}

QString controllerName(int id)
{
    const QString idText = QString::number(id);
    for (const ControllerEntry &entry : qAsConst(controllerList)) {
        if (entry.id == idText)
            return entry.name;
    }
    return QString("");
}
