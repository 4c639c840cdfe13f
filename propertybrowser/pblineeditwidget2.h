// Text editor with an optional button beside it ("Редактировать"). It commits
// only on Enter or Return: typing alone changes no property.
#ifndef PBLINEEDITWIDGET2_H
#define PBLINEEDITWIDGET2_H

#include <QWidget>

class QLineEdit;
class QToolButton;
class QValidator;

class PbLineEditWidget2 : public QWidget
{
    Q_OBJECT
public:
    explicit PbLineEditWidget2(QWidget *parent = nullptr);

    /// Sets the field's text when it differs from the shown one.
    void setValue(const QString &value);
    QString text() const;
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    void setValidator(const QValidator *validator);
    const QValidator *validator() const;
    void setInputMask(const QString &mask);
    QString inputMask() const;
    void setEchoMode(int mode);
    int echoMode() const;
    void setBtnVisible(bool visible);
    void setBtnCaption(const QString &caption);

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    /// The button was clicked.
    void btnClicked();
    /// Enter or Return was pressed.
    void valueChanged();

public slots:
    void slotBtnClicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLineEdit *m_lineEdit;
    QToolButton *m_button;
    Q_DISABLE_COPY(PbLineEditWidget2)
};

#endif
