// Small display controls: an upward arrow, a label painted through a memory bitmap so that frequent
// changes do not flicker, and a hyperlink label.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QWidget>

#include "shell/StaticStyle.h"

namespace qv {

class CArrowStatic : public QWidget {
    Q_OBJECT
public:
    explicit CArrowStatic(QWidget* parent = nullptr);
    void setShow(bool show);
    bool shown() const { return show_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool show_ = false;
};

class CBitmapStatic : public QWidget {
    Q_OBJECT
public:
    explicit CBitmapStatic(QWidget* parent = nullptr, uint32_t style = kStaticLeft);

    // Repaints at once, and only when the text changes.
    void setText(const QString& text);
    QString text() const { return text_; }
    void SetTextColour(const QColor& colour);
    void SetBackColour(const QColor& colour);
    void SetValue(const QFont& font, bool repaintNow);
    int paints() const { return paints_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void repaintNow();

    QString text_;
    QColor textColour_;
    QColor backColour_;
    uint32_t style_;
    int paints_ = 0;
};

class CLinkStatic : public QLabel {
    Q_OBJECT
public:
    // An empty target is taken from the text; an empty tip becomes "Open " and the target.
    CLinkStatic(const QString& text, const QString& target = {}, const QString& tip = {}, QWidget* parent = nullptr);

    QString target() const { return target_; }
    // Set: a click sends the command id to the owner instead of opening the target.
    void setCommand(int commandId);
    void click();

signals:
    void commandPosted(int commandId);
    void openRequested(const QString& target);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setUnderlined(bool on);

    QString target_;
    int command_ = 0;
};

} // namespace qv
