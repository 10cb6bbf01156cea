// `CGraphGridRT`, "Graph design" (709) of an intraday chart: six pages of controls over a working copy
// of the setting's intraday style block, a live preview drawn by the chart, "Preview", the Light and
// Dark defaults, and OK that hands the block to the chart.
#pragma once

#include "chartmodel/IntradayNotes.h"
#include "core/ConfigRecords.h"

#include <QDialog>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QPainter;
class QTabWidget;

namespace qv {

class CDateEdit;

class CGraphGridRT : public QDialog {
public:
    static constexpr int kTemplateId = 709;
    static constexpr int kPreviewButton = 18127, kLightDefault = 1016, kDarkDefault = 2426, kDefine = 3503;
    static constexpr int kToday = 2827, kDisplayFrom = 2828;
    // Paints the chart with a style into a rectangle of the preview.
    using PreviewPainter = std::function<void(QPainter&, const GraphSetting& style, QRect area)>;

    // `previewBlock` is the chart's copy it draws from while the dialog is open.
    CGraphGridRT(GraphSetting& previewBlock, const std::string& settingName, int settingIndex, QWidget* parent = nullptr);

    void SetPreviewPainter(PreviewPainter painter) { painter_ = std::move(painter); }
    // Called after "Preview" and OK copied the working block into the preview block.
    void SetRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }
    // "Define": the options sheet's market-hours page (installed by the frame).
    void SetDefineHours(std::function<void()> define)
    {
        define_ = std::move(define);
        Enable();
    }
    // Whether the previous weekday's prices are held, for the previous-day warning.
    void SetPreviousDayHeld(std::function<bool()> held) { previousDayHeld_ = std::move(held); }

    const GraphSetting& Working() const { return working_; }
    QWidget* control(int id) const;
    int currentPage() const;
    void Preview();
    void ApplyDefaults(bool dark);
    void accept() override;

    // The last page shown (0-5), program-wide.
    static int& LastPage();

private:
    void Build(const std::string& settingName, int settingIndex);
    QWidget* MakeControl(QWidget* page, int index);
    void ShowRecord();
    // Reads the changed control back into the working copy, runs the enabling rules and repaints.
    void Apply(int id);
    void Enable();
    void Changed(int id);
    void WarnPreviousDay();

    GraphSetting& previewBlock_;
    GraphSetting working_;
    PreviewPainter painter_;
    std::function<void()> redraw_, define_;
    std::function<bool()> previousDayHeld_;
    QTabWidget* tabs_ = nullptr;
    QWidget* preview_ = nullptr;
    QLabel* rangeText_ = nullptr;
    CDateEdit* displayFrom_ = nullptr;
    std::map<int, QWidget*> controls_;
    bool loading_ = false;
};

// What the chart lends the dialog beyond its setting: "Define" (the market hours of its exchange) and
// whether the previous weekday's prices are held, in the database or the intraday store.
struct IntradayDesignHooks {
    std::function<void()> defineHours;
    std::function<bool()> previousDayHeld;
};

// "Graph design" over a chart's setting: the chart draws from `previewBlock` (a copy of the setting)
// while it runs; on OK the setting takes the block's style bytes and `settingsChanged` runs. The
// dialog's result.
int OpenIntradayGraphDesign(GraphSetting& setting, GraphSetting& previewBlock, const std::string& settingName,
                            int settingIndex, CGraphGridRT::PreviewPainter painter, std::function<void()> redraw,
                            std::function<void()> settingsChanged, QWidget* parent = nullptr,
                            IntradayDesignHooks hooks = {});

constexpr const char* kPreviousDayNote =
    "For LSE shares, this option needs yesterday's data.\n\nSelect \"Update Data\" (F9) to update historic data.\n"
    "Alternatively, backfill yesterday's LSE intraday data.";
constexpr const char* kShadedFramesNote =
    "Frame shading will not be visible for the main graph\nbecause Bid/Offer shading is also currently on.\n\n"
    "Bid/Offer shading is found on Prices tab.";

} // namespace qv
