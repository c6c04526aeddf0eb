#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QVBoxLayout>

#include "platform/ui/ValidateOnLeave.h"
#include "platform/ui/WizardPages.h"
#include "support/QuorlTest.h"

namespace quorl {
namespace {

// A window with a checked box, a second box and a button, shown and active.
class LeaveForm : public QuorlTest {
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        auto *layout = new QVBoxLayout(&window);
        box = new QLineEdit(&window);
        other = new QLineEdit(&window);
        go = new QPushButton(QStringLiteral("&Go"), &window);
        layout->addWidget(box);
        layout->addWidget(other);
        layout->addWidget(go);
        ui::installValidateOnLeave(box, [this] {
            ++checks;
            if (duringCheck)
                duringCheck();
            return box->text() != QStringLiteral("bad");
        });
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        ASSERT_TRUE(box->hasFocus());
    }

    QWidget window;
    QLineEdit *box = nullptr;
    QLineEdit *other = nullptr;
    QPushButton *go = nullptr;
    int checks = 0;
    std::function<void()> duringCheck;
};

TEST_F(LeaveForm, ARefusedTextKeepsTheFocusAndAnAcceptedOneLetsItGo)
{
    box->setText(QStringLiteral("bad"));
    other->setFocus();
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(box->hasFocus());

    box->setText(QStringLiteral("good"));
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(checks, 2);
    EXPECT_TRUE(other->hasFocus());
}

TEST_F(LeaveForm, AClickOnAButtonAfterARefusalDoesNotPressIt)
{
    QSignalSpy clicked(go, &QPushButton::clicked);
    box->setText(QStringLiteral("bad"));
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(box->hasFocus());

    box->setText(QStringLiteral("good"));
    QTest::qWait(0); // the swallowed press is forgotten once the events are through
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(LeaveForm, AButtonsAccessKeyIsCheckedBeforeItActs)
{
    QSignalSpy clicked(go, &QPushButton::clicked);
    box->setText(QStringLiteral("bad"));
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    QTest::qWait(200); // an access key clicks after a short animation
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(box->hasFocus());
}

TEST_F(LeaveForm, AControlThatCausesNoValidationIsReachedWithoutACheck)
{
    ui::setCausesValidation(go, false);
    QSignalSpy clicked(go, &QPushButton::clicked);
    box->setText(QStringLiteral("bad"));
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(checks, 0);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(LeaveForm, AnotherWindowTakingTheFocusIsNoMove)
{
    box->setText(QStringLiteral("bad"));
    QWidget elsewhere;
    auto *field = new QLineEdit(&elsewhere);
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    field->setFocus();
    EXPECT_EQ(checks, 0);

    // Back in the window the focus returns to the box, and nothing was checked.
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(checks, 0);
}

TEST_F(LeaveForm, FocusMovesMadeByTheCheckItselfNeverStartAnotherCheck)
{
    // As a message box would: the check moves the focus while it runs.
    duringCheck = [this] { other->setFocus(); box->setFocus(); other->setFocus(); };
    box->setText(QStringLiteral("bad"));
    other->setFocus();
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(box->hasFocus());
}

TEST_F(QuorlTest, WizardPagesShowOnePageAndSetTheButtonsForIt)
{
    QWidget window;
    auto *stack = new QStackedWidget(&window);
    auto *back = new QPushButton(QStringLiteral("&Back"), &window);
    auto *next = new QPushButton(QStringLiteral("&Next"), &window);
    ui::WizardPages pages(stack, &window, back, next);
    QList<QLabel *> labels;
    for (const char *caption : {"Welcome", "Details", "Done"}) {
        pages.addPage(QString::fromLatin1(caption));
        labels.append(new QLabel(QString::fromLatin1(caption), &window));
    }
    pages.setStepLabels(labels);
    window.show();
    EXPECT_EQ(pages.page(1)->objectName(), QStringLiteral("fraStep(1)"));

    pages.showStep(0);
    EXPECT_FALSE(back->isVisible());
    EXPECT_EQ(next->text(), QStringLiteral("&Next"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Welcome"));
    EXPECT_EQ(stack->currentWidget(), pages.page(0));

    pages.showStep(2);
    EXPECT_TRUE(back->isVisible());
    EXPECT_EQ(next->text(), QStringLiteral("&Finish"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Done"));
    EXPECT_TRUE(labels.at(2)->font().bold());
    EXPECT_FALSE(labels.at(0)->font().bold());

    pages.showStep(7);
    EXPECT_EQ(pages.current(), 2);
    pages.showStep(1);
    EXPECT_EQ(next->text(), QStringLiteral("&Next"));
    EXPECT_FALSE(labels.at(2)->font().bold());
}

} // namespace
} // namespace quorl
