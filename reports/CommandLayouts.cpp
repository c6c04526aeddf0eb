#include "reports/CommandLayouts.h"

#include "core/ProductLogo.h"
#include "platform/ui/Clock.h"
#include "reports/ReportFormats.h"
#include "reports/ReportPreview.h"

namespace quorl::reports {
namespace {

const ReportFont kText{QStringLiteral("Arial"), 10};
const ReportFont kLabel{QStringLiteral("Arial"), 10, true};
const ReportFont kHeading{QStringLiteral("Arial"), 18, true};
const ReportFont kSmall{QStringLiteral("Arial"), 8};
const ReportFont kSmallBold{QStringLiteral("Arial"), 8, true};

QString text(const CommandRow &row, const char *field)
{
    return plainText(row.value(QString::fromLatin1(field)));
}

QString money(const CommandRow &row, const char *field)
{
    return moneyText(row.value(QString::fromLatin1(field)));
}

// A caption and its value on one line; the value wraps under itself.
void labelled(ReportBand &band, const QString &caption, const QString &value, qreal valueLeft = 170)
{
    band.line({ReportCell{0, valueLeft - 5, caption, kLabel}, ReportCell{valueLeft, 0, value, kText}});
}

void plainLine(ReportBand &band, const QString &value, const ReportFont &style = kText)
{
    band.line({ReportCell{0, 0, value, style}}, 1);
}

// The company's name and address as both the receipt and the reservation form head them.
ReportBand companyHeader(const CommandRow &company, bool withVatNumber)
{
    ReportBand header;
    header.picture(productLogo().toImage(), 48);
    header.line({ReportCell{0, 0, text(company, "Company Name"), ReportFont{QStringLiteral("Arial"), 14, true}}});
    for (const char *field : {"Street", "Area", "Town", "County", "Postcode"}) {
        const QString value = text(company, field);
        if (!value.isEmpty())
            plainLine(header, value);
    }
    labelled(header, QStringLiteral("Telephone No:"), text(company, "Telephone No"), 100);
    if (withVatNumber)
        labelled(header, QStringLiteral("VAT No:"), text(company, "VAT No"), 100);
    return header;
}

ReportBand invoiceDetail(const CommandRow &invoice)
{
    ReportBand detail;
    labelled(detail, QStringLiteral("Invoice Number:"), text(invoice, "ID"));
    labelled(detail, QStringLiteral("Booking Date:"), text(invoice, "FromDate"));
    labelled(detail, QStringLiteral("Booked By:"), text(invoice, "BookedBy"));
    detail.line({ReportCell{0, 165, money(invoice, "CostOfHire"), kText},
                 ReportCell{170, 95, QStringLiteral("OtherCharges:"), kLabel},
                 ReportCell{270, 0, money(invoice, "OtherCharges"), kText}});
    detail.gap(6);
    plainLine(detail, QStringLiteral("Booking charges,"), kLabel);
    const struct {
        const char *caption;
        const char *field;
    } charges[] = {{"Cost Of Hire:", "CostOfHire"}, {"Other Charges:", "OtherCharges"}, {"VAT:", "VAT"},
                   {"Total Payable:", "TotalPayable"}, {"Amount Payed:", "AmountPayed"}};
    for (const auto &charge : charges) {
        detail.line({ReportCell{20, 145, QString::fromLatin1(charge.caption), kText},
                     ReportCell{170, 90, money(invoice, charge.field), kText, Qt::AlignRight}});
    }
    detail.rule();
    labelled(detail, QStringLiteral("Berth Confirmation Number:"), text(invoice, "BerthConfirmationNumber"));
    labelled(detail, QStringLiteral("Guest Confirmation Number:"), text(invoice, "GuestConfirmationNumber"));
    labelled(detail, QStringLiteral("Notes:"), text(invoice, "Notes"));
    detail.rule();
    for (const CommandRow &customer : invoice.chapter(QStringLiteral("Customer"))) {
        for (const char *field : {"Name", "HouseName", "Street", "Area", "Town", "Postcode"})
            plainLine(detail, text(customer, field));
    }
    detail.gap(10);
    return detail;
}

ReportBand reservationHeader(const CommandRow &booking)
{
    ReportBand header;
    header.gap(8);
    plainLine(header, QStringLiteral("Reservation Form"), kHeading);
    header.gap(6);
    labelled(header, QStringLiteral("Reservation Number:"), text(booking, "ID"));
    const QDateTime from = booking.value(QStringLiteral("FromDate")).toDateTime();
    const QDateTime to = booking.value(QStringLiteral("ToDate")).toDateTime();
    header.line({ReportCell{0, 165, QStringLiteral("From Date:"), kLabel},
                 ReportCell{170, 150, text(booking, "FromDate"), kText},
                 ReportCell{330, 0, from.isValid() ? from.toString(QStringLiteral("HH:mm")) : QString(), kText}});
    header.line({ReportCell{0, 165, QStringLiteral("To Date:"), kLabel},
                 ReportCell{170, 150, text(booking, "ToDate"), kText},
                 ReportCell{330, 0, to.isValid() ? to.toString(QStringLiteral("H:mm")) : QString(), kText}});
    header.gap(6);
    return header;
}

ReportBand customerDetail(const CommandRow &customer)
{
    ReportBand detail;
    for (const char *field : {"Name", "HouseName", "Street", "Area", "Town", "Postcode", "TelNo", "MobileNo",
                              "EmailAddress"})
        labelled(detail, QString::fromLatin1(field) + QLatin1Char(':'), text(customer, field));
    labelled(detail, QStringLiteral("Client Notes:"), text(customer, "Notes"));
    labelled(detail, QStringLiteral("ClubMember:"), checkBoxText(customer.value(QStringLiteral("ClubMember"))));
    labelled(detail, QStringLiteral("MembershipNo:"), text(customer, "MembershipNo"));
    return detail;
}

ReportBand captionedText(const QString &caption, const QString &value)
{
    ReportBand band;
    band.gap(6);
    if (!caption.isEmpty())
        plainLine(band, caption, kLabel);
    band.line({ReportCell{0, 0, value, kText}}, 4);
    return band;
}

} // namespace

ReportDocument invoiceReport(const std::vector<CommandRow> &receipt)
{
    ReportDocument document;
    document.name = QStringLiteral("Invoice");
    for (const CommandRow &company : receipt) {
        ReportBand header = companyHeader(company, true);
        header.rule();
        header.gap(4);
        plainLine(header, QStringLiteral("INVOICE"), kHeading);
        header.gap(8);
        document.body.append(header);
        for (const CommandRow &invoice : company.chapter(QStringLiteral("InvTemp")))
            document.body.append(invoiceDetail(invoice));
        document.body.append(captionedText(QString(), text(company, "Receipt Footer")));
    }
    return document;
}

ReportDocument bookingFormReport(const std::vector<CommandRow> &booking)
{
    ReportDocument document;
    document.name = QStringLiteral("Booking");
    for (const CommandRow &company : booking) {
        document.body.append(companyHeader(company, false));
        for (const CommandRow &reservation : company.chapter(QStringLiteral("INVT"))) {
            document.body.append(reservationHeader(reservation));
            for (const CommandRow &customer : reservation.chapter(QStringLiteral("Cust")))
                document.body.append(customerDetail(customer));
            document.body.append(captionedText(QStringLiteral("Reservation Notes:"), text(reservation, "Notes")));
        }
        document.body.append(captionedText(QStringLiteral("Reservation Terms and Conditions:"),
                                           text(company, "TermsandConditions")));
    }
    document.pageFooter.line({ReportCell{0, 0,
                                         QStringLiteral("Signature: ____________________________________ "
                                                        "Date: ___________________"),
                                         kText}});
    return document;
}

ReportDocument outstandingReport(const std::vector<CommandRow> &rows, const QDateTime &now)
{
    struct Column {
        qreal left;
        qreal width;
        const char *head;
        const char *field;
        bool isMoney;
    };
    static const Column columns[] = {
        {0, 140, "Name:", "Name", false},
        {145, 95, "Date:", "FromDate", false},
        {245, 70, "Reservation:", "CostOfHire", true},
        {320, 75, "Other Charges:", "OtherCharges", true},
        {400, 65, "VAT:", "VAT", true},
        {470, 70, "Payable:", "TotalPayable", true},
        {545, 70, "Payed:", "AmountPayed", true},
        {625, 0, "", "TelNo", false},
    };
    ReportDocument document;
    document.name = QStringLiteral("Outstanding");
    document.orientation = QPageLayout::Landscape;

    document.reportHeader.line({ReportCell{0, 0, QStringLiteral("Reservations With Balance Due"), kHeading}}, 4);
    document.reportHeader.line({ReportCell{0, 200, longDateText(now.date()), kText},
                                ReportCell{205, 0, shortTimeText(now.time()), kText}},
                               10);

    QList<ReportCell> heads;
    for (const Column &column : columns) {
        heads.append(ReportCell{column.left, column.width, QString::fromLatin1(column.head), kSmallBold,
                                column.isMoney ? Qt::AlignRight : Qt::AlignLeft});
    }
    document.pageHeader.line(heads, 0);
    document.pageHeader.rule();

    for (const CommandRow &row : rows) {
        QList<ReportCell> cells;
        for (const Column &column : columns) {
            const QString value = column.isMoney ? money(row, column.field) : text(row, column.field);
            cells.append(ReportCell{column.left, column.width, value, kSmall,
                                    column.isMoney ? Qt::AlignRight : Qt::AlignLeft});
        }
        ReportBand detail;
        detail.line(cells, 0);
        detail.rule();
        document.body.append(detail);
    }
    return document;
}

bool PrintInvoice()
{
    return printReport(invoiceReport(DataEnvironment1::run(QString::fromUtf8(DataEnvironment1::Receipt))));
}

bool PrintBookingForm()
{
    return printReport(bookingFormReport(DataEnvironment1::run(QString::fromUtf8(DataEnvironment1::Booking))));
}

bool PrintOutstanding()
{
    return printReport(
        outstandingReport(DataEnvironment1::run(QString::fromUtf8(DataEnvironment1::Outstanding)), ui::Now()));
}

} // namespace quorl::reports
