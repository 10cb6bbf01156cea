// "About Quorvantis" (the product picture, the database's version and counts, the data-source
// notices) and "Quorvantis Training" (a link to training material).
#pragma once

#include "shell/AboutTexts.h"

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

namespace qv {

class CLinkStatic;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHeaderWidth = 452;

    explicit CAboutDlg(const AboutTexts& texts, QWidget* parent = nullptr);

    QLabel* versionLabel() const { return version_; }
    QLabel* countLabel(int column) const { return counts_[column]; }
    const QList<QLabel*>& noticeLabels() const { return notices_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap header_;
    QLabel* version_;
    QLabel* counts_[3];
    QList<QLabel*> notices_;
};

class CTrainingDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTarget = "https://www.quorvantis.example/training";

    explicit CTrainingDlg(QWidget* parent = nullptr);

    QLabel* title() const { return title_; }
    CLinkStatic* link() const { return link_; }

private:
    QLabel* title_;
    CLinkStatic* link_;
};

} // namespace qv
