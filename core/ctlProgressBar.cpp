#include "core/ctlProgressBar.h"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

namespace quorl {
namespace {

// The system's highlight and window colours, the control's defaults.
QColor defaultForeColor(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Highlight);
}

QColor defaultBackColor(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Base);
}

qint16 toInt16(double value)
{
    return qint16(std::clamp(std::lround(value), long(INT16_MIN), long(INT16_MAX)));
}

} // namespace

IllegalPropertyValue::IllegalPropertyValue()
    : std::runtime_error("Illegal property value")
{
}

ctlProgressBar::ctlProgressBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ctlProgressBar"));
    m_foreColor = defaultForeColor(this);
    m_backColor = defaultBackColor(this);
    resize(320, 25);
    setMinimumHeight(16);
}

void ctlProgressBar::setTextAfter(const QString &text)
{
    if (text == m_textAfter)
        return;
    m_textAfter = text;
    Redraw();
}

void ctlProgressBar::setTextBefore(const QString &text)
{
    if (text == m_textBefore)
        return;
    m_textBefore = text;
    Redraw();
}

void ctlProgressBar::setBackColor(const QColor &color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    Redraw();
}

void ctlProgressBar::setForeColor(const QColor &color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    Redraw();
}

void ctlProgressBar::setBarFont(const QFont &given)
{
    QFont current = font();
    current.setFamily(given.family());
    setFont(current);
    Redraw();
}

void ctlProgressBar::setMin(double value)
{
    if (value == m_min)
        return;
    if (value > m_max)
        throw IllegalPropertyValue();
    m_min = value;
    Redraw();
}

void ctlProgressBar::setMax(double value)
{
    if (value == m_max)
        return;
    if (value < m_min)
        throw IllegalPropertyValue();
    m_max = value;
    Redraw();
}

void ctlProgressBar::setValue(double value)
{
    if (!(value >= m_min && value <= m_max))
        throw IllegalPropertyValue();
    m_value = value;
    Redraw();
}

void ctlProgressBar::Redraw()
{
    const double fraction = m_max == 0 ? 0.0 : m_value / m_max;
    const QString text = m_textBefore + QString::number(fraction * 100.0, 'f', 2) + QLatin1Char('%') + m_textAfter;
    m_text = text;

    const QSize area = size();
    m_picture = QImage(area.isEmpty() ? QSize(1, 1) : area, QImage::Format_RGB32);
    m_picture.fill(m_backColor);
    QPainter painter(&m_picture);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int w = toInt16(metrics.horizontalAdvance(text));
    const int h = toInt16(metrics.height());
    const int x = area.width() / 2 - w / 2;
    const int y = area.height() / 2 - h / 2;
    painter.fillRect(QRect(x, y, w, h), m_backColor);
    painter.setPen(m_foreColor);
    painter.drawText(QRect(x, y, w, h), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    if (fraction != 0) {
        // Background under the bar takes the bar's colour, text under it the opposite one.
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        const int barWidth = std::max(0, int(toInt16(area.width() * fraction)));
        painter.fillRect(QRect(0, 0, barWidth, area.height()), m_foreColor);
    }
    painter.end();
    update();
}

void ctlProgressBar::UserControl_InitProperties()
{
    m_min = 0;
    m_max = 100;
    m_value = 50;
    m_foreColor = defaultForeColor(this);
    m_backColor = defaultBackColor(this);
    m_textBefore.clear();
    m_textAfter.clear();
    m_propertiesReady = true;
}

void ctlProgressBar::UserControl_ReadProperties(const QVariantMap &bag)
{
    m_min = bag.value(QStringLiteral("Min"), 0.0).toDouble();
    m_max = bag.value(QStringLiteral("Max"), 100.0).toDouble();
    m_value = bag.value(QStringLiteral("Value"), 50.0).toDouble();
    m_foreColor = bag.value(QStringLiteral("ForeColor"), defaultForeColor(this)).value<QColor>();
    m_backColor = bag.value(QStringLiteral("BackColor"), defaultBackColor(this)).value<QColor>();
    const QFont ambient = parentWidget() ? parentWidget()->font() : font();
    setFont(bag.value(QStringLiteral("Font"), ambient).value<QFont>());
    m_textBefore = bag.value(QStringLiteral("TextBefore")).toString();
    m_textAfter = bag.value(QStringLiteral("TextAfter")).toString();
    Redraw();
}

QVariantMap ctlProgressBar::UserControl_WriteProperties() const
{
    QVariantMap bag;
    auto write = [&bag](const char *name, const QVariant &value, const QVariant &byDefault) {
        if (value != byDefault)
            bag.insert(QString::fromLatin1(name), value);
    };
    write("Min", m_min, 0.0);
    write("Max", m_max, 100.0);
    write("Value", m_value, 50.0);
    write("ForeColor", m_foreColor, defaultForeColor(this));
    write("BackColor", m_backColor, defaultBackColor(this));
    write("Font", font(), parentWidget() ? parentWidget()->font() : font());
    write("TextBefore", m_textBefore, QString());
    write("TextAfter", m_textAfter, QString());
    return bag;
}

void ctlProgressBar::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void ctlProgressBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_propertiesReady)
        Redraw();
}

void ctlProgressBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (m_propertiesReady && (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange))
        Redraw();
}

} // namespace quorl
