// Editor of colour properties: a swatch and the colour's text, and a button
// that opens the colour dialog; a colour chosen there is committed at once.
#ifndef PBCOLOREDITWIDGET_H
#define PBCOLOREDITWIDGET_H

#include <QColor>
#include <QWidget>

class QLabel;
class QToolButton;

class PbColorEditWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PbColorEditWidget(QWidget *parent = nullptr);

    QColor value() const { return m_color; }
    bool eventFilter(QObject *watched, QEvent *event) override;

public Q_SLOTS:
    /// Stores and shows a colour that differs from the shown one; emits nothing.
    void setValue(const QColor &value);

Q_SIGNALS:
    /// A different colour was chosen in the dialog.
    void valueChanged(const QColor &value);

protected:
    void paintEvent(QPaintEvent *event) override;

private Q_SLOTS:
    void buttonClicked();

private:
    QColor m_color;
    QLabel *m_pixmapLabel;
    QLabel *m_label;
    QToolButton *m_button;
    Q_DISABLE_COPY(PbColorEditWidget)
};

#endif
