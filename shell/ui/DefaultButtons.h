// "Select default button layout": one of the eight default toolbars.
#pragma once

#include <QDialog>

class QListWidget;

namespace qv {

class CDefaultButtons : public QDialog {
public:
    explicit CDefaultButtons(QWidget* parent = nullptr);
    int selected() const;
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};

} // namespace qv
