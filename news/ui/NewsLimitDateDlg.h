// The "Limit search date" dialog, and the "News stats" page.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QSpinBox;

namespace qv {

struct NewsCatalogue;
struct NewsFileSizes;

class CNewsLimitDateDlg : public QDialog {
    Q_OBJECT
public:
    CNewsLimitDateDlg(bool limitOn, uint16_t weeks, QWidget* parent = nullptr);

    bool limitOn() const;
    uint16_t weeks() const;
    QCheckBox* limitBox() const { return limit_; }
    QSpinBox* weeksField() const { return weeks_; }

private:
    QCheckBox* limit_ = nullptr;
    QSpinBox* weeks_ = nullptr;
};

// The lines of the statistics page: the stories by their marks, the days and dates they span, the
// dictionary, the index and the files.
std::vector<std::string> NewsStatisticsLines(const NewsCatalogue& catalogue, const NewsFileSizes& files);

// "News stats": the page the statistics command opens, on the loaded database.
class CNewsStatsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNewsStatsDlg(QWidget* parent = nullptr);
    QString text() const;

private:
    QLabel* lines_ = nullptr;
};

} // namespace qv
