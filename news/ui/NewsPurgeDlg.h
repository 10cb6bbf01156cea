// The purge dialog: the purge method and its limit, with the stories and file sizes before and after
// the purge it would make.
#pragma once

#include "news/NewsDatabase.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace qv {

class CDateEdit;

// What a purge would leave: stories and Mbytes before and after (a 0.391 Mbyte base stays, or the
// whole catalogue when it is smaller).
struct NewsPurgeEstimate {
    int storiesBefore = 0;
    int storiesAfter = 0;
    double mbytesBefore = 0;
    double mbytesAfter = 0;
};
// The sizes of "data\News.dat" (the catalogue) and of "data\News\*.dat" (the stories' texts, titles
// and index).
struct NewsFileSizes {
    uint64_t catalogue = 0;
    uint64_t stories = 0;
};
NewsFileSizes NewsFileBytes();
NewsPurgeEstimate EstimateNewsPurge(const std::vector<bool>& gone, const NewsFileSizes& files);

// The options sheet's news page, which holds the purge settings.
inline constexpr uint16_t kNewsOptionsPage = 0x0100;

class CNewsPurgeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNewsPurgeDlg(QWidget* parent = nullptr);

    NewsPurgeMethod method() const;
    uint32_t limit() const;
    void SetMethod(NewsPurgeMethod method);
    // Typing into a limit field: a number past its highest goes back to the field's last value.
    void SetWeeks(const QString& text);
    void SetStories(const QString& text);
    QString estimateText() const;

private:
    void Reestimate();
    void ShowStoredMethod();
    void EditPurgeOptions();

    QRadioButton* byWeeks_ = nullptr;
    QRadioButton* byStories_ = nullptr;
    QRadioButton* byDate_ = nullptr;
    QLineEdit* weeks_ = nullptr;
    QLineEdit* stories_ = nullptr;
    CDateEdit* date_ = nullptr;
    QLabel* before_ = nullptr;
    QLabel* after_ = nullptr;
    QString lastWeeks_ = QStringLiteral("52");
    QString lastStories_ = QStringLiteral("5000");
};

} // namespace qv
