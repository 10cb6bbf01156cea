// CFindShareDlg: "Find a share", the search by name or EPIC that narrows as the user types, with Fast
// EPIC and an on-screen alphabet; and the frame's find seam that opens it.
#pragma once

#include "core/RecordCursor.h"
#include "shell/FindShareIndex.h"

#include <QDialog>
#include <QRect>
#include <vector>

class QCheckBox;
class QGroupBox;
class QListWidget;
class QPushButton;

namespace qv {

class CKeyEdit;

// The on-screen keys: "1"-"0", "A"-"Z" ten to a row, one empty place, then double-width "Del" and "OK".
struct AlphabetKey {
    QString text;
    QRect rect;
    int character = 0; // 8 for "Del", 13 for "OK"
};
std::vector<AlphabetKey> AlphabetKeys(QSize cell);

class CAlphabetGrid : public QWidget {
    Q_OBJECT
public:
    explicit CAlphabetGrid(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize cellSize() const;

signals:
    void keyClicked(int character);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

class CFindShareDlg : public QDialog {
    Q_OBJECT
public:
    // mode 2 leaves out the excluded class; preset is the share selected first when listed.
    explicit CFindShareDlg(QWidget* parent = nullptr, RecordCursor preset = {}, int mode = 0);

    void setFirstKey(uint32_t character) { firstKey_ = character; }
    // Runs it modally; Accepted with chosen() set.
    int run();
    RecordCursor chosen() const { return chosen_; }

    // Types a character into the edit as if pressed there (8 is a backspace).
    void typeCharacter(int character);
    // Refills the list for the edit's text (each change of the text does so).
    void refill();

    CKeyEdit* edit() const { return edit_; }
    QListWidget* list() const { return list_; }
    QCheckBox* epicBox() const { return epic_; }
    QCheckBox* firstLetterBox() const { return firstLetter_; }
    QPushButton* alphabetButton() const { return alphabetButton_; }
    QGroupBox* alphabetGroup() const { return alphabetGroup_; }
    CAlphabetGrid* alphabet() const { return grid_; }
    const FindShareChoices& choices() const { return choices_; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onEpicToggled(bool on);
    void onFirstLetterToggled(bool on);
    void toggleAlphabet();
    void showAlphabet(bool on);
    void onSelection(int row);
    void onAlphabetKey(int character);

    std::vector<NameIndexItem> index_;
    FindShareChoices choices_;
    RecordCursor chosen_;
    int mode_;
    uint32_t firstKey_ = 0;
    bool opened_ = false;
    bool refilling_ = false;
    bool forwarding_ = false;
    CKeyEdit* edit_;
    QListWidget* list_;
    QCheckBox* epic_;
    QCheckBox* firstLetter_;
    QPushButton* alphabetButton_;
    QGroupBox* alphabetGroup_;
    CAlphabetGrid* grid_;
    QPushButton* ok_;
};

// Fills the frame's find seam with this dialog: the entry of the list whose share was chosen (the
// first entry when the list does not hold it), or nothing on Cancel.
void InstallFindShareDialog(QWidget* parent);

} // namespace qv
