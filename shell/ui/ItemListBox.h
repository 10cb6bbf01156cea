// CItemListBox: a list whose items carry tooltips from a text array.
#pragma once

#include <QListWidget>
#include <QStringList>

namespace qv {

class CItemListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CItemListBox(QWidget* parent = nullptr);

    // The tip of item n; the array grows as needed.
    void SetItem(int n, const QString& text);
    void RemoveAll();
    // The tip for a point of the list: the item's text, none beyond the array.
    QString TipAt(const QPoint& point) const;

protected:
    bool viewportEvent(QEvent* event) override;

private:
    QStringList tips_;
};

} // namespace qv
