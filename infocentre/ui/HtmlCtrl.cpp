// The HTML control on the web engine's plug-in: navigations sorted by their scheme, the "qv:" verbs,
// forms the page's script reports, text sizes, keys and search.
#include "infocentre/ui/HtmlCtrl.h"

#include "infocentre/ContentAccess.h"
#include "infocentre/FormMessage.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/PluginLibrary.h"
#include "shell/FrameCommands.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DialogHelp.h"

#include <QChildEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cstdio>

namespace qv {

namespace {

// The five text sizes, smallest to largest.
constexpr double kZoomSteps[] = {0.75, 0.875, 1.0, 1.25, 1.5};
constexpr uint8_t kClassRepeatableForm = 0x04;
constexpr uint8_t kStateClosed = 0x10;
constexpr uint8_t kStateDone = 0x80;
constexpr uint32_t kDocHelpTopic = 92665;
// Command ids are 16-bit words.
constexpr uint32_t kHighestCommandId = 0xFFFF;

QString JsString(const QString& text)
{
    QString out = text;
    out.replace('\\', "\\\\").replace('\'', "\\'").replace('\n', "\\n");
    return "'" + out + "'";
}

// The key as the routing rule sees it.
HtmlKey KeyOf(const QKeyEvent& key)
{
    HtmlKey k;
    k.autoRepeat = key.isAutoRepeat();
    k.shift = key.modifiers() & Qt::ShiftModifier;
    const bool control = key.modifiers() & Qt::ControlModifier;
    switch (key.key()) {
    case Qt::Key_Escape: k.kind = HtmlKey::Kind::Escape; return k;
    case Qt::Key_Space:
        if (!control)
            k.kind = HtmlKey::Kind::Space;
        return k;
    case Qt::Key_Return:
    case Qt::Key_Enter: k.kind = HtmlKey::Kind::Enter; return k;
    case Qt::Key_Delete: k.kind = HtmlKey::Kind::Delete; return k;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: k.kind = HtmlKey::Kind::Tab; return k;
    default: break;
    }
    if (control && key.key() == Qt::Key_F) {
        k.kind = HtmlKey::Kind::Character;
        k.character = 6;
        return k;
    }
    if (control || (key.modifiers() & Qt::AltModifier) || key.text().isEmpty())
        return k;
    const char32_t ch = key.text().toUcs4().value(0);
    k.kind = HtmlKey::Kind::Character;
    // Every character beyond the first 256 is a graphic one.
    k.character = ch < 0x100 ? char(ch) : 'x';
    return k;
}

// The engine, loaded by the first control that needs it; a plug-in that failed to load is not tried
// again, and the controls stay blank.
HtmlEngine* LoadedEngine()
{
    static HtmlEngine* const engine = [] {
        std::string error;
        auto entry = reinterpret_cast<HtmlEngineEntry>(LoadPluginEntry(PluginFile(kHtmlEnginePlugin), kHtmlEngineEntry, &error));
        if (!entry) {
            OutputDebugText("HTML engine: " + error);
            return static_cast<HtmlEngine*>(nullptr);
        }
        return entry();
    }();
    return engine;
}

} // namespace

void PrepareHtmlEngine()
{
    if (PluginPresent(kHtmlEnginePlugin))
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

bool HtmlEngineAvailable()
{
    // The offscreen platform of the headless tests cannot host the engine.
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal" && PluginPresent(kHtmlEnginePlugin);
}

std::optional<std::string> HtmlEngineVersion()
{
    if (!PluginPresent(kHtmlEnginePlugin))
        return std::nullopt;
    return std::string(QT_VERSION_STR);
}

CHtmlCtrl::CHtmlCtrl(HtmlCtrlOwner& owner, std::filesystem::path contentFolder, QWidget* parent)
    : QWidget(parent), owner_(owner), folder_(std::move(contentFolder))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    HtmlEngine* engine = LoadedEngine();
    if (!engine)
        return;
    view_ = engine->CreateView(*this, this);
    viewWidget_ = view_->Widget();
    layout->addWidget(viewWidget_);
    setFocusProxy(viewWidget_);
    viewWidget_->installEventFilter(this);
    WatchKeys();
}

CHtmlCtrl::~CHtmlCtrl()
{
    // The page goes first: nothing it reports reaches a control half torn down.
    delete viewWidget_;
}

void CHtmlCtrl::WatchKeys()
{
    // The engine gives keys and clicks to a child widget it makes itself, once it has a page.
    if (!viewWidget_)
        return;
    for (QObject* child : viewWidget_->findChildren<QWidget*>())
        child->installEventFilter(this);
}

void CHtmlCtrl::Navigate(const QUrl& url)
{
    if (view_)
        view_->Navigate(url);
}

void CHtmlCtrl::Reload()
{
    if (view_)
        view_->Reload();
}

void CHtmlCtrl::RunScript(const QString& script, std::function<void(const QVariant&)> done)
{
    if (view_)
        view_->RunScript(script, std::move(done));
}

QUrl CHtmlCtrl::Url() const
{
    return view_ ? view_->Url() : QUrl();
}

double CHtmlCtrl::ZoomFactor() const
{
    return view_ ? view_->Zoom() : kZoomSteps[textSize_];
}

void CHtmlCtrl::ApplyZoom()
{
    if (view_)
        view_->SetZoom(kZoomSteps[textSize_]);
}

void CHtmlCtrl::ScrollPage(bool up)
{
    RunScript(up ? "window.scrollBy(0, -window.innerHeight);" : "window.scrollBy(0, window.innerHeight);");
}

void CHtmlCtrl::DocumentComplete(bool ok)
{
    depth_.DocumentComplete();
    WatchKeys();
    ApplyZoom();
    RunScript("if (document.body) document.body.style.overflow = 'auto';");
    if (injectStyle_) {
        injectStyle_ = false;
        const QString css = QUrl::fromLocalFile(QString::fromStdString((folder_ / "inc.css").string())).toString();
        RunScript("(function () { var s = document.querySelector('style');"
                  " if (!s) { s = document.createElement('style'); document.head.appendChild(s); }"
                  " s.textContent = '@import url(\"' + " + JsString(css) + " + '\");'; })();");
    }
    emit loadFinished(ok);
}

void CHtmlCtrl::FindText(const QString& text, uint32_t flags)
{
    // Ending a search inside the selection leaves the last hit selected, as the engine keeps it.
    if (!view_ || (flags & kFindInSelection))
        return;
    if (text != lastSearch_) {
        // A new text starts from the top again.
        lastSearch_ = text;
        lastHit_ = 0;
        view_->Find({}, false, false, {});
    }
    HtmlView* view = view_;
    const bool backward = (flags & kFindUp) != 0;
    const bool matchCase = (flags & kFindMatchCase) != 0;
    const int asked = ++findsAsked_;
    auto search = [self = QPointer<CHtmlCtrl>(this), view, text, backward, matchCase, asked] {
        if (!self)
            return;
        view->Find(text, backward, matchCase, [self, backward, asked](int matches, int active) {
            // The engine answers a Find that a newer one replaced with no hits: that answer means nothing.
            if (!self || asked != self->findsAsked_)
                return;
            ++self->findsAnswered_;
            self->FoundHit(matches, active, backward);
        });
    };
    if (!(flags & kFindWholeWord)) {
        search();
        return;
    }
    // The engine's search has no whole-word mode: the page's text is checked by a script first.
    const QString check = "(function () { var t = " + JsString(QRegularExpression::escape(text)) +
                          "; return new RegExp('(^|[^A-Za-z0-9_])' + t + '($|[^A-Za-z0-9_])', '" +
                          (matchCase ? "" : "i") +
                          "').test(document.body ? document.body.innerText : ''); })();";
    view_->RunScript(check, [search](const QVariant& hasWord) {
        if (hasWord.toBool())
            search();
        else
            ShowMessage("Finished searching document");
    });
}

void CHtmlCtrl::FoundHit(int matches, int active, bool backward)
{
    const bool wrapped = matches > 0 && lastHit_ > 0 && (backward ? active >= lastHit_ : active <= lastHit_);
    if (matches == 0 || wrapped) {
        // The next Find starts again from the top.
        lastHit_ = 0;
        view_->Find({}, false, false, {});
        ShowMessage("Finished searching document");
        return;
    }
    lastHit_ = active;
}

bool CHtmlCtrl::AllowNavigation(const QUrl& url, bool mainFrame)
{
    return mainFrame ? AcceptNavigation(url) : AcceptFrame(url);
}

bool CHtmlCtrl::AllowRequest(const std::string& file, ContentUse use) const
{
    return ContentFileAllowed(folder_, file, use);
}

void CHtmlCtrl::LinkFollowed(const std::string& url, LinkSource source, const std::string& post)
{
    FollowLink(url, source, post);
}

bool CHtmlCtrl::AcceptNavigation(const QUrl& url)
{
    if (!FollowLink(url.toString().toStdString(), LinkSource::Script))
        return false;
    depth_.PageNavigated();
    return true;
}

bool CHtmlCtrl::AcceptFrame(const QUrl& url) const
{
    if (url.scheme() == "about")
        return url.path() == "blank" || url.path() == "srcdoc";
    return url.isLocalFile() && ContentFileAllowed(folder_, url.toLocalFile().toStdString(), ContentUse::Page);
}

bool CHtmlCtrl::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            child->installEventFilter(this);
        return false;
    case QEvent::KeyPress: return RouteKey(KeyOf(*static_cast<QKeyEvent*>(event)));
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton)
            return false;
        return RouteKey(HtmlKey{HtmlKey::Kind::RightButton});
    case QEvent::Wheel: {
        // The engine's own zoom would leave the five sizes: Ctrl+wheel steps through them instead.
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            return false;
        const int step = wheel->angleDelta().y() > 0 ? 1 : -1;
        const int size = std::clamp(textSize_ + step, 0, 4);
        OnTextSizeCommand(kTextSizeSmallestCommand - uint32_t(size));
        return true;
    }
    default: return QWidget::eventFilter(watched, event);
    }
}

