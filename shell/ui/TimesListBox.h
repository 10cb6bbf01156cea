// The list of exchange opening and closing times: two rows per exchange, a label column and a time
// column divided by a line the user drags, and an in-place time field over the selected row's time.
#pragma once

#include <QListWidget>
#include <QPointer>

namespace qv {

class CTimeEdit;
class MessageTarget;

class CTimesListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kEditorId = 3502;

    explicit CTimesListBox(QWidget* parent = nullptr);

    // A row: "label\tsuffix" and its time in seconds (the item data).
    void AddRow(const QString& text, int seconds);
    int RowTime(int row) const;

    // Selects the first row of exchange n.
    void SelectExchange(int n);
    // Ends an open edit, storing its time.
    void CommitEdit();
    // Ends an open edit without storing it, and clears the selection.
    void CancelEdit();
    void EndEdit(bool commit);

    // The dialog the editor tells of its changes (the editor's own messages go there).
    void SetEditorDialog(MessageTarget* dialog) { editorDialog_ = dialog; }

    CTimeEdit* editor() const { return editor_; }
    int editRow() const { return editRow_; }
    int hotRow() const { return hotRow_; }
    int previousRow() const { return previousRow_; }
    int divider() const { return divider_; }
    bool dragging() const { return dragging_; }
    int dragX() const { return dragX_; }
    int rowHeight() const { return rowHeight_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class TimesRowDelegate;
    int RowAt(const QPoint& point) const;
    // True when the selection changed.
    bool SelectRow(int row);
    void CurrentRowChanged(int row);
    void OpenEditor();
    void PlaceEditor();

    int divider_ = 0;
    bool dragging_ = false;
    int dragX_ = 0;
    int hotRow_ = -1;
    int previousRow_ = -1;
    bool selectedBeforePress_ = false;
    int rowHeight_ = 0;
    QPointer<CTimeEdit> editor_;
    int editRow_ = -1;
    MessageTarget* editorDialog_ = nullptr;
};

} // namespace qv
