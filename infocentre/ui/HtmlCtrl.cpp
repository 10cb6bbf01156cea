// The HTML control on the web engine: navigations sorted by their scheme, the "qv:" verbs, forms
// caught by an injected script and posted over a web channel, text sizes, keys and search.
#include "infocentre/ui/HtmlCtrl.h"

#include "infocentre/ContentAccess.h"
#include "infocentre/FormMessage.h"
#include "platform/MessageBox.h"
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

#if QV_HTML_ENGINE
#include <QFile>
#include <QWebChannel>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>
#endif

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

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

#if QV_HTML_ENGINE

// Runs in a world of its own, which the page's scripts cannot reach: only here is the channel to the
// program. It notes the user's own acts (trusted clicks and keys, which no script can make) and lets
// a "qv:" link, a web link or a form reach the program only when the user clicked that link or a
// control of that form. Form fields go URL-encoded in document order (the engine cannot hand a
// navigation's request body over). It also reports whether the focus is in a form field, which
// decides what typed keys do.
const char* const kFormScript = R"JS(
(function () {
  if (window.__qvForms) return;
  window.__qvForms = true;
  var bridge = null;
  var act = null;
  function note(ev) {
    if (ev.isTrusted) act = {target: ev.target, enter: ev.type == 'keydown' && ev.key == 'Enter', time: performance.now()};
  }
  // The user's last act, once, when `accepts` takes it and it is no older than a second.
  function take(accepts) {
    var a = act;
    act = null;
    return !!a && performance.now() - a.time < 1000 && accepts(a);
  }
  // A form goes on a click on one of its buttons, or on Enter in one of its fields.
  function controlOf(form) {
    return function (a) {
      var c = a.target && a.target.closest ? a.target.closest('button, input') : null;
      if (!c || !(c.form === form || form.contains(c))) return false;
      var y = (c.getAttribute('type') || '').toLowerCase();
      return c.tagName == 'BUTTON' || y == 'submit' || y == 'image' || y == 'button' || a.enter;
    };
  }
  function verbOf(form, submitter) {
    return (submitter && submitter.getAttribute('formaction')) || form.getAttribute('action') || '';
  }
  function isProgramLink(href) { return /^(qv:|https?:)/i.test(href); }
  function fieldsOf(form) { return new URLSearchParams(new FormData(form)).toString(); }
  function send(form, submitter) {
    var action = verbOf(form, submitter);
    if (/^qv:/i.test(action)) { bridge.submit(action, fieldsOf(form)); return; }
    var get = (form.getAttribute('method') || 'get').toLowerCase() == 'get';
    bridge.follow(new URL(action, document.baseURI).href + (get ? '?' + fieldsOf(form) : ''));
  }
  function inField() {
    var e = document.activeElement;
    if (!e) return false;
    var t = e.tagName;
    if (t == 'TEXTAREA' || t == 'SELECT' || t == 'OPTION' || t == 'BUTTON') return true;
    if (t != 'INPUT') return false;
    var y = (e.type || 'text').toLowerCase();
    return y != 'hidden' && y != 'image';
  }
  window.addEventListener('keydown', note, true);
  // A "qv:" link is the program's verb (a navigation the engine cancels would leave the page
  // blank). A script's click counts as the page's own navigation, which reaches only the harmless
  // verbs.
  window.addEventListener('click', function (ev) {
    note(ev);
    var a = ev.target.closest ? ev.target.closest('a[href], area[href]') : null;
    if (!a || !isProgramLink(a.getAttribute('href'))) return;
    ev.preventDefault();
    var href = a.getAttribute('href');
    href = /^qv:/i.test(href) ? href : a.href;
    if (!bridge) return;
    if (ev.isTrusted && take(function (act) { return a.contains(act.target); }))
      bridge.follow(href);
    else
      bridge.pageLink(href);
  }, true);
  document.addEventListener('submit', function (ev) {
    var form = ev.target;
    if (!isProgramLink(verbOf(form, ev.submitter))) return;
    ev.preventDefault();
    if (take(controlOf(form)) && bridge) send(form, ev.submitter);
  }, true);
  // The page's form.submit() of a "qv:" form, announced by the page's own world.
  document.addEventListener('qvsubmit', function (ev) {
    var form = ev.target;
    if (form instanceof HTMLFormElement && take(controlOf(form)) && bridge) send(form, null);
  }, true);
  document.addEventListener('focusin', function () { if (bridge) bridge.focusChanged(inField()); }, true);
  document.addEventListener('focusout', function () {
    setTimeout(function () { if (bridge) bridge.focusChanged(inField()); }, 0);
  }, true);
  document.addEventListener('contextmenu', function (ev) { ev.preventDefault(); }, true);
  new QWebChannel(qt.webChannelTransport, function (channel) { bridge = channel.objects.qvForms; });
})();
)JS";

// In the page's own world: form.submit() fires no submit event, so for a "qv:" form it announces
// itself instead; the program's world decides whether the user asked for it.
const char* const kSubmitShim = R"JS(
(function () {
  var plainSubmit = HTMLFormElement.prototype.submit;
  HTMLFormElement.prototype.submit = function () {
    if ((this.getAttribute('action') || '').indexOf('qv:') == 0)
      this.dispatchEvent(new CustomEvent('qvsubmit'));
    else
      plainSubmit.call(this);
  };
})();
)JS";

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

