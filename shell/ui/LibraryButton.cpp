// The table-library button and its menu rows.
#include "shell/ui/LibraryButton.h"

#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QUrl>
#include <QWidgetAction>

namespace qv {
namespace {

int MenuHeight() { return QFontMetrics(QApplication::font()).height() + 6; }
constexpr int kEdge = 2;

// A file row: the title in bold over the file name in the left third, the description in the right two.
class LibraryRow : public QWidget {
public:
    LibraryRow(const LibraryEntry& entry, QWidget* parent) : QWidget(parent), entry_(entry)
    {
        setMouseTracking(true);
        setFixedSize(15 * MenuHeight(), 2 * (MenuHeight() + 2 * kEdge));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        bool selected = underMouse();
        const QPalette& palette = this->palette();
        painter.fillRect(rect(), selected ? palette.highlight() : palette.base());
        QColor text = selected ? palette.highlightedText().color() : palette.windowText().color();
        painter.setPen(text);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        QRect left(0, 0, width() / 3, height());
        QRect right(width() / 3, 0, width() - width() / 3, height());
        left.adjust(2 * kEdge, 2 * kEdge, -2 * kEdge, -2 * kEdge);
        right.adjust(2 * kEdge, 2 * kEdge, -2 * kEdge, -2 * kEdge);
        QFont bold = font();
        bold.setWeight(QFont::Bold);
        painter.setFont(bold);
        QString title = QFontMetrics(bold).elidedText(FromCp1252(entry_.title), Qt::ElideRight, left.width());
        painter.drawText(QRect(left.left(), left.top(), left.width(), MenuHeight()), Qt::AlignLeft | Qt::AlignVCenter, title);
        painter.setFont(font());
        painter.setPen(selected ? palette.highlightedText().color() : palette.highlight().color());
        QString name = fontMetrics().elidedText(FromCp1252(entry_.text), Qt::ElideMiddle, left.width());
        painter.drawText(QRect(left.left(), left.top() + MenuHeight(), left.width(), MenuHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        painter.setPen(text);
        painter.drawText(right, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, FromCp1252(entry_.description));
    }
    void enterEvent(QEnterEvent*) override { update(); }
    void leaveEvent(QEvent*) override { update(); }

private:
    LibraryEntry entry_;
};

QIcon FixedIcon(int icon)
{
    QStyle* style = QApplication::style();
    return style->standardIcon(icon == kOpenFolderIcon ? QStyle::SP_DirOpenIcon : QStyle::SP_FileDialogNewFolder);
}

void OpenInDesktop(const std::filesystem::path& folder)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string())));
}

} // namespace

CLibraryButton::CLibraryButton(const QString& text, QWidget* parent) : QPushButton(text, parent), opener_(OpenInDesktop)
{
    connect(this, &QPushButton::clicked, this, &CLibraryButton::showMenu);
}

void CLibraryButton::setFolder(const std::filesystem::path& folder, const std::string& extension)
{
    folder_ = folder;
    extension_ = extension;
}

QMenu* CLibraryButton::buildMenu()
{
    entries_ = BuildLibraryEntries(folder_, extension_);
    auto* menu = new QMenu(this);
    uint32_t command = kCommandFirstLibraryFile;
    bool anyFile = false;
    for (const LibraryEntry& entry : entries_) {
        if (!entry.file)
            continue;
        anyFile = true;
        auto* action = new QWidgetAction(menu);
        action->setDefaultWidget(new LibraryRow(entry, menu));
        action->setData(command++);
        action->setText(FromCp1252(entry.title));
        menu->addAction(action);
    }
    if (anyFile)
        menu->addSeparator();
    for (uint32_t fixed : {kCommandOpenLibraryFolder, kCommandAddToLibrary}) {
        const LibraryEntry& entry = entries_[fixed == kCommandOpenLibraryFolder ? 0 : 1];
        QAction* action = menu->addAction(FixedIcon(entry.icon), FromCp1252(entry.text));
        action->setData(fixed);
    }
    connect(menu, &QMenu::triggered, this, [this](QAction* action) { onCommand(action->data().toUInt()); });
    return menu;
}

void CLibraryButton::showMenu()
{
    menuOpen_ = true;
    update();
    QMenu* menu = buildMenu();
    menu->exec(mapToGlobal(rect().bottomLeft()));
    menu->deleteLater();
    menuOpen_ = false;
    update();
}

void CLibraryButton::onCommand(uint32_t command)
{
    if (command == kCommandOpenLibraryFolder) {
        openFolder();
        return;
    }
    emit commandToParent(command);
}

void CLibraryButton::openFolder()
{
    std::error_code error;
    if (!std::filesystem::is_directory(folder_, error)) {
        if (ShowMessage(kNoLibraryFolderQuestion, {}, MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
            return;
        std::filesystem::create_directories(folder_, error);
    }
    if (opener_)
        opener_(folder_);
}

void CLibraryButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (menuOpen_)
        option.state |= QStyle::State_Sunken;
    option.text.clear();
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    int arrowArea = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    QRect arrow(width() - arrowArea, 0, arrowArea, height());
    int side = std::max(arrowArea / 4, 3);
    QPoint centre = arrow.center();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().buttonText());
    painter.drawPolygon(QPolygon({QPoint(centre.x() - side, centre.y() - side / 2), QPoint(centre.x() + side, centre.y() - side / 2),
                                  QPoint(centre.x(), centre.y() + side / 2 + 1)}));
    QIcon icon = style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    icon.paint(&painter, QRect(4, (height() - 16) / 2, 16, 16));
    painter.setPen(palette().buttonText().color());
    painter.drawText(rect().adjusted(20, 0, -arrowArea, 0), Qt::AlignCenter, text());
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().buttonText().color(), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

} // namespace qv
