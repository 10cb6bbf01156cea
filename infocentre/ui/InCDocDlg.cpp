// The InfoCentre document window and its placing on the screen.
#include "infocentre/ui/InCDocDlg.h"

#include "infocentre/InCDocLayout.h"
#include "infocentre/ui/InCDeferDlg.h"
#include "infocentre/ui/InCFindDlg.h"
#include "infocentre/ui/InCSettingsDlg.h"
#include "platform/MessageBox.h"
#include "shell/ui/DialogHelp.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <fstream>

namespace qv {

namespace {

constexpr uint32_t kDocHelpTopic = 92665;
constexpr uint8_t kStateClosed = 0x10;
constexpr int kMargin = 6;
constexpr int kButtonGap = 6;

QPointer<CInCDocDlg>& LastActiveWindow()
{
    static QPointer<CInCDocDlg> window;
    return window;
}

ScreenMetrics MetricsOf(const QScreen* screen)
{
    ScreenMetrics s;
    if (!screen)
        return s;
    const QRect area = screen->geometry();
    s.widthPixels = area.width();
    s.heightPixels = area.height();
    const QSizeF mm = screen->physicalSize();
    // A display that states no size is taken at 96 pixels an inch.
    s.widthMm = int(mm.width() > 0 ? mm.width() : area.width() * 25.4 / 96);
    s.heightMm = int(mm.height() > 0 ? mm.height() : area.height() * 25.4 / 96);
    return s;
}

} // namespace

CInCDocDlg::CInCDocDlg(CInCStore& store, uint16_t number, const InCDocSummary& summary, bool autoView)
    : QDialog(nullptr), store_(store), number_(number), autoView_(autoView), summary_(summary)
{
    setObjectName("InfoCentre Document");
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ctrl_ = new CHtmlCtrl(*this, store.Folder(), this);
    ctrl_->setObjectName(QString::number(kHtmlCtrlId));
    help_ = new QPushButton("Help", this);
    settings_ = new QPushButton("Settings...", this);
    next_ = new QPushButton("Next", this);
    later_ = new QPushButton("Later...", this);
    finished_ = new QPushButton("Finished", this);
    const int ids[] = {3975, 3976, 3979, 3978, 3977};
    int i = 0;
    for (QPushButton* button : {help_, settings_, next_, later_, finished_}) {
        button->setAutoDefault(false);
        button->setObjectName(QString::number(ids[i++]));
    }
    later_->setVisible(autoView_);
    InstallDialogHelp(*this, kDocHelpTopic, help_);
    connect(settings_, &QPushButton::clicked, this, &CInCDocDlg::OnSettings);
    connect(next_, &QPushButton::clicked, this, &CInCDocDlg::OnNext);
    connect(later_, &QPushButton::clicked, this, &CInCDocDlg::OpenLater);
    connect(finished_, &QPushButton::clicked, this, &QDialog::close);
}

CInCDocDlg::~CInCDocDlg() = default;

CInCDocDlg* CInCDocDlg::LastActive()
{
    return LastActiveWindow().data();
}

QUrl CInCDocDlg::BuildDocUrl(const std::string& fileName) const
{
    return QUrl::fromLocalFile(QString::fromStdString((store_.Folder() / fileName).string()));
}

bool CInCDocDlg::CheckPage(std::string& error) const
{
    if (summary_.firstFile.empty()) {
        error = "InfoCentre cannot display this document";
        return false;
    }
    if (std::ifstream(store_.Folder() / summary_.firstFile))
        return true;
    error = "There is a problem with your InfoCentre configuration.  Please perform\nan Update to fix this problem.  "
            "If you have completed an Update and\nthe problem recurs, please contact Quorvantis support, quoting "
            "the\ncode \"File '" +
            summary_.firstFile + "' listed in index.dat does not exist\".";
    return false;
}

bool CInCDocDlg::Open()
{
    std::string error;
    if (!CheckPage(error)) {
        ShowMessage(error);
        return false;
    }
    setWindowTitle(QString::fromStdString(summary_.title));
    UpdateNext();
    ApplySize();
    ctrl_->SetDocument(number_, summary_.classFlags, true);
    ctrl_->Navigate(BuildDocUrl(summary_.firstFile));
    show();
    LastActiveWindow() = this;
    return true;
}

void CInCDocDlg::SetContentsItem(std::vector<InCDocumentItem> typeList, std::string subCategory, std::string category,
                                 std::function<void()> markDone)
{
    typeList_ = std::move(typeList);
    subCategory_ = std::move(subCategory);
    category_ = std::move(category);
    markDone_ = std::move(markDone);
    UpdateNext();
    LayOutButtons();
}

void CInCDocDlg::UpdateNext()
{
    next_->setText(QString::fromStdString(NextButtonLabel(autoView_, subCategory_, category_)));
    next_->setVisible(autoView_ ? store_.HasNext() : TypeHasNext(typeList_));
}

void CInCDocDlg::ApplySize()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const ScreenMetrics metrics = MetricsOf(screen);
    const PixelSize page = DocumentPageSize(summary_.sizeMode, summary_.sizeValue, summary_.orientation, metrics);
    const int buttonHeight = finished_->sizeHint().height();
    const int buttonWidth = finished_->sizeHint().width();
    const int rowWidth = 5 * buttonWidth + 6 * kButtonGap + std::max(0, next_->sizeHint().width() - buttonWidth);
    setMinimumSize(rowWidth, buttonHeight + 3 * kMargin);
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // The frame the window manager adds, once the window has one; a plain guess before.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(8, 30);
    int width = std::max(page.width, rowWidth);
    int height = page.height + buttonHeight + 2 * kMargin;
    width = std::min(width, area.width() - frame.width());
    height = std::min(height, area.height() - frame.height());
    resize(width, height);
    const std::optional<int> x = PlaceAlong(summary_.horizontal, width + frame.width(), area.width(), true);
    const std::optional<int> y = PlaceAlong(summary_.vertical, height + frame.height(), area.height(), false);
    if (x || y)
        move(area.x() + x.value_or(pos().x() - area.x()), area.y() + y.value_or(pos().y() - area.y()));
}

