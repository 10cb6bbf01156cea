// "Select setting to display": which of the twelve graph settings show something (a drawn line, a
// text box, a stop-loss), as all of them, the current one only or the ticked ones.
#pragma once

#include <QDialog>

#include <cstdint>

class QButtonGroup;
class QCheckBox;

namespace qv {

class CSelectSetting : public QDialog {
    Q_OBJECT
public:
    static constexpr int kAll = 2056, kSelected = 2057, kFirstBox = 2058, kCurrentOnly = 2070, kSetAsDefault = 3143;
    static constexpr uint16_t kAllMask = 4095, kAllBit = 0x8000;
    enum Mode { All = 0, CurrentOnly = 1, Selected = 2 };

    // mask: bit n for setting n, with all of them given as 4095 or as bit 15 (the answer keeps the
    // form given); current: the current setting's index; intraday: the intraday settings' names.
    CSelectSetting(uint16_t mask, int current, bool intraday, QWidget* parent = nullptr);

    Mode mode() const;
    uint16_t mask() const;
    bool setAsDefault() const;
    QCheckBox* box(int setting) const { return boxes_[setting]; }
    void setMode(Mode mode);

private:
    void Enable();

    QButtonGroup* modes_;
    QCheckBox* boxes_[12];
    QCheckBox* default_;
    int current_;
    bool allAsBit_;
};

} // namespace qv
