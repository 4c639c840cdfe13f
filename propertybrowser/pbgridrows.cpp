// Grid rows of the button and group-box browsers.
#include "propertybrowser/pbgridrows_p.h"

#include "propertybrowser/pbproperty.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QList>

namespace {

struct Placed {
    QLayoutItem *item;
    int row, column, rowSpan, columnSpan;
};

// Takes every item whose row satisfies `moves` out of the layout and puts it
// back `delta` rows away.
template <class Pred>
void shiftRows(QGridLayout *layout, int delta, Pred moves)
{
    QList<Placed> taken;
    for (int index = 0; index < layout->count();) {
        Placed p{nullptr, 0, 0, 0, 0};
        layout->getItemPosition(index, &p.row, &p.column, &p.rowSpan, &p.columnSpan);
        if (moves(p.row)) {
            p.item = layout->takeAt(index);
            taken.append(p);
        } else {
            ++index;
        }
    }
    for (const Placed &p : qAsConst(taken))
        layout->addItem(p.item, p.row + delta, p.column, p.rowSpan, p.columnSpan);
}

void setUnderlined(QWidget *widget, bool underline)
{
    QFont font = widget->font();
    if (font.underline() != underline) {
        font.setUnderline(underline);
        widget->setFont(font);
    }
}

} // namespace

void PbGridRows::insertRow(QGridLayout *layout, int row)
{
    shiftRows(layout, 1, [row](int r) { return r >= row; });
}

void PbGridRows::removeRow(QGridLayout *layout, int row)
{
    shiftRows(layout, -1, [row](int r) { return r > row; });
}

QLabel *PbGridRows::createNameLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setSizePolicy(QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed));
    return label;
}

QLabel *PbGridRows::createValueLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setSizePolicy(QSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed));
    // A value is shown as it is, never read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

void PbGridRows::showName(QWidget *widget, const PbProperty *property)
{
    setUnderlined(widget, property->isModified());
    if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(property->propertyName());
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(property->propertyName());
    else if (auto *box = qobject_cast<QGroupBox *>(widget))
        box->setTitle(property->propertyName());
    widget->setToolTip(property->toolTip());
    widget->setStatusTip(property->statusTip());
    widget->setWhatsThis(property->whatsThis());
    widget->setEnabled(property->isEnabled());
}

void PbGridRows::showValue(QLabel *valueLabel, QWidget *editor, const PbProperty *property)
{
    const QString text = property->valueText();
    if (valueLabel) {
        setUnderlined(valueLabel, false);
        valueLabel->setText(text);
        valueLabel->setToolTip(text);
        valueLabel->setEnabled(property->isEnabled());
    }
    if (editor) {
        setUnderlined(editor, false);
        editor->setEnabled(property->isEnabled());
        editor->setToolTip(text);
    }
}
