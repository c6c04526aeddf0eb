#include "reports/modWebBookingPage.h"

#include <QFile>
#include <QRegularExpression>

#include "masterdata/MasterDataTest.h"

namespace quorl {
namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

TEST(WebBookingPageText, YearListsFollowTheClock)
{
    const QString page = webBookingPageText(webBookingTemplate(), QString(), QString(), 2031);
    // Each of the two year lists offers the year and the two after it, and nothing else.
    for (const char *year : {"2031", "2032", "2033"})
        EXPECT_EQ(page.count(QStringLiteral("<option value=\"%1\">%1</option>").arg(QLatin1String(year))), 2) << year;
    EXPECT_EQ(page.count(QRegularExpression(QStringLiteral("<option value=\"\\d{4}\">"))), 6);
    EXPECT_EQ(page.size(), 5243 - 30);
}

TEST(WebBookingPageText, ValuesAreFilledInEscaped)
{
    const QString email = QStringLiteral("x\"><script>alert('o')</script>@marina.example");
    const QString page =
        webBookingPageText(webBookingTemplate(), QStringLiteral("https://forms.example/cgi-bin/rom.pl?a=1&b=2"), email, 2026);
    EXPECT_FALSE(page.contains(QStringLiteral("<script>")));
    EXPECT_EQ(page.count(QStringLiteral("value=\"x&quot;&gt;&lt;script&gt;alert(&#39;o&#39;)&lt;/script&gt;@marina.example\"")), 2);
    EXPECT_TRUE(page.contains(QStringLiteral("action=\"https://forms.example/cgi-bin/rom.pl?a=1&amp;b=2\"")));
}

TEST(WebBookingPageText, PlaceholderTypedIntoAValueStaysAsTyped)
{
    const QString page = webBookingPageText(webBookingTemplate(), QStringLiteral("{YOUREMAIL}"),
                                            QStringLiteral("a@b.example"), 2026);
    EXPECT_TRUE(page.contains(QStringLiteral("action=\"{YOUREMAIL}\"")));
    EXPECT_EQ(page.count(QStringLiteral("a@b.example")), 2);
}

TEST(HtmlEscaped, CharactersTheCodePageLacksBecomeReferences)
{
    EXPECT_EQ(htmlEscaped(QStringLiteral("Zoë £5 €")), QStringLiteral("Zoë £5 €"));
    EXPECT_EQ(htmlEscaped(QStringLiteral("Łódź")), QStringLiteral("&#321;ód&#378;"));
    EXPECT_EQ(htmlEscaped(QStringLiteral("why?")), QStringLiteral("why?"));
}

class GeneratePageTest : public MasterDataTest
{
protected:
    QString target() const { return worldDir() + QStringLiteral("/page.html"); }
};

TEST_F(GeneratePageTest, SavedPageEndsWithOneMoreLineEndAndKeepsTheLengthRule)
{
    const QString action = QStringLiteral("https://forms.example/cgi-bin/rom.pl");
    const QString email = QStringLiteral("bookings@marina.example");
    expectFileDialog(target());
    EXPECT_TRUE(GenerateWebBookingPage(action, email));
    const QByteArray bytes = fileBytes(target());
    EXPECT_EQ(bytes.size(), 5245 + action.size() + 2 * email.size() - 30);
    EXPECT_TRUE(bytes.endsWith("</html>\r\n\r\n"));
    EXPECT_TRUE(bytes.contains("<form action=\"https://forms.example/cgi-bin/rom.pl\" method=\"POST\">"));
    EXPECT_EQ(bytes.count("bookings@marina.example"), 2);
    EXPECT_EQ(eventLog(), QString());
}

TEST_F(GeneratePageTest, CancelWritesNothing)
{
    expectFileDialog(QString());
    EXPECT_FALSE(GenerateWebBookingPage(QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_FALSE(QFile::exists(target()));
}

TEST_F(GeneratePageTest, UnwritablePlaceIsReported)
{
    QFile plain(worldDir() + QStringLiteral("/plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    expectFileDialog(worldDir() + QStringLiteral("/plain.txt/page.html"));
    expectMessage(QStringLiteral("Can't save HTML file:\r\n"), ui::vbOK);
    EXPECT_FALSE(GenerateWebBookingPage(QStringLiteral("x"), QStringLiteral("y")));
}

} // namespace
} // namespace quorl
