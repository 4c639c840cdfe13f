// Check-box editor of boolean properties: a check box that shows "True" or
// "False" and toggles on a left click anywhere inside the editor.
#ifndef PBBOOLEDIT_H
#define PBBOOLEDIT_H

#include <QWidget>

class QCheckBox;

class PbBoolEdit : public QWidget
{
    Q_OBJECT
public:
    explicit PbBoolEdit(QWidget *parent = nullptr);

    bool textVisible() const { return m_textVisible; }
    /// Shows "True"/"False" beside the box, or no text.
    void setTextVisible(bool visible);

    bool isChecked() const;
    /// Ticks or clears the box and refreshes its text.
    void setChecked(bool checked);
    Qt::CheckState checkState() const;
    /// Sets the state without touching the text.
    void setCheckState(Qt::CheckState state);

    /// Blocks the inner check box's signals; returns the previous blocking state.
    bool setCheckBoxSignalsBlocked(bool block);

signals:
    void toggled(bool);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void updateText();

    QCheckBox *m_checkBox;
    bool m_textVisible = true;
    Q_DISABLE_COPY(PbBoolEdit)
};

#endif
