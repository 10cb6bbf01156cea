// "Review last Pelmor update messages": the stored update message split into tabs by its headings,
// the date the message file was written, and whether the message is shown after each update.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QTabBar;

namespace qv {

class CUpdateMessagesDlg : public QDialog {
    Q_OBJECT
public:
    // The message (Windows-1252) and the file whose last-write time the date line shows.
    CUpdateMessagesDlg(std::string message, const std::filesystem::path& messageFile, QWidget* parent = nullptr);

    QLabel* dateLine() const { return date_; }
    QTabBar* tabs() const { return tabs_; }
    QPlainTextEdit* text() const { return text_; }
    QCheckBox* displayAfterUpdate() const { return display_; }

    // However the dialog closes, the setting takes the check box.
    void done(int result) override;

private:
    void showTab(int tab);

    std::string message_;
    QLabel* date_;
    QTabBar* tabs_;
    QPlainTextEdit* text_;
    QCheckBox* display_;
};

} // namespace qv
