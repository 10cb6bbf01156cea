// The details view's dialogs (which details, and how they look), the share-dates dialog, and the
// chart's "Define the default range".
#pragma once

#include "lists/DetailDialogRules.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;

namespace qv {

class CDateEdit;
class CStyleButton;

class CSelectDetailsDlg : public QDialog {
    Q_OBJECT
public:
    // names: the heading of each detail item, in table order.
    CSelectDetailsDlg(std::vector<uint8_t> selection, std::vector<QString> names, QWidget* parent = nullptr);
    const std::vector<uint8_t>& selection() const { return included_; }
    // The stored form: the indices and the end mark.
    std::vector<uint8_t> storedSelection() const { return WriteDetailSelection(included_); }
    void selectLeft(int row);
    void selectRight(int row);
    void moveRight();
    void moveLeft();
    void moveAllRight();
    void moveAllLeft();
    void moveUp();
    void moveDown();
    void useDefault();
    QPushButton* button(const char* name) const;

private:
    void fill(int leftRow, int rightRow);
    void updateEnabling();

    std::vector<QString> names_;
    std::vector<uint8_t> included_;
    QListWidget* left_;
    QListWidget* right_;
};

class CDisplayDesignDlg : public QDialog {
    Q_OBJECT
public:
    CDisplayDesignDlg(const DetailDisplaySettings& settings, QWidget* parent = nullptr);
    // The settings as they stand in the dialog; Cancel hands back those it opened with.
    DetailDisplaySettings settings() const;
    void setSettings(const DetailDisplaySettings& settings);
    void setWhiteSpacePosition(int position);
    // A background changed through one sample: every sample showing it follows.
    void setLabelBackground(uint32_t colour);
    void setBoxBackground(uint32_t colour);
    // The font chosen through a font sample.
    void setFont(const QString& face, int points, bool bold, bool italic, bool underline);
    void resetToDefault();
    uint32_t sampleBackground(int bar) const;

private:
    void refreshSamples();
    void readSamples(const CStyleButton* changed);

    DetailDisplaySettings settings_;
    QSlider* whiteSpace_;
    CStyleButton* labelSample_;
    CStyleButton* boxSample_;
    std::array<CStyleButton*, 8> bars_{};
};

class CShareDatesDlg : public QDialog {
    Q_OBJECT
public:
    CShareDatesDlg(const QString& shareName, std::vector<ShareDateRow> rows, QWidget* parent = nullptr);
    int rowCount() const { return int(rows_.size()); }
    QString rowText(int row) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<QString> rows_;
};

class CDefaultRangeDlg : public QDialog {
    Q_OBJECT
public:
    // The record is edited in place; `apply` redraws the chart with it (Preview and OK).
    CDefaultRangeDlg(std::array<uint8_t, kChartRangeBytes>& record, PackedDate latestStart, PackedDate latestEnd,
                     PackedDate lastPrice, std::function<void()> apply, QWidget* parent = nullptr);
    ChartRange range() const;
    void setRange(const ChartRange& range);
    // Runs the checks; true when accepted (then stored and applied).
    bool preview();
    void accept() override;
    void reject() override;
    QString countLabel() const;
    bool countEnabled() const;
    bool startEnabled() const;

private:
    void switched();
    void updateEnabling();
    bool checkAndStore();

    std::array<uint8_t, kChartRangeBytes>& record_;
    std::array<uint8_t, kChartRangeBytes> original_;
    PackedDate lastPrice_;
    std::function<void()> apply_;
    bool previewed_ = false;
    uint16_t unitFlags_ = 0;
    QCheckBox* limited_;
    QCheckBox* countUsed_;
    QLineEdit* count_;
    std::array<QRadioButton*, 4> units_{};
    QCheckBox* startUsed_;
    QCheckBox* endUsed_;
    CDateEdit* start_;
    CDateEdit* end_;
};

} // namespace qv
