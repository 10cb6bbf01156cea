// CLibraryButton: the table library's drop-down button, listing the library files of its folder with
// their titles, and offering to open the folder or to add the current table.
#pragma once

#include "shell/LibraryFiles.h"

#include <QPushButton>
#include <functional>
#include <vector>

class QMenu;

namespace qv {

class CLibraryButton : public QPushButton {
    Q_OBJECT
public:
    explicit CLibraryButton(const QString& text, QWidget* parent = nullptr);

    void setFolder(const std::filesystem::path& folder, const std::string& extension);
    // Opens a folder in the desktop's file manager (replaceable for tests).
    void setFolderOpener(std::function<void(const std::filesystem::path&)> opener) { opener_ = std::move(opener); }

    // Rebuilds the entries and the menu, as a click does before showing it.
    QMenu* buildMenu();
    const std::vector<LibraryEntry>& entries() const { return entries_; }
    // 27222: asks to create a missing folder, then opens it.
    void openFolder();
    bool menuOpen() const { return menuOpen_; }

signals:
    // 27221 and 27223-27238, for the parent.
    void commandToParent(uint32_t command);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showMenu();
    void onCommand(uint32_t command);

    std::filesystem::path folder_;
    std::string extension_;
    std::vector<LibraryEntry> entries_;
    std::function<void(const std::filesystem::path&)> opener_;
    bool menuOpen_ = false;
};

} // namespace qv
