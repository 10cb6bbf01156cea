// The "News reindex" progress dialog a reindex owned by a window shows; Esc stops the reindex.
#pragma once

#include "news/NewsIndex.h"

#include <memory>

namespace qv {

class CProgressDlg;

class NewsReindexDialog final : public NewsReindexProgress {
public:
    NewsReindexDialog();
    ~NewsReindexDialog() override;

    void open(size_t days) override;
    bool step(size_t day) override;
    void close() override;

    // The dialog while it is open, else null.
    CProgressDlg* Dialog() const { return dialog_.get(); }

private:
    std::unique_ptr<CProgressDlg> dialog_;
    bool stopped_ = false;
};

// Makes every reindex owned by a window show this dialog; call once after the QApplication exists.
void InstallNewsReindexDialog();

} // namespace qv