#endif

} // namespace

#if QV_HTML_ENGINE

// The object the page's script talks to.
class HtmlFormBridge : public QObject {
    Q_OBJECT
public:
    explicit HtmlFormBridge(CHtmlCtrl& ctrl) : QObject(&ctrl), ctrl_(ctrl) {}

public slots:
    void follow(const QString& url) { ctrl_.FollowLink(url.toStdString(), LinkSource::Click); }
    void pageLink(const QString& url) { ctrl_.FollowLink(url.toStdString(), LinkSource::Script); }
    void submit(const QString& action, const QString& post) { ctrl_.FollowLink(action.toStdString(), LinkSource::Submit, post.toStdString()); }
    void focusChanged(bool inField) { ctrl_.SetInFormField(inField); }

private:
    CHtmlCtrl& ctrl_;
};

// The page asks the control about every navigation before it is made.
class HtmlCtrlPage : public QWebEnginePage {
public:
    HtmlCtrlPage(CHtmlCtrl& ctrl, QObject* parent) : QWebEnginePage(parent), ctrl_(ctrl) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        return isMainFrame ? ctrl_.AcceptNavigation(url) : ctrl_.AcceptFrame(url);
    }

private:
    CHtmlCtrl& ctrl_;
};

// Every request the page makes: a file of the content folder of a page's own kind, nothing that a
// script reads, nothing from elsewhere.
class ContentRequestFilter : public QWebEngineUrlRequestInterceptor {
public:
    ContentRequestFilter(std::filesystem::path folder, QObject* parent)
        : QWebEngineUrlRequestInterceptor(parent), folder_(std::move(folder))
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        if (url.scheme() == "data" || url.scheme() == "blob")
            return;
        info.block(!url.isLocalFile() || !ContentFileAllowed(folder_, url.toLocalFile().toStdString(), UseOf(info)));
    }

private:
    static ContentUse UseOf(const QWebEngineUrlRequestInfo& info)
    {
        switch (info.resourceType()) {
        case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
        case QWebEngineUrlRequestInfo::ResourceTypeSubFrame: return ContentUse::Page;
        case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
        case QWebEngineUrlRequestInfo::ResourceTypeScript:
        case QWebEngineUrlRequestInfo::ResourceTypeImage:
        case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
        case QWebEngineUrlRequestInfo::ResourceTypeMedia:
        case QWebEngineUrlRequestInfo::ResourceTypeFavicon: return ContentUse::Resource;
        default: return ContentUse::ScriptRead;
        }
    }

    std::filesystem::path folder_;
};

void PrepareHtmlEngine()
{
    QWebEngineUrlScheme scheme("qv");
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Its links are the program's verbs and load nothing, so they are given no access to files.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
    // The engine's sandbox refuses to run for root (a CI machine); everyone else keeps it.
    if (geteuid() == 0)
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

bool HtmlEngineAvailable()
{
    // The offscreen platform of the headless tests cannot host the engine.
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal";
}

std::optional<std::string> HtmlEngineVersion()
{
    return std::string(QT_VERSION_STR);
}

CHtmlCtrl::CHtmlCtrl(HtmlCtrlOwner& owner, std::filesystem::path contentFolder, QWidget* parent)
    : QWidget(parent), owner_(owner), folder_(std::move(contentFolder))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new QWebEngineView(this);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    layout->addWidget(view_);
    auto* page = new HtmlCtrlPage(*this, view_);
    view_->setPage(page);
    LockDownPage(*page);

    // The channel lives in the program's own world: the page's scripts cannot call it.
    auto* channel = new QWebChannel(page);
    channel->registerObject("qvForms", new HtmlFormBridge(*this));
    page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);
    QFile channelJs(":/qtwebchannel/qwebchannel.js");
    channelJs.open(QIODevice::ReadOnly);
    QWebEngineScript script;
    script.setName("qvForms");
    script.setSourceCode(QString::fromUtf8(channelJs.readAll()) + kFormScript);
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    page->scripts().insert(script);
    QWebEngineScript shim;
    shim.setName("qvSubmit");
    shim.setSourceCode(kSubmitShim);
    shim.setInjectionPoint(QWebEngineScript::DocumentCreation);
    shim.setWorldId(QWebEngineScript::MainWorld);
    shim.setRunsOnSubFrames(false);
    page->scripts().insert(shim);

    connect(view_, &QWebEngineView::loadFinished, this, &CHtmlCtrl::OnDocumentComplete);
    setFocusProxy(view_);
    view_->installEventFilter(this);
    WatchKeys();
}

CHtmlCtrl::~CHtmlCtrl() = default;

void CHtmlCtrl::LockDownPage(QWebEnginePage& page)
{
    QWebEngineSettings* settings = page.settings();
    // The engine of this version stops a file page's own pictures and style sheet as well when file
    // pages may not reach other files; the request filter keeps the page to its folder instead.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    settings->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
    page.setUrlRequestInterceptor(new ContentRequestFilter(folder_, &page));
}

