// "Directors' Dealings / Holdings display options": which dealings and holdings a dealings view shows
// and how far its limit reaches, as the view's filter byte.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace qv {

class CDealingsOptionsDlg : public QDialog {
public:
    // In the parent-list mode the limit is chosen among three radio buttons; outside it one check box
    // switches the parent-list limit on and off.
    CDealingsOptionsDlg(uint8_t filter, bool parentListMode, QWidget* parent = nullptr);
    uint8_t filter() const;

private:
    bool parentListMode_;
    QCheckBox* categories_[5] = {};
    QGroupBox* limitGroup_ = nullptr;
    QRadioButton* allShares_ = nullptr;
    QRadioButton* parentList_ = nullptr;
    QRadioButton* selectedShare_ = nullptr;
    QCheckBox* parentOnly_ = nullptr;
};

} // namespace qv