void CInCDocDlg::LayOutButtons()
{
    QList<QPushButton*> shown;
    for (QPushButton* button : {help_, settings_, next_, later_, finished_})
        if (button->isVisibleTo(this))
            shown.append(button);
    const int buttonHeight = finished_->sizeHint().height();
    const int buttonWidth = finished_->sizeHint().width();
    const int y = height() - kMargin - buttonHeight;
    ctrl_->setGeometry(0, 0, width(), y - kMargin);
    auto widthOf = [&](QPushButton* button) {
        return button == next_ ? std::max(buttonWidth, next_->sizeHint().width()) : buttonWidth;
    };
    int total = 0;
    for (QPushButton* button : shown)
        total += widthOf(button);
    const int gap = shown.isEmpty() ? 0 : std::max(kButtonGap, (width() - total) / int(shown.size() + 1));
    int x = gap;
    for (QPushButton* button : shown) {
        button->setGeometry(x, y, widthOf(button), buttonHeight);
        x += widthOf(button) + gap;
    }
}

void CInCDocDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOutButtons();
}

void CInCDocDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        LastActiveWindow() = this;
    QDialog::changeEvent(event);
}

void CInCDocDlg::ReloadPage()
{
    ctrl_->Reload();
}

void CInCDocDlg::Finish(bool markClosed)
{
    if (finishing_)
        return;
    finishing_ = true;
    if (markClosed)
        store_.SetEntryState(number_, kStateClosed, CInCStore::Now());
    hide();
    if (LastActiveWindow() == this)
        LastActiveWindow() = nullptr;
    CInCStore* store = &store_;
    InCDocumentWindow* self = this;
    QTimer::singleShot(0, this, [store, self] { store->CloseWindow(self); });
}

void CInCDocDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Finish(true);
}

void CInCDocDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageDown && next_->isVisible()) {
        OnNext();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        if (autoView_ && !event->isAutoRepeat())
            OpenLater();
        else
            CloseWindow();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CInCDocDlg::CloseQuietly()
{
    Finish(false);
}

void CInCDocDlg::CloseWindow()
{
    Finish(true);
}

void CInCDocDlg::ShowDocument(uint16_t number, const InCDocSummary& summary)
{
    number_ = number;
    summary_ = summary;
    std::string error;
    if (!CheckPage(error)) {
        ShowMessage(error);
        Finish(false);
        return;
    }
    setWindowTitle(QString::fromStdString(summary_.title));
    // The new document starts at its first page: backpage never leads back into the one before.
    ctrl_->SetDocument(number_, summary_.classFlags, true);
    UpdateNext();
    ApplySize();
    LayOutButtons();
    ctrl_->Navigate(BuildDocUrl(summary_.firstFile));
}

void CInCDocDlg::ShowLinkedDocument(uint16_t number)
{
    // The page left behind was read, as when Next leaves it: AutoView does not bring it back.
    store_.SetEntryState(number_, kStateClosed, CInCStore::Now());
    InCDocSummary summary;
    uint16_t shown = number;
    if (store_.OpenNext(false, number_, shown, summary))
        ShowDocument(shown, summary);
}

void CInCDocDlg::OnNext()
{
    store_.SetEntryState(number_, kStateClosed, CInCStore::Now());
    uint16_t number = 0;
    if (!autoView_)
        number = NextOfType(typeList_, number_, [this](uint16_t n) { return store_.IsOpen(n); });
    if (autoView_ ? !store_.HasNext() : number == 0) {
        ShowMessage(autoView_ ? "There are no more InfoCentre documents to Autoview"
                              : "There are no more InfoCentre documents of this type to view");
        return;
    }
    InCDocSummary summary;
    if (store_.OpenNext(autoView_, number_, number, summary))
        ShowDocument(number, summary);
}

void CInCDocDlg::OpenLater()
{
    CInCDeferDlg defer(CInCStore::Now(), this);
    if (defer.exec() != QDialog::Accepted)
        return;
    const std::optional<int64_t> due = defer.DueTime();
    if (!due) {
        Finish(true);
        return;
    }
    store_.Defer(number_, *due);
    Finish(false);
}

void CInCDocDlg::OnSettings()
{
    CInCSettingsDlg settings(store_, this);
    if (settings.exec() != QDialog::Accepted)
        return;
    AfterInCSettings(store_, settings.StyleChanged());
}

void CInCDocDlg::SetDocumentState(uint8_t state)
{
    store_.SetEntryState(number_, state, CInCStore::Now());
}

void CInCDocDlg::MarkFormDone()
{
    for (InCDocumentItem& item : typeList_)
        if (item.number == number_)
            item.done = 1;
    if (markDone_)
        markDone_();
    markDone_ = nullptr;
}

void CInCDocDlg::OpenFind(const QString& seed)
{
    CInCFindDlg find([this](const QString& text, uint32_t flags) { ctrl_->FindText(text, flags); }, seed, this);
    find.exec();
}

} // namespace qv
