// The table engine every list-shaped view derives from: it lays its share list's rows out by the
// current setting's column layout and table style, paints headings, grid and cells into one image,
// titles its window and answers the list messages. The rules it paints by live in qvcore
// (ListGrid, ListHeadings, ListPaintPlan); this class carries them out.
#pragma once

#include "lists/CellValue.h"
#include "lists/ListGrid.h"
#include "lists/ListHeadings.h"
#include "lists/ListInteraction.h"
#include "lists/ListPaintPlan.h"
#include "lists/ListSettings.h"
#include "lists/ui/ListPainter.h"
#include "realtime/store/RTActiveShares.h"
#include "views/ui/ViewBaseWindow.h"

#include <QImage>

#include <memory>

namespace qv {
struct ListTitleParts;
}

class QMenu;
class QScrollBar;

namespace qv {

struct CommandUi;
class CPopupListTip;
class ListTipView;
struct ListStyle;

// Private messages of list views.
constexpr uint32_t kMsgListRepaint = 0x444;
constexpr uint32_t kMsgListChanged = 0x445;
constexpr uint32_t kMsgColumnFormatChanged = 0x446;
constexpr uint32_t kMsgLiveTick = 0x454;
// Re-sort by the signed column in wParam; lParam bit 1 keeps the current row current.
constexpr uint32_t kMsgResortLater = 0x433;
constexpr uint32_t kResyncScrollToSelection = 0x7FFFFFFD;

class CViewListBase : public CViewBaseWnd {
    Q_OBJECT
public:
    explicit CViewListBase(int32_t kind, QWidget* parent = nullptr);
    ~CViewListBase() override;

    // Up/down colouring of cells; the base colours nothing.
    virtual int GetUpDownState(const uint8_t* column, int row, const CellValue& value);
    virtual bool HasUpDownColour(const uint8_t* column);

    void SetResyncCode(uint32_t code) override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void OnRefresh() override;
    // Sorts the rows by the signed column; with `keepRow` the current row stays current and in view.
    void ResortByColumn(int signedColumn, bool keepRow);
    void OnSetFocus() override;
    // Installs table setting `number` of the view's kind in its list: the layout, field table,
    // style and sort; with `reset` and another number the grid scrolls back to its first row and
    // column (the current row stays the current row).
    void SelectColumnSetting(int32_t number, bool deferredSort, bool reset) override;
    QString Title() const override;
    // While the view is the active one, the frame's status panes 1-3 show the current share's EPIC,
    // its market and the list's source title; views with texts of their own give theirs.
    virtual void ShowStatusTexts();
    std::string GetListTitle() const;
    // Parts of the title a kind adds of its own (the trade list's share and day).
    virtual void AddTitleParts(ListTitleParts& /*parts*/) const {}

    // Paints the whole view (the client size) into an image, as a screen paint does.
    QImage RenderImage(const QSize& size);
    // The steps of the last paint.
    const std::vector<PaintOp>& lastOps() const { return ops_; }
    const ListGrid& grid() const { return grid_; }
    const ListHeadings& headings() const { return headings_; }
    int rowHeight() const { return rowHeight_; }
    bool paintReady() const { return paintReady_; }
    // Tests fix the list font's pixel size (0: the style's point size).
    void SetFixedFontPixels(int pixels) { fixedPixels_ = pixels; }
    // Printing (ViewListPrint.cpp): the table laid out on the painter's device in the page's table
    // rectangle, with the list's fonts made for the device and the screen widths scaled to its
    // resolution; the number of pages, and page n (from 1) drawn. The screen layout stays as it was.
    int CountPrintPages(QPainter& painter, const QRect& table);
    void DrawPrintPage(QPainter& painter, const QRect& table, int page);
    // The live redraw: repaints only the live cells whose text changed; the cells repainted.
    int LiveRedraw(QImage& image);

