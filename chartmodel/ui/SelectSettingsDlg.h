// "Select setting to display", in its least form: a check list of the twelve setting names of a view
// kind whose ticks give a mask of settings.
#pragma once

#include <QDialog>

#include <cstdint>

class QListWidget;

namespace qv {

class CSelectSettingsDlg : public QDialog {
    Q_OBJECT
public:
    // intraday: the intraday settings' names; mask: bit n ticks setting n.
    CSelectSettingsDlg(bool intraday, uint16_t mask, QWidget* parent = nullptr);
    uint16_t mask() const;
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};

} // namespace qv