void CHtmlCtrl::WatchKeys()
{
    // The engine gives keys and clicks to a child widget it makes itself, once it has a page.
    for (QObject* child : view_->findChildren<QWidget*>())
        child->installEventFilter(this);
}

void CHtmlCtrl::Navigate(const QUrl& url)
{
    view_->setUrl(url);
}

void CHtmlCtrl::Reload()
{
    view_->reload();
}

void CHtmlCtrl::RunScript(const QString& script)
{
    view_->page()->runJavaScript(script);
}

void CHtmlCtrl::ApplyZoom()
{
    view_->setZoomFactor(kZoomSteps[textSize_]);
}

void CHtmlCtrl::ScrollPage(bool up)
{
    view_->page()->runJavaScript(up ? "window.scrollBy(0, -window.innerHeight);" : "window.scrollBy(0, window.innerHeight);");
}

void CHtmlCtrl::OnDocumentComplete(bool ok)
{
    depth_.DocumentComplete();
    WatchKeys();
    ApplyZoom();
    view_->page()->runJavaScript("if (document.body) document.body.style.overflow = 'auto';");
    if (injectStyle_) {
        injectStyle_ = false;
        const QString css = QUrl::fromLocalFile(QString::fromStdString((folder_ / "inc.css").string())).toString();
        view_->page()->runJavaScript(
            "(function () { var s = document.querySelector('style');"
            " if (!s) { s = document.createElement('style'); document.head.appendChild(s); }"
            " s.textContent = '@import url(\"' + " + JsString(css) + " + '\");'; })();");
    }
    emit loadFinished(ok);
}

void CHtmlCtrl::FindText(const QString& text, uint32_t flags)
{
    // Ending a search inside the selection leaves the last hit selected, as the engine keeps it.
    if (flags & kFindInSelection)
        return;
    QWebEnginePage::FindFlags found;
    if (flags & kFindUp)
        found |= QWebEnginePage::FindBackward;
    if (flags & kFindMatchCase)
        found |= QWebEnginePage::FindCaseSensitively;
    if (text != lastSearch_) {
        // A new text starts from the top again.
        lastSearch_ = text;
        lastHit_ = 0;
        view_->page()->findText({});
    }
    QWebEnginePage* page = view_->page();
    const bool backward = (flags & kFindUp) != 0;
    const int asked = ++findsAsked_;
    auto search = [self = QPointer<CHtmlCtrl>(this), page, text, found, backward, asked] {
        page->findText(text, found, [self, backward, asked](const QWebEngineFindTextResult& result) {
            // The engine answers a Find that a newer one replaced with no hits: that answer means nothing.
            if (!self || asked != self->findsAsked_)
                return;
            ++self->findsAnswered_;
            self->FoundHit(result.numberOfMatches(), result.activeMatch(), backward);
        });
    };
    if (!(flags & kFindWholeWord)) {
        search();
        return;
    }
    // The engine's search has no whole-word mode: the page's text is checked by a script first.
    const QString check = "(function () { var t = " + JsString(QRegularExpression::escape(text)) +
                          "; return new RegExp('(^|[^A-Za-z0-9_])' + t + '($|[^A-Za-z0-9_])', '" +
                          ((flags & kFindMatchCase) ? "" : "i") +
                          "').test(document.body ? document.body.innerText : ''); })();";
    page->runJavaScript(check, [search](const QVariant& hasWord) {
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
        view_->page()->findText({});
        ShowMessage("Finished searching document");
        return;
    }
    lastHit_ = active;
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

#else

void PrepareHtmlEngine() {}
bool HtmlEngineAvailable() { return false; }
std::optional<std::string> HtmlEngineVersion() { return std::nullopt; }

CHtmlCtrl::CHtmlCtrl(HtmlCtrlOwner& owner, std::filesystem::path contentFolder, QWidget* parent)
    : QWidget(parent), owner_(owner), folder_(std::move(contentFolder))
{
}
CHtmlCtrl::~CHtmlCtrl() = default;
void CHtmlCtrl::WatchKeys() {}
void CHtmlCtrl::Navigate(const QUrl&) {}
void CHtmlCtrl::Reload() {}
void CHtmlCtrl::RunScript(const QString&) {}
void CHtmlCtrl::ApplyZoom() {}
void CHtmlCtrl::ScrollPage(bool) {}
void CHtmlCtrl::OnDocumentComplete(bool) {}
void CHtmlCtrl::FindText(const QString&, uint32_t) {}
bool CHtmlCtrl::AcceptNavigation(const QUrl&) { return false; }
bool CHtmlCtrl::AcceptFrame(const QUrl&) const { return false; }
bool CHtmlCtrl::eventFilter(QObject* watched, QEvent* event) { return QWidget::eventFilter(watched, event); }

#endif

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
#if QV_HTML_ENGINE
        if (depth_.BackPage())
            view_->back();
#endif
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

#if QV_HTML_ENGINE
#include "HtmlCtrl.moc"
#endif
