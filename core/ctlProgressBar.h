#pragma once

#include <stdexcept>

#include <QColor>
#include <QImage>
#include <QString>
#include <QVariantMap>
#include <QWidget>

namespace quorl {

// What a setter of Min, Max or Value raises for a value outside the allowed range.
class IllegalPropertyValue : public std::runtime_error
{
public:
    IllegalPropertyValue();
    static constexpr qint32 kNumber = qint32(0x80041000);
};

// A horizontal progress bar with its percentage centred on it. The bar is drawn over
// the text in not-xor mode, so the part of the text it covers shows inverted
// instead of being hidden. The fraction is Value / Max (Min takes no part in it).
class ctlProgressBar : public QWidget
{
    Q_OBJECT

public:
    explicit ctlProgressBar(QWidget *parent = nullptr);

    QString TextAfter() const { return m_textAfter; }
    void setTextAfter(const QString &text);
    QString TextBefore() const { return m_textBefore; }
    void setTextBefore(const QString &text);
    QColor BackColor() const { return m_backColor; }
    void setBackColor(const QColor &color);
    QColor ForeColor() const { return m_foreColor; }
    void setForeColor(const QColor &color);
    // Only the family of the given font is taken over.
    void setBarFont(const QFont &font);

    double Min() const { return m_min; }
    void setMin(double value);   // throws IllegalPropertyValue above Max
    double Max() const { return m_max; }
    void setMax(double value);   // throws IllegalPropertyValue below Min
    double Value() const { return m_value; }
    void setValue(double value); // throws IllegalPropertyValue outside [Min, Max]; always redraws

    // Paints the bar and its text anew.
    void Redraw();
    // The text the last Redraw centred on the bar.
    QString text() const { return m_text; }

    // The defaults of a newly placed control; from then on it also redraws on resizes.
    void UserControl_InitProperties();
    // The saved properties ("Min", "Max", "Value", "ForeColor", "BackColor", "Font",
    // "TextBefore", "TextAfter"); a missing one takes its default.
    void UserControl_ReadProperties(const QVariantMap &bag);
    // The properties that differ from their defaults.
    QVariantMap UserControl_WriteProperties() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    double m_min = 0;
    double m_max = 100;
    double m_value = 50;
    bool m_propertiesReady = false;
    QColor m_foreColor;
    QColor m_backColor;
    QString m_textBefore;
    QString m_textAfter;
    QImage m_picture;
    QString m_text;
};

} // namespace quorl
