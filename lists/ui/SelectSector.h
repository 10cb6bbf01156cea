// "Choose sector to display": whether a list shows one sector only, at which level, and which.
#pragma once

#include "lists/SectorChoice.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QListWidget;

namespace qv {

class CSelectSector : public QDialog {
    Q_OBJECT
public:
    // Opens on the level (out of range: "Sectors") with the sector `index` selected, else the first.
    CSelectSector(bool oneSector, int32_t level, int32_t index, QWidget* parent = nullptr);
    SectorChoice choice() const;
    void setLevel(int32_t level);

private:
    void fillList(int32_t index);
    void updateEnabling();

    QCheckBox* oneSector_;
    QButtonGroup* levels_;
    QListWidget* list_;
};

} // namespace qv
