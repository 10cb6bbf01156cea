// "Swing Chart Design": the swing block's flags, day choice, pens, shades and mark symbols on three
// pages, its price colour scheme, and the share's override list stored on OK.
#pragma once

#include "chartmodel/ui/SettingBlockDlg.h"

#include <cstdint>
#include "core/DayRecord.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QTabWidget;

namespace qv {

class CStyleButton;

class CSwingDesignDlg : public CSettingBlockDlg {
public:
    // The share's overrides (8-byte entries) and what stores them on OK; without a store the list is
    // neither shown nor stored. page < 0 opens the page shown last.
    CSwingDesignDlg(GraphSetting& setting, std::vector<uint8_t> overrides,
                    std::function<void(const std::vector<uint8_t>&)> storeOverrides, int page = -1,
                    QWidget* parent = nullptr);

    const std::vector<uint8_t>& overrides() const { return overrides_; }
    // The share whose overrides these are: its name and days for the edit list ("Overrides", shown
    // from now on when the overrides are stored).
    void SetShare(const std::string& name, std::span<const DayRecord> days);
    void EditOverrides();
    void done(int result) override;
    static int LastPage();

private:
    struct Flag {
        QCheckBox* box;
        uint32_t bit;
    };
    struct Pen {
        CStyleButton* button;
        size_t at;
    };
    QCheckBox* flag(QWidget* page, int id, const char* text, uint32_t bit);
    CStyleButton* pen(QWidget* page, int id, const char* label, int word, int kind);
    void show(const GraphSetting& from);
    void readControls();
    void updateEnabling();
    void write() override;

    GraphSetting working_;
    std::vector<uint8_t> overrides_;
    std::vector<uint8_t> openedOverrides_;
    std::function<void(const std::vector<uint8_t>&)> storeOverrides_;
    QPushButton* overridesButton_ = nullptr;
    std::string shareName_;
    std::span<const DayRecord> shareDays_;
    bool loading_ = false;
    QTabWidget* tabs_ = nullptr;
    QButtonGroup* days_ = nullptr;
    QPushButton* scheme_ = nullptr;
    std::vector<Flag> flags_;
    std::vector<Pen> pens_;
};

} // namespace qv
