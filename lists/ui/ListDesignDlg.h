// "List design": the colours, font, white space and lines of a list table's setting, the colours of
// its live decorations, and the table library that saves and loads whole designs.
#pragma once

#include "lists/ListDesign.h"

#include <QDialog>
#include <QString>

#include <filesystem>
#include <functional>
#include <map>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QTabWidget;

namespace qv {

class CLibraryButton;
class CStyleButton;

class CListDesignDlg : public QDialog {
    Q_OBJECT
public:
    // kind: the view kind (tabs and library by it); apply puts a design into the setting and repaints;
    // tradeMode: the trade list's market (1 quotes, 2 trades and quotes, else trades), in its caption.
    CListDesignDlg(QWidget* parent = nullptr);
    void SetData(const TableDesign& design, int kind, const QString& settingName, int settingNumber,
                 const std::filesystem::path& programFolder, std::function<void(const TableDesign&)> apply,
                 int tradeMode = 0);

    const TableDesign& working() const { return design_.working; }
    bool applied() const { return design_.applied; }
    int tabMode() const { return tabMode_; }
    QTabWidget* tabs() const { return tabs_; }
    CStyleButton* sample(size_t offset) const;

    // What the controls do.
    void sampleChanged(size_t offset);
    void setSampleColours(size_t offset, uint32_t colour, uint32_t background);
    void collect();
    void refresh();
    // Light or dark; false when the user cancelled the question about column formatting.
    bool applyDefaults(bool dark);
    bool preview();
    void accept() override;
    void reject() override;
    // The library: 27221 saves, 27223-27238 load the listed file.
    void onLibraryCommand(uint32_t command);
    bool saveToLibrary(const std::filesystem::path& file, const QString& name, const QString& description);
    bool loadFromLibrary(const std::filesystem::path& file);
    QImage previewImage(QSize size) const;

private:
    bool apply(bool check);
    QWidget* buildTextTab();
    QWidget* buildLinesTab();
    QWidget* buildSampleTab(std::initializer_list<std::pair<size_t, const char*>> boxes, bool pens);
    CStyleButton* addSample(size_t offset, int kind);

    WorkingDesign design_;
    int kind_ = 1;
    int tabMode_ = 3;
    std::filesystem::path library_;
    std::function<void(const TableDesign&)> apply_;
    std::map<size_t, CStyleButton*> samples_;
    std::map<size_t, int> sampleKinds_;
    QTabWidget* tabs_;
    QSlider* whiteSpace_ = nullptr;
    QSlider* lines_ = nullptr;
    QCheckBox* alternate_ = nullptr;
    QCheckBox* vertical_ = nullptr;
    QCheckBox* wrap_ = nullptr;
    QLabel* preview_;
    CLibraryButton* library_button_ = nullptr;
    QLabel* libraryLabel_ = nullptr;
    QString caption_;
};

// "Save current table": a name of at most 32 characters and a description of at most 256.
class CSaveTableDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSaveTableDlg(QWidget* parent = nullptr);
    QString name() const;
    QString description() const;
    void setValues(const QString& name, const QString& description);

private:
    QLineEdit* name_;
    QPlainTextEdit* description_;
};

} // namespace qv
