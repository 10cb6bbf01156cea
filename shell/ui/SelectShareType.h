// CSelectShareType: "Select share type", which of the lines of one share the user wants.
#pragma once

#include "core/RecordCursor.h"

#include <QDialog>
#include <vector>

class QListWidget;

namespace qv {

class CSelectShareType : public QDialog {
    Q_OBJECT
public:
    // Up to eight lines of one share; the first is selected.
    explicit CSelectShareType(const std::vector<RecordCursor>& lines, QWidget* parent = nullptr);

    int run();
    // The chosen line after Accepted; a null record otherwise.
    RecordCursor chosen() const { return chosen_; }
    QListWidget* list() const { return list_; }

public slots:
    void accept() override;

private:
    std::vector<RecordCursor> lines_;
    RecordCursor chosen_;
    QListWidget* list_;
};

} // namespace qv
