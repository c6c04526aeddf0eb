#include <functional>
#include <memory>
#include <ostream>

#include <QDateEdit>
#include <QLabel>
#include <QTimeEdit>

#include "BookingWorld.h"
#include "masterdata/fmCompany.h"
#include "masterdata/frmAddCustomer.h"
#include "masterdata/frmAddOwner.h"
#include "masterdata/frmEditBerths.h"
#include "masterdata/frmViewCustomers.h"
#include "platform/ui/DataCombo.h"
#include "reservations/Availability.h"
#include "reservations/frmBooking.h"

namespace quorl {
namespace {

// Names, addresses and notes are the office's typing and may hold anything, markup
// included: a label shows "<b>Smith</b>" as those characters, never as bold text.
const QString kMarkup = QStringLiteral("<b>Smith</b>");

class StoredTextLabels;

struct WindowCase {
    const char *name;
    // Opens the window on rows that hold markup; the window stays alive with the test.
    std::function<QWidget *(StoredTextLabels &)> open;
    const char *label = nullptr; // a label that shows stored text
    const char *shown = nullptr; // what that label reads
};

void PrintTo(const WindowCase &c, std::ostream *out)
{
    *out << c.name;
}

class StoredTextLabels : public BookingWorld, public ::testing::WithParamInterface<WindowCase> {
public:
    template <class T>
    T *keep(std::unique_ptr<T> window)
    {
        T *raw = window.get();
        m_window.reset(window.release());
        return raw;
    }
    template <class T>
    QWidget *window()
    {
        return keep(std::make_unique<T>());
    }
    // A customer or owner dialog editing the row with that ID.
    template <class T>
    QWidget *dialog(qint64 id)
    {
        T *shown = keep(std::make_unique<T>());
        EXPECT_TRUE(shown->prepare(2, id));
        return shown;
    }

    qint64 customer = 0;
    qint64 berth = 0;

protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        customer = addCustomer(kMarkup, QStringLiteral("<i>Rose</i>"), QStringLiteral("<a href='x'>mail</a>"));
        execute(QStringLiteral("UPDATE Customer SET Street = '<u>Quay</u>', Notes = '<h1>note</h1>';"
                               "INSERT INTO Owner (ID, Name, Notes) VALUES (1, '<b>Smith</b>', '<i>n</i>');"
                               "UPDATE Company SET [Company Name] = '<b>Smith</b>', Street = '<u>Quay</u>'"));
        berth = addBerth(kMarkup, 20.0);
    }

    void TearDown() override
    {
        m_window.reset();
        BookingWorld::TearDown();
    }

private:
    std::unique_ptr<QWidget> m_window;
};

QWidget *bookingConfirmation(StoredTextLabels &world)
{
    frmBooking *form = world.keep(std::make_unique<frmBooking>());
    form->Display(1, 0);
    form->findChild<QDateEdit *>(QStringLiteral("dtpFromDate"))->setDate(QDate(2026, 6, 1));
    form->findChild<QTimeEdit *>(QStringLiteral("dtpFromTime"))->setTime(QTime(9, 0));
    form->findChild<QDateEdit *>(QStringLiteral("dtpToDate"))->setDate(QDate(2026, 6, 3));
    form->findChild<QTimeEdit *>(QStringLiteral("dtpToTime"))->setTime(QTime(14, 0));
    form->cmdNext_Click();
    form->grdBerth_Click(form->availableBerths()->rowOfBerth(world.berth) + 1);
    form->cmdNext_Click();
    form->findChild<ui::DataCombo *>(QStringLiteral("cboCustomer"))->setBoundValue(world.customer);
    form->cmdNext_Click();
    EXPECT_EQ(form->CurrentStep(), 3);
    return form;
}

TEST_P(StoredTextLabels, ShowMarkupAsTheCharactersTyped)
{
    QWidget *window = GetParam().open(*this);
    ASSERT_NE(window, nullptr);
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().contains(QLatin1Char('<'))) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        }
    }
    if (GetParam().label) {
        const auto *shown = window->findChild<QLabel *>(QString::fromLatin1(GetParam().label));
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text().toStdString(), GetParam().shown);
        EXPECT_EQ(shown->textFormat(), Qt::PlainText);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, StoredTextLabels,
    ::testing::Values(
        WindowCase{"BookingConfirmationName", bookingConfirmation, "lblName", "<b>Smith</b>, <i>Rose</i>"},
        WindowCase{"BookingConfirmationAddress", bookingConfirmation, "lblAddress",
                   "<u>Quay</u>, Harbourside, Porthwen, PW1 2AB"},
        WindowCase{"BookingConfirmationEmail", bookingConfirmation, "lblMail", "<a href='x'>mail</a>"},
        WindowCase{"CustomerDialog", [](StoredTextLabels &w) { return w.dialog<frmAddCustomer>(w.customer); }},
        WindowCase{"OwnerDialog", [](StoredTextLabels &w) { return w.dialog<frmAddOwner>(1); }},
        WindowCase{"CustomerList", [](StoredTextLabels &w) { return w.window<frmViewCustomers>(); }},
        WindowCase{"BerthEditor", [](StoredTextLabels &w) { return w.window<frmEditBerths>(); }},
        WindowCase{"CompanyForm", [](StoredTextLabels &w) { return w.window<fmCompany>(); }}),
    [](const ::testing::TestParamInfo<WindowCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorl
