#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "platform/ui/TextBoxes.h"
#include "support/QtPrinters.h"

namespace quorl {
namespace {

// A shown window with a one-line box, as every window of the program has them.
class OneLineBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        box = new QLineEdit(window.get());
        auto *layout = new QVBoxLayout(window.get());
        layout->addWidget(box);
        window->show();
        box->setFocus();
    }

    void paste(const QString &clip)
    {
        QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }

    std::unique_ptr<QWidget> window;
    QLineEdit *box = nullptr;
};

struct PasteCase {
    const char *name;
    QString before;
    int cursor;
    QString pasted;
    QString after;
    int cursorAfter;
};

void PrintTo(const PasteCase &c, std::ostream *out)
{
    *out << c.name;
}

class OneLinePaste : public OneLineBox, public ::testing::WithParamInterface<PasteCase> {
};

TEST_P(OneLinePaste, KeepsTheFirstLineWithoutControlCharacters)
{
    const PasteCase &c = GetParam();
    box->setText(c.before);
    box->setCursorPosition(c.cursor);
    paste(c.pasted);
    EXPECT_EQ(box->text(), c.after);
    EXPECT_EQ(box->cursorPosition(), c.cursorAfter);
}

const QString kForgedName = QStringLiteral("Smith\r\n\r\n[08/03/2026 09:01:00]\r\n[Customer deleted]\r\nName: Jones");

INSTANTIATE_TEST_SUITE_P(
    Clipboard, OneLinePaste,
    ::testing::Values(
        PasteCase{"SeveralLinesKeepTheFirst", "", 0, kForgedName, "Smith", 5},
        PasteCase{"IntoTheMiddleKeepsWhatFollows", "abc", 1, "X\nY", "aXbc", 2},
        PasteCase{"LoneCarriageReturnEndsTheLine", "", 0, "one\rtwo", "one", 3},
        PasteCase{"UnicodeLineSeparatorEndsTheLine", "", 0, QStringLiteral("one\u2028two"), "one", 3},
        PasteCase{"LeadingLineBreakAddsNothing", "Jones", 5, "\r\nSmith", "Jones", 5},
        PasteCase{"NulAndControlCharactersStayOut", "", 0, QString::fromUtf8("Sm\0i\x01t\x1bh\x7f", 9) + QChar(0x9b),
                  "Smith", 5},
        PasteCase{"TabBecomesABlank", "", 0, "Smith\tJohn", "Smith John", 10},
        PasteCase{"PlainTextStaysAsItIs", "Mr ", 3, QStringLiteral("Ó Súilleabháin"),
                  QStringLiteral("Mr Ó Súilleabháin"), 17}),
    [](const ::testing::TestParamInfo<PasteCase> &info) { return std::string(info.param.name); });

TEST_F(OneLineBox, WhatTheProgramSetsIsShownAsStoredAndTypingKeepsIt)
{
    box->setText(QStringLiteral("Old\r\nrow"));
    EXPECT_EQ(box->text(), QStringLiteral("Old\r\nrow"));
    box->end(false);
    QTest::keyClicks(box, QStringLiteral("s"));
    EXPECT_EQ(box->text(), QStringLiteral("Old\r\nrows")) << "only what the user put in is held to one line";
    paste(QStringLiteral("!\n?"));
    EXPECT_EQ(box->text(), QStringLiteral("Old\r\nrows!"));
}

TEST_F(OneLineBox, TheEditSignalCarriesTheTextTheBoxKeeps)
{
    QStringList edited;
    QObject::connect(box, &QLineEdit::textEdited, [&edited](const QString &text) { edited << text; });
    QStringList changed;
    QObject::connect(box, &QLineEdit::textChanged, [&changed](const QString &text) { changed << text; });
    paste(kForgedName);
    EXPECT_EQ(edited, QStringList{"Smith"});
    EXPECT_EQ(changed, QStringList{"Smith"});
}

TEST(MultiLineText, StoresEveryLineBreakAsCrLfAndKeepsTabsButNoOtherControls)
{
    EXPECT_EQ(ui::multiLineText("one\ntwo\rthree\r\nfour\n"), "one\r\ntwo\r\nthree\r\nfour\r\n");
    EXPECT_EQ(ui::multiLineText(QStringLiteral("one\u2029two")), "one\r\ntwo");
    EXPECT_EQ(ui::multiLineText(QString::fromUtf8("a\0b\x01\tc\x7f", 7)), "ab\tc");
}

} // namespace
} // namespace quorl
