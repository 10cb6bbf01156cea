// The InfoCentre contents dialog.
#include "infocentre/ui/InCMainDlg.h"

#include "infocentre/InCStore.h"
#include "infocentre/ui/InCDocDlg.h"
#include "infocentre/ui/InCSettingsDlg.h"
#include "platform/MessageBox.h"
#include "shell/ui/DialogHelp.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kLastDocumentId = 6035;
constexpr int kLastCategoryId = 8084;
constexpr int kMoreId = 1097;
constexpr uint32_t kContentsHelpTopic = 92667;
constexpr uint32_t kDocumentButtonTopic = 92668;
constexpr uint32_t kCategoryButtonTopic = 92669;
constexpr const char* kTopicProperty = "qvHelpTopic";

QRect ScreenArea(const QWidget* widget)
{
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

CInCMainDlg::CInCMainDlg(CInCStore& store, const std::string& caption, std::optional<CInCCategory> category,
                         QWidget* parent)
    : QDialog(parent), store_(store)
{
    setObjectName("InfoCentre Contents");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(QString::fromStdString(caption.empty() ? std::string("InfoCentre") : "InfoCentre: " + caption));
    if (category) {
        own_.emplace(category->name, std::move(*category));
        tree_ = &own_;
    } else {
        // The tree is read afresh, so that it shows what other windows have marked done.
        topLevel_ = true;
        store_.FreeCategories();
        tree_ = &store_.GetCategories();
    }
    Build();
}

CInCMainDlg::~CInCMainDlg()
{
    if (topLevel_)
        store_.FreeCategories();
}

QString CInCMainDlg::DocumentLabel(const InCDocumentItem& item)
{
    return QString::fromStdString(item.title + (item.done ? " (Done)" : ""));
}

QPushButton* CInCMainDlg::DocumentButton(uint16_t number) const
{
    auto it = documents_.find(number);
    return it == documents_.end() ? nullptr : it->second.button;
}

QGroupBox* CInCMainDlg::AddBox(const std::string& title)
{
    auto* box = new QGroupBox(QString::fromStdString(title));
    new QVBoxLayout(box);
    boxButtons_.emplace_back();
    return box;
}

void CInCMainDlg::AddDocument(QGroupBox* box, InCDocumentItem& item, int& doneCount,
                              std::vector<InCDocumentItem>& typeList, const std::string& subCategory,
                              const std::string& category)
{
    if (nextDocumentId_ > kLastDocumentId)
        return;
    auto* button = new QPushButton(DocumentLabel(item), box);
    button->setObjectName(QString::number(nextDocumentId_++));
    button->setProperty(kTopicProperty, kDocumentButtonTopic);
    button->setAutoDefault(false);
    box->layout()->addWidget(button);
    boxButtons_.back().push_back(button);
    documents_[item.number] = DocumentEntry{&item, &doneCount, &typeList, subCategory, category, button};
    const uint16_t number = item.number;
    connect(button, &QPushButton::clicked, this, [this, number] { OpenItem(number); });
}

void CInCMainDlg::AddNested(QGroupBox* box, const QString& label, CInCCategory category)
{
    if (nextCategoryId_ > kLastCategoryId)
        return;
    auto* button = new QPushButton(label, box);
    button->setObjectName(QString::number(nextCategoryId_++));
    button->setProperty(kTopicProperty, kCategoryButtonTopic);
    button->setAutoDefault(false);
    box->layout()->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, category] {
        CInCMainDlg nested(store_, "Contents", category, this);
        nested.setWindowModality(Qt::WindowModal);
        nested.exec();
    });
}

