// "Add or remove an arrow from a box": the arrow's direction as the checked control id and its size.
#pragma once

#include <QDialog>

class QButtonGroup;
class QSlider;

namespace qv {

class CArrowDlg : public QDialog {
public:
    // arrowId: 1398 no arrow, 1399 left, 1400 right, 1401 up, 1402 down; size 0 (small) .. 3 (big).
    CArrowDlg(int arrowId, int size, QWidget* parent = nullptr);
    int ArrowId() const;
    int ArrowSize() const;

private:
    QButtonGroup* arrows_ = nullptr;
    QSlider* size_ = nullptr;
};

} // namespace qv
