#include <memory>

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "BookingWorld.h"
#include "core/MDIMain.h"
#include "platform/db/Recordset.h"
#include "platform/ui/CheckedDatePicker.h"
#include "platform/ui/MdiChildren.h"
#include "reservations/frmBooking.h"
#include "reservations/frmFindBooking.h"

namespace quorl {
namespace {

class FindBooking : public BookingWorld {
protected:
    void SetUp() override
    {
        BookingWorld::SetUp();
        const qint64 customer = addCustomer(QStringLiteral("Dee Fisher"));
        early = addBooking(at(2026, 6, 1, 8, 0), at(2026, 6, 10, 14, 0), {}, customer);
        addBooking(at(2026, 6, 3, 9, 0), at(2026, 6, 11, 0, 0), {}, customer);
        addBooking(at(2026, 7, 1, 9, 0), at(2026, 7, 2, 9, 0), {}, customer);
        main = std::make_unique<MDIMain>();
        dialog = new frmFindBooking(main.get());
        dialog->show();
    }
    void TearDown() override
    {
        main.reset();
        BookingWorld::TearDown();
    }

    void search(std::optional<QDate> arriving, std::optional<QDate> departing)
    {
        for (auto [name, day] : {std::pair{"dtpArriving", arriving}, std::pair{"dtpDeparting", departing}}) {
            auto *picker = dialog->findChild<ui::CheckedDatePicker *>(QLatin1String(name));
            picker->setChecked(day.has_value());
            if (day)
                picker->setDate(*day);
        }
        dialog->findChild<QPushButton *>(QStringLiteral("cmdStart"))->click();
    }
    QString count() const { return dialog->findChild<QLabel *>(QStringLiteral("lblTotalMatches"))->text(); }

    std::unique_ptr<MDIMain> main;
    frmFindBooking *dialog = nullptr;
    qint64 early = 0;
};

TEST_F(FindBooking, CountsTheMatchesOrTheWholeListAndGrowsAtTheFirstDatedSearch)
{
    search(std::nullopt, std::nullopt);
    EXPECT_EQ(count(), "3");
    EXPECT_TRUE(dialog->isSmall());
    search(QDate(2027, 1, 1), std::nullopt);
    EXPECT_EQ(count(), "0");
    EXPECT_FALSE(dialog->isSmall());
    EXPECT_GE(dialog->height(), 296);
    search(std::nullopt, std::nullopt);
    EXPECT_EQ(count(), "3");
}

TEST_F(FindBooking, ViewEditClosesTheSearchAndOpensTheCurrentBookingIfAny)
{
    search(QDate(2027, 1, 1), std::nullopt);
    dialog->findChild<QPushButton *>(QStringLiteral("cmdEditBooking"))->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ui::findMdiChild<frmBooking>(main->mdiArea()), nullptr);

    dialog->show();
    search(QDate(2026, 6, 1), QDate(2026, 6, 10));
    EXPECT_EQ(count(), "1");
    dialog->findChild<QPushButton *>(QStringLiteral("cmdEditBooking"))->click();
    EXPECT_FALSE(dialog->isVisible());
    const frmBooking *form = ui::findMdiChild<frmBooking>(main->mdiArea());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Mode(), 2);
    EXPECT_EQ(form->BookingID(), early);
}

} // namespace
} // namespace quorl
