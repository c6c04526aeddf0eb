#pragma once

#include <array>

#include "masterdata/BoundRecordForm.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quorl {

namespace ui {
class BoundFields;
}

// "Setup Company Information": the marina's own details in the one Company row,
// in fields bound to a data control with its own connection, so each save is
// committed at once. Loading the form opens the data control; show it modally.
class fmCompany : public BoundRecordForm
{
    Q_OBJECT

public:
    explicit fmCompany(QWidget *parent = nullptr);
    ~fmCompany() override;

    // The boxes of the twelve columns in the order of the record source;
    // txtFields(11), the terms and conditions, is txtTerms.
    std::array<QLineEdit *, 12> txtFields{};
    QPlainTextEdit *txtTerms = nullptr;
    std::array<QLabel *, 12> lblLabels{}; // 1 to 11; the key has no label

private:
    void buildControls();

    ui::BoundFields *m_bound = nullptr;
};

} // namespace quorl
