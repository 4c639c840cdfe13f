// Floating-point editor that announces Enter and Return, so that its factory
// commits only then and not on every step or focus change.
#ifndef PBDOUBLESPINBOX2_H
#define PBDOUBLESPINBOX2_H

#include <QDoubleSpinBox>

class PbDoubleSpinBox2 : public QDoubleSpinBox
{
    Q_OBJECT
public:
    explicit PbDoubleSpinBox2(QWidget *parent = nullptr);

signals:
    /// Enter or Return was pressed, after the typed text was taken over.
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Q_DISABLE_COPY(PbDoubleSpinBox2)
};

#endif
