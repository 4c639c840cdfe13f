// Floating-point editor that commits on Enter and Return only.
#include "propertybrowser/pbdoublespinbox2.h"

#include <QKeyEvent>

PbDoubleSpinBox2::PbDoubleSpinBox2(QWidget *parent) : QDoubleSpinBox(parent) {}

void PbDoubleSpinBox2::keyPressEvent(QKeyEvent *event)
{
    QDoubleSpinBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return)
        emit enterPressed();
}
