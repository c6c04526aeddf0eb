#include "core/ctlProgressBar.h"

#include <ostream>

#include <QImage>
#include <QPixmap>

#include "support/QuorlTest.h"

namespace quorl {
namespace {

const QColor kFore(0, 0, 255);
const QColor kBack(255, 255, 255);

ctlProgressBar *newBar(QWidget *parent)
{
    auto *bar = new ctlProgressBar(parent);
    bar->UserControl_InitProperties();
    bar->setForeColor(kFore);
    bar->setBackColor(kBack);
    bar->resize(200, 40);
    return bar;
}

// The bar's width as the user sees it: the run of bar colour along the top row,
// which the centred text never reaches.
int paintedBarWidth(ctlProgressBar &bar)
{
    const QImage image = bar.grab().toImage();
    int width = 0;
    while (width < image.width() && QColor(image.pixel(width, 0)) == kFore)
        ++width;
    return width;
}

struct BarCase {
    const char *name;
    double min, max, value;
    const char *text;
    int barWidth;   // of 200 pixels
};

void PrintTo(const BarCase &c, std::ostream *os) { *os << c.name; }
class ProgressBarDrawing : public ::testing::TestWithParam<BarCase> {};

TEST_P(ProgressBarDrawing, ShowsThePercentageOfMaxAndABarAsWide)
{
    QWidget form;
    ctlProgressBar *bar = newBar(&form);
    bar->setTextBefore(QStringLiteral("Done "));
    bar->setMax(GetParam().max);
    bar->setMin(GetParam().min);
    bar->setValue(GetParam().value);
    EXPECT_EQ(bar->text(), QStringLiteral("Done ") + QLatin1String(GetParam().text));
    EXPECT_EQ(paintedBarWidth(*bar), GetParam().barWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProgressBarDrawing,
    ::testing::Values(BarCase{"Full", 0, 100, 100, "100.00%", 200},
                      BarCase{"Empty", 0, 100, 0, "0.00%", 0}, BarCase{"MaxZeroShowsNoBar", 0, 0, 0, "0.00%", 0},
                      BarCase{"MinTakesNoPartInTheFraction", 20, 100, 20, "20.00%", 40},
                      BarCase{"Fractions", 0, 3, 1, "33.33%", 67}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ProgressBarProperties, OutOfRangeValuesAreRefusedAndChangeNothing)
{
    QWidget form;
    ctlProgressBar *bar = newBar(&form);
    bar->setValue(30);
    EXPECT_THROW(bar->setValue(101), IllegalPropertyValue);
    EXPECT_THROW(bar->setValue(-1), IllegalPropertyValue);
    EXPECT_THROW(bar->setMin(150), IllegalPropertyValue);
    EXPECT_THROW(bar->setMax(-5), IllegalPropertyValue);
    EXPECT_EQ(bar->Value(), 30);
    EXPECT_EQ(bar->text(), QStringLiteral("30.00%"));

    // Min and Max may meet; Value outside a narrowed range stays until set again.
    bar->setMax(10);
    EXPECT_EQ(bar->Value(), 30);
    EXPECT_NO_THROW(bar->setMin(10));
    EXPECT_NO_THROW(bar->setValue(10));
}

} // namespace
} // namespace quorl