    // The column under the cursor (set by the context menu, the mouse and keys); -1 none.
    int cursorColumn() const { return cursorColumn_; }
    void SetCursorColumn(int column) { cursorColumn_ = column; }
    // The columns as drawn, left to right.
    std::vector<ColumnSpan> VisibleColumnSpans() const;
    // The row at a point of the body; -1 outside.
    int RowFromPoint(QPoint point) const;
    // The context menu for a point of the view (null above the headings or outside every column);
    // the caller owns it.
    QMenu* BuildContextMenu(QPoint point);
    // The column, format, add-column, key and row commands of list views.
    bool UpdateListCommand(CommandUi& ui);
    bool RunListCommand(uint32_t command);
    // Fits the column's width to its contents; the new width, or 0 when it stays.
    int FitColumn(int column);
    // The typed-key search; when it moved the selection, the selected row stands four rows below the top.
    bool OnFindShareKey(uint32_t character) override;
    bool resizing() const { return resize_.column >= 0; }
    // The cell tip (made on the first move over a cell).
    CPopupListTip* cellTip() const { return tip_; }

protected:
    // Lays the view out for the device: fonts, row height, headings, grid. False without a source.
    bool DrawInit(const QSize& size, bool onScreen);
    void PaintTable(QPainter& painter, const QSize& size, bool onScreen);
    // The headings and body of a laid-out table as drawing steps, on screen and on paper alike.
    void PlanTable(const ListGrid& grid, const ListHeadings& headings, const ListStyle& style, const TextMetrics& bold,
                   int headingTop, bool onScreen, const ListFonts& fonts, const QPaintDevice* device = nullptr);
    // The kinds with a strip of figures above their headings.
    static bool HasHeaderStrip(int kind);
    // The strip above the headings of the kinds that have one; the base leaves it blank.
    virtual void PaintHeaderStrip(QPainter& /*painter*/, const QSize& /*size*/, bool /*onScreen*/) {}
    // The same strip on a printed page, in the page's list font; the base leaves it blank.
    virtual void PrintHeaderStrip(QPainter& /*painter*/, const QRect& /*strip*/, const QFont& /*listFont*/) {}
    // Graphs the whole list or its portfolio (a graph source kind) in the list's chart.
    void GraphWholeList(uint32_t sourceKind);
    // A data-mining view's first page of its own; the base has none.
    virtual bool HasOwnPrintPage() const { return false; }
    virtual void DrawOwnPrintPage(QPainter& /*painter*/, const QRect& /*table*/) {}
    // The height the table takes from the top of the view (the data-mining view shares it with its
    // graph area, which it paints below the table).
    virtual int TableHeight() const { return height(); }
    virtual void PaintBelowTable(QPainter& /*painter*/, const QRect& /*area*/) {}
    void NotifyListChanged(bool repaint);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    ListStyle CurrentStyle() const;
    int SettingNumber() const;
    // Whether y lies in the column headings' band.
    bool InHeadingBand(int y) const;

    ListGrid grid_;
    ListHeadings headings_;
    ListFonts fonts_;
    std::vector<PaintOp> ops_;
    LiveCellMemory live_;
    int rowHeight_ = 16;
    int headingTop_ = 0;
    uint32_t resync_ = 0;
    bool paintReady_ = false;
    LiveResortClock liveResort_;
    int fixedPixels_ = 0;

private:
    struct PrintLayout;
    bool ShowsIntradayColumns() const;
    // Rebuilds the watch list from the visible rows, after a full paint on screen.
    void WatchVisibleRows();
    // The shares whose live prices the view's intraday columns show.
    RTWatchList liveWatch_;
    bool watching_ = false;
    bool LayoutForPrinter(QPainter& painter, const QRect& table, PrintLayout& out);
    struct ResizeDrag {
        int column = -1;
        int left = 0;
        int lineX = 0;
    };
    struct MoveDrag {
        int column = -1;
        int startX = 0;
        int lastX = 0;
        qint64 pressTime = 0;
    };
    void PlaceScrollBars();
    void SelectRowAt(QPoint point);
    // The current row moved: the share is published and the other views of the list redrawn.
    void CurrentRowChanged();
    void PublishCurrentShare();
    bool RunColumnCommand(uint32_t command);
    // Graphing the whole list and the sector filter (ViewListSource.cpp); false for other commands.
    bool UpdateListSourceCommand(CommandUi& ui);
    bool RunListSourceCommand(uint32_t command);
    void ChooseSector();
    void TakeGlobalSectorFilter();
    // The changed sector filter goes back to the program's and the rows are filled again.
    void Refilter();
    bool RunAddColumnCommand(uint32_t command);
    bool RunMoveCommand(uint32_t command);
    void ColumnFormatChanged(int column);
    void RemoveCursorColumn();
    // Reopens the dialog that made the column; on an answer the column is replaced in place.
    void ChangeCursorColumnContents(const uint8_t* def);
    // "Column borders & shading" on the column record, previewed on the table itself.
    void EditCursorColumnAppearance(uint8_t* def);
    // A double click on a link or notes cell; false when the cell is neither.
    bool OpenCellLink(int row, int column);
    // A double click elsewhere on a row: an extra item is edited, a share's chart opens.
    void OpenRow(int row);
    // "Edit a note" on the row's note of a notes column.
    void EditNote(int row, int column);
    // The notes column "Edit note" works on: the column under the cursor, else the one right-clicked
    // in the body, else the first notes column; -1 when the layout has none.
    int NoteColumnToEdit() const;
    void LoopForward();
    void LoopBack();
    std::string CellTextAt(int row, const uint8_t* def);
    void ScrollRows(int delta);
    void MoveSelection(int delta);
    void ScrollColumns(int delta);
    void DrawDragMarks(QPainter& painter);
    void TrackCellTip(QPoint point);
    int cursorColumn_ = -1;
    int bodyColumn_ = -1;
    ResizeDrag resize_;
    MoveDrag move_;
    std::unique_ptr<ListTipView> tipView_;
    CPopupListTip* tip_ = nullptr;
    int tipRow_ = -1;
    int tipColumn_ = -1;
    QScrollBar* vbar_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    bool settingBars_ = false;
};

} // namespace qv
