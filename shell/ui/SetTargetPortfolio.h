// "Set Target Portfolio": which named portfolio a toolbar's portfolio button opens.
#pragma once

#include <QDialog>
#include <cstdint>

class QListWidget;

namespace qv {

class CSetTargetPortfolio : public QDialog {
public:
    CSetTargetPortfolio(uint32_t portfolio, QWidget* parent = nullptr);
    // The selected portfolio's number; the given one when nothing is selected.
    uint32_t portfolio() const;
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
    uint32_t given_;
};

} // namespace qv
