// Private part of PbButtonPropertyBrowser: the grid records, with the button
// and the panel of a property that has sub-properties, and the map from
// buttons to records.
#ifndef PBBUTTONPROPERTYBROWSER_P_H
#define PBBUTTONPROPERTYBROWSER_P_H

#include "propertybrowser/pbbuttonpropertybrowser.h"
#include "propertybrowser/pbgridbrowsercore_p.h"

class QFrame;
class QToolButton;

struct PbButtonBrowserRecord : PbGridRecord<PbButtonBrowserRecord> {
    QToolButton *button = nullptr;  // shows the panel, while there are sub-properties
    QFrame *container = nullptr;    // the panel of the sub-properties
    bool expanded = false;

    QWidget *holder() const;
    QWidget *header() const;
};

class PbButtonPropertyBrowserPrivate : public PbGridBrowserCore<PbButtonBrowserRecord>
{
public:
    using Record = PbButtonBrowserRecord;

    explicit PbButtonPropertyBrowserPrivate(PbButtonPropertyBrowser *q)
        : PbGridBrowserCore<Record>(q), q_ptr(q)
    {
    }

    void propertyInserted(PbBrowserItem *item, PbBrowserItem *afterItem);
    void propertyRemoved(PbBrowserItem *item);
    void setExpanded(Record *record, bool expanded);
    void slotUpdate();
    void slotToggled(QObject *button, bool checked);

    PbButtonPropertyBrowser *q_ptr;
    QHash<const QObject *, Record *> m_buttonToRecord;

private:
    /// The record's first grid row: the sum of the rows its elder siblings take.
    int gridRow(Record *record) const;
    /// An expanded record with a panel takes two rows, any other one.
    static int gridSpan(const Record *record) { return record->container && record->expanded ? 2 : 1; }
    void becomeGroup(Record *record);
    void stopBeingGroup(Record *record);
};

#endif
