// The InfoCentre contents: a box per category with a button per document, from which the user opens
// any filed document; a sub-category of several documents, and every category when they do not all
// fit on the screen, opens a nested dialog of its own.
#pragma once

#include "infocentre/InCCategory.h"

#include <QDialog>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QGroupBox;
class QPushButton;

namespace qv {

class CInCStore;

inline constexpr uint32_t kInCContentsCommand = 27130;

class CInCMainDlg : public QDialog {
    Q_OBJECT
public:
    // With no category: the store's whole tree, built afresh and freed again when the dialog closes.
    CInCMainDlg(CInCStore& store, const std::string& caption, std::optional<CInCCategory> category, QWidget* parent);
    ~CInCMainDlg() override;

    // The button of a document, by its number (null when not shown).
    QPushButton* DocumentButton(uint16_t number) const;
    bool ShowsDocumentTypes() const { return documentTypes_; }

    // A document button's label: the title, with " (Done)" once the form is filled in.
    static QString DocumentLabel(const InCDocumentItem& item);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One document button: where its item lives in the tree, and the list of its type.
    struct DocumentEntry {
        InCDocumentItem* item = nullptr;
        int* doneCount = nullptr;
        std::vector<InCDocumentItem>* typeList = nullptr;
        std::string subCategory;
        std::string category;
        QPushButton* button = nullptr;
    };
    void Build();
    void BuildDocumentTypes();
    QGroupBox* AddBox(const std::string& title);
    void AddDocument(QGroupBox* box, InCDocumentItem& item, int& doneCount, std::vector<InCDocumentItem>& typeList,
                     const std::string& subCategory, const std::string& category);
    void AddNested(QGroupBox* box, const QString& label, CInCCategory category);
    void OpenItem(uint16_t number);
    void MarkDone(uint16_t number);
    void ShowPage(int page);
    void OnSettings();

    CInCStore& store_;
    std::map<std::string, CInCCategory> own_;
    std::map<std::string, CInCCategory>* tree_ = nullptr;
    bool topLevel_ = false;
    bool documentTypes_ = false;
    int nextDocumentId_ = 3987;
    int nextCategoryId_ = 6036;
    int perBox_ = 0;
    int page_ = 0;
    std::map<uint16_t, DocumentEntry> documents_;
    // The document buttons of each box in order, for "More...".
    std::vector<std::vector<QPushButton*>> boxButtons_;
    std::vector<QWidget*> columns_;
    QPushButton* more_ = nullptr;
};

} // namespace qv
