// The share-type chooser.
#include "shell/ui/SelectShareType.h"

#include "core/RecordLookup.h"
#include "platform/qt/QtText.h"
#include "shell/ColumnFormatter.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr size_t kMostLines = 8;

QString LineText(const RecordCursor& cursor)
{
    return FromCp1252(FormatShareField(cursor, ColumnField::ShortName) + " : " +
                      FormatShareField(cursor, ColumnField::ShareType));
}

} // namespace

CSelectShareType::CSelectShareType(const std::vector<RecordCursor>& lines, QWidget* parent)
    : QDialog(parent), lines_(lines.begin(), lines.begin() + std::min(lines.size(), kMostLines))
{
    setObjectName("523");
    QString name = lines_.empty() ? QString() : FromCp1252(GetRecordName(lines_.front().record));
    setWindowTitle("Choose share type for " + name);
    auto* label = new QLabel("Click on share type required", this);
    list_ = new QListWidget(this);
    list_->setObjectName("1351");
    for (size_t i = 0; i < lines_.size(); ++i) {
        auto* item = new QListWidgetItem(LineText(lines_[i]), list_);
        item->setData(Qt::UserRole, int(i));
    }
    if (!lines_.empty())
        list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectShareType::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CSelectShareType::accept);
    InstallDialogHelp(*this, 0);
}

int CSelectShareType::run() { return RunModalDialog(*this); }

void CSelectShareType::accept()
{
    int row = list_->currentRow();
    if (row < 0 || size_t(row) >= lines_.size())
        return;
    chosen_ = lines_[size_t(row)];
    QDialog::accept();
}

} // namespace qv
