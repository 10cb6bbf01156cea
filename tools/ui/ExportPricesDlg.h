// "Export prices for all shares in list": where the histories of a table's shares go (a folder of
// one file each, or one file), in which format, and from which date.
#pragma once

#include "core/PackedDate.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace qv {

class CDateEdit;

// What the dialog chooses.
struct ExportPricesChoice {
    std::string folder;
    std::string file = "out";
    int format = 1;       // 1-6, as the save dialog's file types
    bool singleFile = false;
    bool allData = true;
    PackedDate fromDate = 0;
};

class CExportPricesDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPathGroup = 2882, kPath = 1446, kSingleFile = 2881, kBrowse = 1449, kFormat = 1599;
    static constexpr int kAllData = 2878, kAfter = 2879, kFromDate = 2880, kOptions = 2864;

    CExportPricesDlg(const ExportPricesChoice& choice, QWidget* parent = nullptr);
    void accept() override;
    const ExportPricesChoice& choice() const { return choice_; }

    QCheckBox* singleFileBox() const { return single_; }
    QComboBox* formatList() const { return format_; }
    QLabel* pathText() const { return path_; }
    QRadioButton* afterButton() const { return after_; }
    CDateEdit* fromField() const { return from_; }
    QGroupBox* pathGroup() const { return group_; }
    // "Browse...": a folder, or with one file the file, chosen; replaceable by tests.
    using PathChooser = std::function<std::string(const std::string& start, bool file)>;
    static void SetPathChooser(PathChooser chooser);
    void Browse();

private:
    void ShowPath();

    ExportPricesChoice choice_;
    QGroupBox* group_;
    QLabel* path_;
    QCheckBox* single_;
    QComboBox* format_;
    QRadioButton* all_;
    QRadioButton* after_;
    CDateEdit* from_;
};

} // namespace qv
