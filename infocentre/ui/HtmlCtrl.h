// The HTML control of an InfoCentre document window: a page on the web engine's plug-in that sorts
// navigations, carries out the program's "qv:" verbs, files submitted forms, and offers five text
// sizes and text search. The only file pair that loads the engine.
#pragma once

#include "infocentre/ContentAccess.h"
#include "infocentre/HtmlForms.h"
#include "infocentre/ui/HtmlEngine.h"

#include <QString>
#include <QUrl>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace qv {

// The text size commands: 27123 largest (4) down to 27127 smallest (0).
inline constexpr uint32_t kTextSizeLargestCommand = 27123;
inline constexpr uint32_t kTextSizeSmallestCommand = 27127;
inline constexpr uint32_t kHtmlCtrlId = 3419;

// Search flags of `FindText`.
inline constexpr uint32_t kFindUp = 0x01;
inline constexpr uint32_t kFindWholeWord = 0x02;
inline constexpr uint32_t kFindMatchCase = 0x04;
inline constexpr uint32_t kFindInSelection = 0x8000;

// What the verbs and keys ask of the window that holds the control.
class HtmlCtrlOwner {
public:
    virtual ~HtmlCtrlOwner() = default;
    // OK and Cancel: the window goes without changing the document's state.
    virtual void CloseQuietly() = 0;
    // The window's close: the document is marked as seen.
    virtual void CloseWindow() = 0;
    virtual void OpenLater() = 0;
    virtual void ShowLinkedDocument(uint16_t number) = 0;
    virtual void SetDocumentState(uint8_t state) = 0;
    virtual void MarkFormDone() = 0;
    virtual void OpenFind(const QString& seed) = 0;
    // Whether Escape opens Later... (the window was opened by AutoView).
    virtual bool AutoViewing() const = 0;
};

// Call before the application object exists: when the engine's plug-in is there, the application
// is made to share its drawing contexts, as the engine needs from its start. The engine itself is
// loaded only by the first control.
void PrepareHtmlEngine();
// Whether the engine's plug-in is there and this display can show document windows.
bool HtmlEngineAvailable();
// The engine's version ("6.4"), or nothing without its plug-in.
std::optional<std::string> HtmlEngineVersion();

class CHtmlCtrl : public QWidget, private HtmlViewClient {
    Q_OBJECT
public:
    CHtmlCtrl(HtmlCtrlOwner& owner, std::filesystem::path contentFolder, QWidget* parent);
    ~CHtmlCtrl() override;

    void SetDocument(uint16_t number, uint8_t classFlags, bool doNotCount);
    void Navigate(const QUrl& url);
    void Reload();
    uint32_t PageDepth() const { return depth_.Depth(); }
    // Runs a script in the page (filling a form in a test run, say); `done`, when given, gets its result.
    void RunScript(const QString& script, std::function<void(const QVariant&)> done = {});
    // The page's address and zoom, and the engine's widget (null when the engine could not load).
    QUrl Url() const;
    double ZoomFactor() const;
    QWidget* View() const { return viewWidget_; }

    int TextSize() const { return textSize_; }
    // Runs a text size command; false for another command.
    bool OnTextSizeCommand(uint32_t command);
    bool IsTextSizeChecked(uint32_t command) const;

    void FindText(const QString& text, uint32_t flags);
    // The Find answers handled so far; an answer to a Find that a newer one replaced is dropped.
    int FindsAnswered() const { return findsAnswered_; }

    // A "qv:" link, or a form submission aimed at one with its URL-encoded fields.
    void HandleVerb(const std::string& url, const std::string& post = {});
    // A navigation the page is about to make by itself: true to let it go ahead.
    bool AcceptNavigation(const QUrl& url);
    // A frame inside the page: only a page of the content folder.
    bool AcceptFrame(const QUrl& url) const;
    // A link or form post from `source`, carried out by its rule (DecideLink): true for a page of
    // the content folder the engine may load.
    bool FollowLink(const std::string& url, LinkSource source, const std::string& post = {});
    // A key or click before the page sees it: true when the control took it.
    bool RouteKey(const HtmlKey& key);

    // Whether the page's focus is in a form field, as the page's script last reported.
    void SetInFormField(bool inField) { inFormField_ = inField; }

signals:
    void loadFinished(bool ok);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the engine asks of the control.
    bool AllowNavigation(const QUrl& url, bool mainFrame) override;
    bool AllowRequest(const std::string& file, ContentUse use) const override;
    void LinkFollowed(const std::string& url, LinkSource source, const std::string& post) override;
    void FormFieldFocused(bool inField) override { SetInFormField(inField); }
    void DocumentComplete(bool ok) override;

    void WatchKeys();
    void SubmitForm(const InCLink& link, const std::string& post, bool wholeDocument);
    void NavigateToPage(const std::string& page);
    void ApplyZoom();
    void ScrollPage(bool up);
    // A Find's answer: the hits and the one now selected; past the last hit (before the first going
    // up) the search has wrapped, and the user is told the document is done instead.
    void FoundHit(int matches, int active, bool backward);

    HtmlCtrlOwner& owner_;
    std::filesystem::path folder_;
    HtmlView* view_ = nullptr;        // owned by its widget, a child of this control
    QWidget* viewWidget_ = nullptr;
    uint16_t number_ = 0;
    std::string name_;
    uint8_t classFlags_ = 0;
    HtmlPageDepth depth_;
    int textSize_ = 2;
    bool injectStyle_ = false;
    QString lastSearch_;
    int lastHit_ = 0; // the hit Find last selected, from 1; 0 before the first
    int findsAsked_ = 0;
    int findsAnswered_ = 0;
    bool inFormField_ = false;
};

} // namespace qv
