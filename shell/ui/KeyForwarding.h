// Controls that hand keys to their dialog: the small list and the key edit of the type-ahead find
// dialogs, which pass each other the keys the other handles, and a button that forwards every key.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qv {

// Up, Down, Page Up, Page Down, Home and End: the keys that move in a list.
bool IsListMoveKey(int key);

// Keys other than the list's moves go to the dialog; one click chooses, as a double click would.
class CSmallListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CSmallListBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// The list's moves go to the dialog; other keys edit the text.
class CKeyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CKeyEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Every key pressed on the button is told to the dialog (message 1078 with the key).
class CKeyForwardButton : public QPushButton {
    Q_OBJECT
public:
    explicit CKeyForwardButton(const QString& text, QWidget* parent = nullptr);

signals:
    void keyForwarded(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace qv
