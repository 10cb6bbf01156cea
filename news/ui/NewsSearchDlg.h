// The news search dialog: a search text, the rules, the status and progress of the search; a search
// gives the matching stories to the news view that opened it.
#pragma once

#include <QDialog>

#include <cstdint>
#include <vector>

class QLabel;
class QLineEdit;
class QProgressBar;

namespace qv {

class CNewsSearchDlg : public QDialog {
    Q_OBJECT
public:
    // The text starts with `seed` (a typed character) or the last search text.
    explicit CNewsSearchDlg(const QString& seed, QWidget* parent = nullptr);

    // Runs the search of the text; the matching stories in story order, each once.
    void RunSearch();
    QString text() const;
    QLineEdit& textField() const { return *text_; }
    bool searched() const { return searched_; }
    const std::vector<uint32_t>& stories() const { return stories_; }
    QString status() const;

    // Stops a running search at its next step, as Esc does.
    void Stop() { stop_ = true; }
    QProgressBar* progressBar() const { return progress_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* text_ = nullptr;
    QLabel* heading_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    std::vector<uint32_t> stories_;
    bool searched_ = false;
    bool searching_ = false;
    bool stop_ = false;
};

} // namespace qv
