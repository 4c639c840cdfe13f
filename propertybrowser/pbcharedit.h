// In-place editor of one character: the next printable key typed becomes
// the value; the context menu can clear it.
#ifndef PBCHAREDIT_H
#define PBCHAREDIT_H

#include <QChar>
#include <QWidget>

class QLineEdit;

class PbCharEdit : public QWidget
{
    Q_OBJECT
public:
    explicit PbCharEdit(QWidget *parent = nullptr);

    /// The stored character; null when none.
    QChar value() const;
    bool eventFilter(QObject *watched, QEvent *event) override;

public Q_SLOTS:
    /// Stores and shows `value` without announcing it.
    void setValue(const QChar &value);

Q_SIGNALS:
    /// The user typed or cleared the character.
    void valueChanged(const QChar &value);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private Q_SLOTS:
    void slotClearChar();

private:
    Q_DISABLE_COPY(PbCharEdit)
    void handleKeyEvent(QKeyEvent *event);

    QChar m_value;
    QLineEdit *m_lineEdit;
};

#endif
