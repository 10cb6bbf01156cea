// The InfoCentre document window: one document read through the HTML control, sized and placed as
// its descriptor says, with Help, Settings..., Next, Later... and Finished along the bottom.
#pragma once

#include "infocentre/InCCategory.h"
#include "infocentre/InCStore.h"
#include "infocentre/ui/HtmlCtrl.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPushButton;

namespace qv {

class CInCDocDlg : public QDialog, public InCDocumentWindow, public HtmlCtrlOwner {
    Q_OBJECT
public:
    CInCDocDlg(CInCStore& store, uint16_t number, const InCDocSummary& summary, bool autoView);
    ~CInCDocDlg() override;

    // The document window the user last worked in, which the text size commands act on; null when
    // none is open.
    static CInCDocDlg* LastActive();

    // Loads the first page; false (after telling the user) when the document has none to show.
    bool Open();
    // "file://" + the content folder + the file name.
    QUrl BuildDocUrl(const std::string& fileName) const;

    // A window opened from the contents: the documents of its type (its sub-category, else its
    // category) for Next, and what a submitted form marks done there.
    void SetContentsItem(std::vector<InCDocumentItem> typeList, std::string subCategory, std::string category,
                         std::function<void()> markDone);

    uint16_t Number() const { return number_; }
    CHtmlCtrl& control() { return *ctrl_; }
    QPushButton* nextButton() const { return next_; }

    void ReloadPage() override;

    void CloseQuietly() override;
    void CloseWindow() override;
    void OpenLater() override;
    void ShowLinkedDocument(uint16_t number) override;
    void SetDocumentState(uint8_t state) override;
    void MarkFormDone() override;
    void OpenFind(const QString& seed) override;
    bool AutoViewing() const override { return autoView_; }

    void OnNext();
    void OnSettings();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool CheckPage(std::string& error) const;
    void ApplySize();
    void LayOutButtons();
    void ShowDocument(uint16_t number, const InCDocSummary& summary);
    void UpdateNext();
    // The store drops the window after the current event has been handled.
    void Finish(bool markClosed);

    CInCStore& store_;
    uint16_t number_;
    bool autoView_;
    InCDocSummary summary_;
    std::vector<InCDocumentItem> typeList_;
    std::string subCategory_;
    std::string category_;
    std::function<void()> markDone_;
    CHtmlCtrl* ctrl_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* settings_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* later_ = nullptr;
    QPushButton* finished_ = nullptr;
    bool finishing_ = false;
};

} // namespace qv
