// Controller names by id, from "ConfigurationData/controllers.xml" in the working folder.
#pragma once

#include <QList>
#include <QString>

class MainWindowServices;

struct ControllerEntry {
    QString name; ///< the element's text
    QString id;   ///< the element's id attribute, empty when absent
};

/// The process-wide controller list that controllerName searches.
extern QList<ControllerEntry> controllerList;

/// Clears `list` and fills it with one entry per "Controller" element below the
/// document element, in document order. A file that cannot be opened or is not
/// well-formed XML is logged as an error and leaves the list empty.
void loadControllers(MainWindowServices &window, QList<ControllerEntry> &list);

/// Name of the first entry of controllerList whose id text is `id` in decimal; empty when none.
QString controllerName(int id);
