// Integer editor with an optional button beside it ("Рассчитать"). It commits
// only on Enter or Return: typing or stepping alone changes no property.
#ifndef PBSPINBOXEDITWIDGET2_H
#define PBSPINBOXEDITWIDGET2_H

#include <QWidget>

class QSpinBox;
class QToolButton;

class PbSpinBoxEditWidget2 : public QWidget
{
    Q_OBJECT
public:
    explicit PbSpinBoxEditWidget2(QWidget *parent = nullptr);

    /// Sets the field's value when it differs from the shown one.
    void setValue(int value);
    int value() const;
    void setSingleStep(int step);
    int singleStep() const;
    void setRange(int minimum, int maximum);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    void setKeyboardTracking(bool tracking);
    bool keyboardTracking() const;
    void setBtnVisible(bool visible);
    void setBtnCaption(const QString &caption);

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    /// The button was clicked.
    void scriptCalled();
    /// Enter or Return was pressed; carries the field's value.
    void valueChanged(int);

public slots:
    void buttonClicked();
    void slotValueChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QSpinBox *m_spinBox;
    QToolButton *m_button;
    Q_DISABLE_COPY(PbSpinBoxEditWidget2)
};

#endif
