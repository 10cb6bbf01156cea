// The story display: the current story of a news view with its header fields and text, stepping to
// the previous and next story, the keep and delete marks, save, print and copy.
#pragma once

#include "news/NewsStoryLayout.h"
#include "news/NewsStoryText.h"

#include <QDialog>

#include <cstdint>
#include <filesystem>
#include <string>

class QCheckBox;
class QGridLayout;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;

namespace qv {

class CNewsStoryWindow;
class CViewNewsWnd;

class CNewsStoryDlg : public QDialog {
    Q_OBJECT
public:
    CNewsStoryDlg(CViewNewsWnd& view, QWidget* parent = nullptr);
    ~CNewsStoryDlg() override;

    // Loads the view's current story; an unread story becomes read.
    void LoadStory();
    // Moves the view's current row by one and loads that story.
    void Step(int delta);
    // Writes the story to a file: HTML for ".htm", text otherwise. False (with the message) when the
    // file cannot be made.
    bool SaveTo(const std::filesystem::path& file);
    void Print();
    void CopyStory();
    // The story's popup menu: copy to the clipboard and select all.
    QMenu* CreateStoryMenu();

    uint32_t story() const { return story_; }
    QString storyText() const;
    const NewsStoryHeader& header() const { return header_; }
    CNewsStoryWindow* storyWindow() const { return window_; }
    QPushButton* locateNextButton() const { return locateNext_; }
    QLabel* foundCount() const { return foundCount_; }
    // The display open on a news view, if any.
    static CNewsStoryDlg* Open();
    QCheckBox* keepBox() const { return keep_; }
    QCheckBox* deleteBox() const { return delete_; }
    QCheckBox* headerLinesBox() const { return headerLines_; }
    QWidget* headerFields() const { return fields_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetMark(int state);
    void ShowHeaderLines(bool shown);
    void LayOutHeader();
    void PlaceControls();
    void ChooseFileAndSave();
    void ShowStoryMenu(const QPoint& at);

    CViewNewsWnd& view_;
    uint32_t story_ = 0;
    std::string text_;
    NewsStoryHeader header_;
    std::filesystem::path printed_;
    QWidget* fields_ = nullptr;
    QLabel* company_ = nullptr;
    QLabel* subject_ = nullptr;
    QLabel* country_ = nullptr;
    QLabel* industry_ = nullptr;
    QLabel* date_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* occurrences_ = nullptr;
    QLabel* foundCount_ = nullptr;
    CNewsStoryWindow* window_ = nullptr;
    QWidget* buttons_ = nullptr;
    QPushButton* locateNext_ = nullptr;
    bool initialised_ = false;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QCheckBox* keep_ = nullptr;
    QCheckBox* delete_ = nullptr;
    QCheckBox* headerLines_ = nullptr;
};

} // namespace qv