void CHtmlCtrl::SetDocument(uint16_t number, uint8_t classFlags, bool doNotCount)
{
    number_ = number;
    char name[8];
    std::snprintf(name, sizeof name, "%05hu", number);
    name_ = name;
    classFlags_ = classFlags;
    depth_.NewDocument(doNotCount);
}

bool CHtmlCtrl::OnTextSizeCommand(uint32_t command)
{
    if (command < kTextSizeLargestCommand || command > kTextSizeSmallestCommand)
        return false;
    textSize_ = int(kTextSizeSmallestCommand - command);
    ApplyZoom();
    return true;
}

bool CHtmlCtrl::IsTextSizeChecked(uint32_t command) const
{
    return command >= kTextSizeLargestCommand && command <= kTextSizeSmallestCommand &&
           int(kTextSizeSmallestCommand - command) == textSize_;
}

bool CHtmlCtrl::RouteKey(const HtmlKey& key)
{
    switch (RouteHtmlKey(key, owner_.AutoViewing(), inFormField_)) {
    case HtmlKeyAction::PassOn:
    case HtmlKeyAction::DialogKey: return false; // the window has no default button to take them
    case HtmlKeyAction::OpenLater: owner_.OpenLater(); return true;
    case HtmlKeyAction::CloseWindow: owner_.CloseWindow(); return true;
    case HtmlKeyAction::ScrollDown: ScrollPage(false); return true;
    case HtmlKeyAction::ScrollUp: ScrollPage(true); return true;
    case HtmlKeyAction::OpenFind:
        owner_.OpenFind(QString(QChar::fromLatin1(key.character)));
        return true;
    case HtmlKeyAction::OpenFindEmpty: owner_.OpenFind({}); return true;
    }
    return false;
}

