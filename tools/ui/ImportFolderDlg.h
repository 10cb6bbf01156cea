// "Import all shares in folder": the folder and the file extension of a folder import.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;

namespace qv {

class CImportFolderDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFolder = 1513, kExtension = 1503;

    CImportFolderDlg(const QString& folder, const QString& extension, QWidget* parent = nullptr);

    QString folder() const;
    QString extension() const;
    QLineEdit* extensionField() const { return extension_; }
    QLabel* folderField() const { return folder_; }

    // "Browse...": the chosen file's folder and extension fill the fields.
    void Browse();
    // The file a browse chooses; none means the file-open dialog.
    using FileChooser = std::function<QString(const QString& folder)>;
    static void SetFileChooser(FileChooser chooser);

private:
    QLabel* folder_;
    QLineEdit* extension_;
};

} // namespace qv
