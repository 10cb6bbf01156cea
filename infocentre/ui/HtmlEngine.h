// What the web engine's plug-in offers the HTML control, and what the control answers it: the engine
// (Qt WebEngine with its web channel) lives in a library of its own, loaded when the first document
// window opens, and sees the rest of the program only through these calls.
#pragma once

#include "infocentre/ContentAccess.h"

#include <QString>
#include <QUrl>
#include <QVariant>

#include <functional>
#include <string>

class QWidget;

namespace qv {

inline constexpr char kHtmlEnginePlugin[] = "qvwebengine";
inline constexpr char kHtmlEngineEntry[] = "QvHtmlEngine";

// The control's side: every navigation, request and user act the page makes is decided here.
class HtmlViewClient {
public:
    virtual ~HtmlViewClient() = default;
    // A navigation of the page itself (`mainFrame`) or of a frame inside it: true to let it go ahead.
    virtual bool AllowNavigation(const QUrl& url, bool mainFrame) = 0;
    // A file the page asks for, as a page, a resource or a script's read.
    virtual bool AllowRequest(const std::string& file, ContentUse use) const = 0;
    // A link or form post the page's script reports, from the user's act or the page's own.
    virtual void LinkFollowed(const std::string& url, LinkSource source, const std::string& post) = 0;
    // Whether the page's focus is in a form field.
    virtual void FormFieldFocused(bool inField) = 0;
    virtual void DocumentComplete(bool ok) = 0;
};

// One page on the engine: a widget the control lays out and whose children take keys and clicks.
class HtmlView {
public:
    virtual ~HtmlView() = default;
    virtual QWidget* Widget() = 0;
    virtual void Navigate(const QUrl& url) = 0;
    virtual QUrl Url() const = 0;
    virtual void Reload() = 0;
    virtual void Back() = 0;
    // Runs a script in the page; `done`, when given, gets its result.
    virtual void RunScript(const QString& script, std::function<void(const QVariant&)> done) = 0;
    virtual void SetZoom(double factor) = 0;
    virtual double Zoom() const = 0;
    // Selects the next hit of `text` and tells `done` the hits and the one selected (from 1); an empty
    // text ends the search.
    virtual void Find(const QString& text, bool backward, bool matchCase, std::function<void(int matches, int active)> done) = 0;
};

class HtmlEngine {
public:
    virtual ~HtmlEngine() = default;
    // Before the first page: the "qv" scheme and, for a root user, the sandbox switched off.
    virtual void Prepare() = 0;
    // A page as a child of `parent`, which owns it.
    virtual HtmlView* CreateView(HtmlViewClient& client, QWidget* parent) = 0;
};

// The plug-in's one exported function.
using HtmlEngineEntry = HtmlEngine* (*)();

} // namespace qv