bool CHtmlCtrl::FollowLink(const std::string& url, LinkSource source, const std::string& post)
{
    switch (DecideLink(url, source)) {
    case LinkAction::Verb: HandleVerb(url, post); return false;
    case LinkAction::OpenExternal: OpenExternal(url); return false;
    case LinkAction::Refuse: return false;
    case LinkAction::Load: break;
    }
    const QUrl target(QString::fromStdString(url));
    return target.isLocalFile() && ContentFileAllowed(folder_, target.toLocalFile().toStdString(), ContentUse::Page);
}

void CHtmlCtrl::NavigateToPage(const std::string& page)
{
    // The page a form names must be one of the content folder's own.
    if (!ContentFileAllowed(folder_, folder_ / page, ContentUse::Page))
        return;
    Navigate(QUrl::fromLocalFile(QString::fromStdString((folder_ / page).string())));
}

void CHtmlCtrl::HandleVerb(const std::string& url, const std::string& post)
{
    const InCLink link = ParseInCLink(url);
    switch (link.verb) {
    case InCLinkVerb::None:
    case InCLinkVerb::Unknown: return;
    case InCLinkVerb::CloseWindow: owner_.CloseQuietly(); return;
    case InCLinkVerb::BackPage:
        if (view_ && depth_.BackPage())
            view_->Back();
        return;
    case InCLinkVerb::Command:
        if (link.number && *link.number <= kHighestCommandId)
            PostCommandToFrame(*link.number);
        return;
    case InCLinkVerb::CommandClose:
        owner_.CloseQuietly();
        if (link.number && *link.number <= kHighestCommandId)
            PostCommandToFrame(*link.number);
        return;
    case InCLinkVerb::HelpKey:
        // There is no keyword index to search: the window's own topic stands in.
        ShowDialogHelp(kDocHelpTopic);
        return;
    case InCLinkVerb::Help:
        if (link.number)
            ShowDialogHelp(InCHelpTopic(*link.number));
        return;
    case InCLinkVerb::PartSubmit: SubmitForm(link, post, false); return;
    case InCLinkVerb::DocSubmit: SubmitForm(link, post, true); return;
    case InCLinkVerb::Document:
        if (link.number && *link.number <= 0xFFFF)
            owner_.ShowLinkedDocument(uint16_t(*link.number));
        return;
    }
}

void CHtmlCtrl::SubmitForm(const InCLink& link, const std::string& post, bool wholeDocument)
{
    FormDescription form;
    switch (SaveFormData(post, form, name_, depth_.Depth())) {
    case FormSaveResult::Saved: break;
    case FormSaveResult::MandatoryMissing: ListMissingFields(form); return;
    case FormSaveResult::Malformed: owner_.CloseQuietly(); return;
    case FormSaveResult::WriteFailed: return;
    }
    if (wholeDocument) {
        // A message that cannot be written keeps the pages and leaves the form as it was.
        if (!SendFormData(form.destination, name_))
            return;
        const bool repeatable = classFlags_ & kClassRepeatableForm;
        owner_.SetDocumentState(repeatable ? kStateClosed : kStateDone);
        if (!repeatable)
            owner_.MarkFormDone();
    }
    if (!link.argument.empty()) {
        depth_.CountPage();
        NavigateToPage(link.argument);
        return;
    }
    if (wholeDocument) {
        injectStyle_ = true;
        NavigateToPage("thanks.htm");
    }
}

} // namespace qv
