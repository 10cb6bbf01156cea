// The InfoCentre settings dialog: when AutoView runs, which categories it shows, and the style
// sheet the documents are shown with.
#pragma once

#include "infocentre/InCSettings.h"
#include "infocentre/InCStyle.h"

#include <QDialog>

#include <filesystem>
#include <string>
#include <vector>

class QCheckBox;
class QSlider;

namespace qv {

class CInCStore;
class CStyleButton;

inline constexpr uint32_t kInCSettingsCommand = 27257;

class CInCSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CInCSettingsDlg(CInCStore& store, QWidget* parent);

    // After OK: the style sheet was rewritten, so open documents should be shown again.
    bool StyleChanged() const { return styleChanged_; }

    void accept() override;

private:
    void ShowStyle(const InCStyle& style);
    InCStyle ReadControls() const;

    CInCStore& store_;
    InCStyle style_;
    InCStyle loaded_;
    AutoViewChoices choices_;
    bool styleChanged_ = false;
    QCheckBox* onStartUp_ = nullptr;
    QCheckBox* afterUpdate_ = nullptr;
    QCheckBox* categories_[kAutoViewCategoryBoxes] = {};
    QCheckBox* surveys_ = nullptr;
    CStyleButton* text_ = nullptr;
    CStyleButton* colours_[5] = {};
    QSlider* padding_ = nullptr;
};

// What follows the settings dialog's OK, wherever it was opened: the open documents shown again when
// the style sheet changed, then AutoView's lists refreshed keeping the priority queue.
void AfterInCSettings(CInCStore& store, bool styleChanged);

} // namespace qv
