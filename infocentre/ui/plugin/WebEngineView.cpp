// The web engine's plug-in: pages on Qt WebEngine, their forms caught by an injected script and posted
// over a web channel, every navigation and request put to the HTML control. Built as a library of its
// own, so that the program loads the engine only when the first document window opens.
#include "infocentre/ui/HtmlEngine.h"

#include <QCoreApplication>
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

#include <cstdlib>
#include <type_traits>
#include <unistd.h>

namespace qv {
namespace {

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

// The object the page's script talks to.
class HtmlFormBridge : public QObject {
    Q_OBJECT
public:
    HtmlFormBridge(HtmlViewClient& client, QObject* parent) : QObject(parent), client_(client) {}

public slots:
    void follow(const QString& url) { client_.LinkFollowed(url.toStdString(), LinkSource::Click, {}); }
    void pageLink(const QString& url) { client_.LinkFollowed(url.toStdString(), LinkSource::Script, {}); }
    void submit(const QString& action, const QString& post) { client_.LinkFollowed(action.toStdString(), LinkSource::Submit, post.toStdString()); }
    void focusChanged(bool inField) { client_.FormFieldFocused(inField); }

private:
    HtmlViewClient& client_;
};

// The page asks the control about every navigation before it is made.
class ClientPage : public QWebEnginePage {
public:
    ClientPage(HtmlViewClient& client, QObject* parent) : QWebEnginePage(parent), client_(client) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        return client_.AllowNavigation(url, isMainFrame);
    }

private:
    HtmlViewClient& client_;
};

// Every request the page makes: a local file the control allows for its use, nothing from elsewhere.
class ContentRequestFilter : public QWebEngineUrlRequestInterceptor {
public:
    ContentRequestFilter(const HtmlViewClient& client, QObject* parent)
        : QWebEngineUrlRequestInterceptor(parent), client_(client)
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        if (url.scheme() == "data" || url.scheme() == "blob")
            return;
        info.block(!url.isLocalFile() || !client_.AllowRequest(url.toLocalFile().toStdString(), UseOf(info)));
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

    const HtmlViewClient& client_;
};

class WebEngineHtmlView : public QWebEngineView, public HtmlView {
public:
    WebEngineHtmlView(HtmlViewClient& client, QWidget* parent) : QWebEngineView(parent)
    {
        setContextMenuPolicy(Qt::NoContextMenu);
        auto* page = new ClientPage(client, this);
        setPage(page);
        LockDown(*page, client);

        // The channel lives in the program's own world: the page's scripts cannot call it.
        auto* channel = new QWebChannel(page);
        channel->registerObject("qvForms", new HtmlFormBridge(client, channel));
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

        connect(this, &QWebEngineView::loadFinished, this, [&client](bool ok) { client.DocumentComplete(ok); });
    }

    QWidget* Widget() override { return this; }
    void Navigate(const QUrl& url) override { setUrl(url); }
    QUrl Url() const override { return url(); }
    void Reload() override { reload(); }
    void Back() override { back(); }
    void SetZoom(double factor) override { setZoomFactor(factor); }
    double Zoom() const override { return zoomFactor(); }

    void RunScript(const QString& script, std::function<void(const QVariant&)> done) override
    {
        if (done)
            page()->runJavaScript(script, std::move(done));
        else
            page()->runJavaScript(script);
    }

    void Find(const QString& text, bool backward, bool matchCase, std::function<void(int, int)> done) override
    {
        if (text.isEmpty()) {
            page()->findText({});
            return;
        }
        QWebEnginePage::FindFlags flags;
        if (backward)
            flags |= QWebEnginePage::FindBackward;
        if (matchCase)
            flags |= QWebEnginePage::FindCaseSensitively;
        page()->findText(text, flags, [done = std::move(done)](const QWebEngineFindTextResult& result) {
            if (done)
                done(result.numberOfMatches(), result.activeMatch());
        });
    }

private:
    static void LockDown(QWebEnginePage& page, const HtmlViewClient& client)
    {
        QWebEngineSettings* settings = page.settings();
        // The engine of this version stops a file page's own pictures and style sheet as well when
        // file pages may not reach other files; the request filter keeps the page to its folder instead.
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
        settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
        settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
        settings->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
        settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
        page.setUrlRequestInterceptor(new ContentRequestFilter(client, &page));
    }
};

class WebEngine : public HtmlEngine {
public:
    void Prepare() override
    {
        if (prepared_)
            return;
        prepared_ = true;
        QWebEngineUrlScheme scheme("qv");
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        // Its links are the program's verbs and load nothing, so they are given no access to files.
        scheme.setFlags(QWebEngineUrlScheme::LocalScheme);
        QWebEngineUrlScheme::registerScheme(scheme);
        // The engine's sandbox refuses to run for root (a CI machine); everyone else keeps it.
        if (geteuid() == 0)
            ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    }

    HtmlView* CreateView(HtmlViewClient& client, QWidget* parent) override
    {
        Prepare();
        return new WebEngineHtmlView(client, parent);
    }

private:
    bool prepared_ = false;
};

} // namespace
} // namespace qv

extern "C" __attribute__((visibility("default"))) qv::HtmlEngine* QvHtmlEngine()
{
    static_assert(std::is_same_v<decltype(&QvHtmlEngine), qv::HtmlEngineEntry>);
    static qv::WebEngine engine;
    return &engine;
}

#include "WebEngineView.moc"
