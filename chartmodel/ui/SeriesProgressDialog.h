// The progress dialog the breadth series build shows while it walks many shares.
#pragma once

#include "chartmodel/PortfolioSeriesCache.h"

#include <memory>

namespace qv {

class CProgressDlg;

// A progress dialog whose position the build sets; painted between shares.
class SeriesProgressDialog final : public SeriesProgress {
public:
    SeriesProgressDialog();
    ~SeriesProgressDialog() override;

    void Open(const std::string& title) override;
    void SetPosition(int percent) override;
    void Close() override;

    // The dialog while it is open, else null.
    CProgressDlg* Dialog() const { return dialog_.get(); }

private:
    std::unique_ptr<CProgressDlg> dialog_;
};

// Installs one dialog as the breadth build's progress; call once after the QApplication exists.
void InstallSeriesProgressDialog();

} // namespace qv
