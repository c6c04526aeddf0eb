#include "masterdata/fmCompany.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/ui/BoundFields.h"
#include "platform/ui/Twips.h"

namespace quorl {

namespace {

const QString kRecordSource = QStringLiteral(
    "select CompanyID,[Company Name],[Trading Name],Street,Area,Town,County,Postcode,[Telephone No],[VAT No],"
    "[Receipt Footer],TermsandConditions from Company");

struct CompanyField {
    const char *column;
    const char *caption;
};

// In the order of the record source; the key shows without a caption.
constexpr std::array<CompanyField, 12> kFields{{
    {"CompanyID", nullptr},
    {"Company Name", "Company Name:"},
    {"Trading Name", "Trading Name:"},
    {"Street", "Street:"},
    {"Area", "Area:"},
    {"Town", "Town:"},
    {"County", "County:"},
    {"Postcode", "Postcode:"},
    {"Telephone No", "Telephone No:"},
    {"VAT No", "VAT No:"},
    {"Receipt Footer", "Receipt Footer:"},
    {"TermsandConditions", "Terms and Conditions:"},
}};

QString arrayName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(name)).arg(index);
}

} // namespace

fmCompany::fmCompany(QWidget *parent)
    : BoundRecordForm(parent, QStringLiteral("Setup Company Information"), kRecordSource, QSize(5580, 6780))
{
    setObjectName(QStringLiteral("fmCompany"));
    buildControls();
    Form_Load();
}

fmCompany::~fmCompany() = default;

void fmCompany::buildControls()
{
    m_bound = new ui::BoundFields(datPrimaryRS, this);
    auto *grid = new QGridLayout;
    const int last = int(kFields.size()) - 1;
    for (int index = 0; index < last; ++index) {
        auto *box = new QLineEdit(this);
        box->setObjectName(arrayName("txtFields", index));
        txtFields[index] = box;
        if (kFields[index].caption) {
            auto *label = new QLabel(QString::fromLatin1(kFields[index].caption), this);
            label->setObjectName(arrayName("lblLabels", index));
            label->setBuddy(box);
            lblLabels[index] = label;
            grid->addWidget(label, index, 0);
        } else {
            box->setAccessibleName(QString::fromLatin1(kFields[index].column));
        }
        grid->addWidget(box, index, 1);
        m_bound->bind(box, QString::fromLatin1(kFields[index].column));
    }

    auto *termsLabel = new QLabel(QString::fromLatin1(kFields[last].caption), this);
    termsLabel->setObjectName(arrayName("lblLabels", last));
    lblLabels[last] = termsLabel;
    auto *hint = new QLabel(QStringLiteral("Copy  and paste or type your reservation terms and conditions below. "
                                           "These will appear on the booking form."),
                            this);
    hint->setObjectName(QStringLiteral("lblHint"));
    hint->setWordWrap(true);
    txtTerms = new QPlainTextEdit(this);
    txtTerms->setObjectName(arrayName("txtFields", last));
    txtTerms->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTerms->setTabChangesFocus(true);
    txtTerms->setMinimumHeight(ui::twipsToPixels(1500));
    termsLabel->setBuddy(txtTerms);
    grid->addWidget(termsLabel, last, 0, Qt::AlignTop);
    grid->addWidget(hint, last, 1);
    grid->addWidget(txtTerms, last + 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    m_bound->bind(txtTerms, QString::fromLatin1(kFields[last].column));

    setFieldsLayout(grid);
}

} // namespace quorl
