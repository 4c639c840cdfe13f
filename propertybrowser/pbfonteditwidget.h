// Editor of font properties: a sample letter and the font's text, and a
// button that opens the font dialog; a font chosen there is committed at once.
#ifndef PBFONTEDITWIDGET_H
#define PBFONTEDITWIDGET_H

#include <QFont>
#include <QWidget>

class QLabel;
class QToolButton;

class PbFontEditWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PbFontEditWidget(QWidget *parent = nullptr);

    QFont value() const { return m_font; }
    bool eventFilter(QObject *watched, QEvent *event) override;

public Q_SLOTS:
    /// Stores and shows a font that differs from the shown one; emits nothing.
    void setValue(const QFont &value);

Q_SIGNALS:
    /// A font was chosen in the dialog; carries the stored font.
    void valueChanged(const QFont &value);

protected:
    void paintEvent(QPaintEvent *event) override;

private Q_SLOTS:
    void buttonClicked();

private:
    QFont m_font;
    QLabel *m_pixmapLabel;
    QLabel *m_label;
    QToolButton *m_button;
    Q_DISABLE_COPY(PbFontEditWidget)
};

#endif
