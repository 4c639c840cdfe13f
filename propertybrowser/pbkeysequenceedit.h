// In-place editor of a key sequence: up to four key presses in a row are
// recorded as the sequence's keys; leaving the editor starts a new sequence.
#ifndef PBKEYSEQUENCEEDIT_H
#define PBKEYSEQUENCEEDIT_H

#include <QKeySequence>
#include <QWidget>

class QLineEdit;

class PbKeySequenceEdit : public QWidget
{
    Q_OBJECT
public:
    explicit PbKeySequenceEdit(QWidget *parent = nullptr);

    QKeySequence keySequence() const;
    bool eventFilter(QObject *watched, QEvent *event) override;

public Q_SLOTS:
    /// Stores and shows `sequence` without announcing it; the next key
    /// pressed starts a new sequence.
    void setKeySequence(const QKeySequence &sequence);

Q_SIGNALS:
    /// The user pressed a key or cleared the sequence.
    void keySequenceChanged(const QKeySequence &sequence);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private Q_SLOTS:
    void slotClearShortcut();

private:
    Q_DISABLE_COPY(PbKeySequenceEdit)
    void handleKeyEvent(QKeyEvent *event);
    int translateModifiers(Qt::KeyboardModifiers state, const QString &text) const;

    int m_num = 0;
    QKeySequence m_keySequence;
    QLineEdit *m_lineEdit;
};

#endif
