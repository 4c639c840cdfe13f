// Private part of PbGroupBoxPropertyBrowser: the grid records, with the group
// box of a property that has sub-properties and the line under its editor.
#ifndef PBGROUPBOXPROPERTYBROWSER_P_H
#define PBGROUPBOXPROPERTYBROWSER_P_H

#include "propertybrowser/pbgridbrowsercore_p.h"
#include "propertybrowser/pbgroupboxpropertybrowser.h"

class QFrame;
class QGroupBox;

struct PbGroupBoxBrowserRecord : PbGridRecord<PbGroupBoxBrowserRecord> {
    QGroupBox *groupBox = nullptr;  // present while there are sub-properties
    QFrame *line = nullptr;         // under the editor, inside the group box

    QWidget *holder() const;
    QWidget *header() const;
};

class PbGroupBoxPropertyBrowserPrivate : public PbGridBrowserCore<PbGroupBoxBrowserRecord>
{
public:
    using Record = PbGroupBoxBrowserRecord;

    explicit PbGroupBoxPropertyBrowserPrivate(PbGroupBoxPropertyBrowser *q)
        : PbGridBrowserCore<Record>(q), q_ptr(q)
    {
    }

    void propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem);
    void propertyRemoved(PbBrowserItem *item);
    void slotUpdate();

    PbGroupBoxPropertyBrowser *q_ptr;

private:
    /// The record's place among its siblings, behind the editor and the line
    /// of a parent that has an editor.
    int gridRow(Record *record) const;
    void becomeGroup(Record *record);
    void stopBeingGroup(Record *record);
};

#endif