void CInCMainDlg::Build()
{
    const QRect area = ScreenArea(this);
    const int buttonHeight = QPushButton("X").sizeHint().height() + 6;
    // As many documents a box as fit in three fifths of the screen's height.
    perBox_ = std::max(3, area.height() * 3 / 5 / buttonHeight);

    std::vector<QGroupBox*> boxes;
    for (auto& [name, category] : *tree_) {
        QGroupBox* box = AddBox(name);
        for (InCDocumentItem& item : category.documents)
            AddDocument(box, item, category.doneCount, category.documents, "", name);
        for (auto& [subName, sub] : category.subCategories) {
            if (sub.documents.size() >= 2) {
                CInCCategory nested(subName);
                nested.documents = sub.documents;
                AddNested(box, ". . .", nested);
                continue;
            }
            for (InCDocumentItem& item : sub.documents)
                AddDocument(box, item, sub.doneCount, sub.documents, subName, name);
        }
        boxes.push_back(box);
    }

    // Boxes go down a column while it fits the screen's height, then start the next column.
    auto* outer = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    outer->addLayout(row);
    int columnHeight = 0, totalWidth = 0, columnWidth = 0;
    QVBoxLayout* column = nullptr;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const int shown = std::min<int>(int(boxButtons_[i].size()), perBox_) + (boxButtons_[i].empty() ? 1 : 0);
        const int height = (shown + 1) * buttonHeight;
        if (!column || columnHeight + height > area.height() * 4 / 5) {
            totalWidth += columnWidth;
            column = new QVBoxLayout;
            row->addLayout(column);
            columnHeight = 0;
            columnWidth = 0;
        }
        column->addWidget(boxes[i]);
        columnHeight += height;
        columnWidth = std::max(columnWidth, boxes[i]->sizeHint().width());
    }
    totalWidth += columnWidth;
    for (QVBoxLayout* c : findChildren<QVBoxLayout*>())
        if (c->parent() == row)
            c->addStretch();

    if (topLevel_ && totalWidth > area.width() * 9 / 10) {
        // Too many categories for one screen: one button per category instead.
        for (QGroupBox* box : boxes)
            delete box;
        boxButtons_.clear();
        documents_.clear();
        nextDocumentId_ = 3987;
        delete row;
        BuildDocumentTypes();
    }

    auto* buttons = new QHBoxLayout;
    outer->addLayout(buttons);
    more_ = new QPushButton("More...", this);
    more_->setObjectName(QString::number(kMoreId));
    more_->setAutoDefault(false);
    auto* settings = new QPushButton("Settings...", this);
    settings->setObjectName("3976");
    settings->setAutoDefault(false);
    auto* help = new QPushButton("Help", this);
    help->setObjectName("3982");
    help->setAutoDefault(false);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("2");
    buttons->addWidget(more_);
    buttons->addStretch();
    buttons->addWidget(settings);
    buttons->addWidget(help);
    buttons->addWidget(close);
    connect(more_, &QPushButton::clicked, this, [this] { ShowPage(page_ + 1); });
    connect(settings, &QPushButton::clicked, this, &CInCMainDlg::OnSettings);
    connect(help, &QPushButton::clicked, this, [] { ShowDialogHelp(kContentsHelpTopic); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    ShowPage(0);
}

void CInCMainDlg::BuildDocumentTypes()
{
    documentTypes_ = true;
    QGroupBox* box = AddBox("Document Types");
    layout()->addWidget(box);
    for (const auto& [name, category] : *tree_)
        AddNested(box, QString::fromStdString(" " + name + " "), category);
}

void CInCMainDlg::ShowPage(int page)
{
    size_t pages = 1;
    for (const auto& buttons : boxButtons_)
        pages = std::max(pages, (buttons.size() + size_t(perBox_) - 1) / size_t(perBox_));
    page_ = int(size_t(page) % pages);
    more_->setVisible(pages > 1);
    // Each box shows the documents of this page in the places of the first ones.
    for (const auto& buttons : boxButtons_) {
        const size_t own = std::max<size_t>(1, (buttons.size() + size_t(perBox_) - 1) / size_t(perBox_));
        const size_t first = (size_t(page_) % own) * size_t(perBox_);
        for (size_t i = 0; i < buttons.size(); ++i)
            buttons[i]->setVisible(i >= first && i < first + size_t(perBox_));
    }
}

void CInCMainDlg::OpenItem(uint16_t number)
{
    const DocumentEntry& entry = documents_.at(number);
    if (entry.item->done) {
        ShowMessage("You have already filled in this form and may only do so once");
        return;
    }
    if (!store_.OpenDocument(number, false))
        return;
    auto* window = dynamic_cast<CInCDocDlg*>(store_.Window(number));
    if (!window)
        return;
    // The window may outlive this dialog: it marks the item only while the dialog is there.
    QPointer<CInCMainDlg> self(this);
    window->SetContentsItem(*entry.typeList, entry.subCategory, entry.category, [self, number] {
        if (self)
            self->MarkDone(number);
    });
}

void CInCMainDlg::MarkDone(uint16_t number)
{
    DocumentEntry& entry = documents_.at(number);
    if (entry.item->done)
        return;
    entry.item->done = 1;
    ++*entry.doneCount;
    entry.button->setText(DocumentLabel(*entry.item));
}

void CInCMainDlg::OnSettings()
{
    CInCSettingsDlg settings(store_, this);
    if (settings.exec() == QDialog::Accepted)
        AfterInCSettings(store_, settings.StyleChanged());
}

void CInCMainDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_F1) {
        QDialog::keyPressEvent(event);
        return;
    }
    const QWidget* focus = focusWidget();
    const QVariant topic = focus ? focus->property(kTopicProperty) : QVariant();
    if (topic.isValid())
        ShowPopupHelp(topic.toUInt());
    else if (focus)
        ShowControlHelp(focus);
}

} // namespace qv
