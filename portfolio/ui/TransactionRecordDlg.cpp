// The transaction record dialog.
#include "portfolio/ui/TransactionRecordDlg.h"

#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "core/TransactionTypes.h"
#include "lists/CellContext.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ScreenFit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qv {
namespace {

namespace C = TransactionControl;

constexpr uint32_t kRecordHelp = 0x20000 + 221;
constexpr uint32_t kGainsHelp = 0x20000 + 26417;
constexpr uint16_t kPortfolioOptionsPage = 0x0004; // "Portfolios && Transactions"
constexpr const char* kRebasingNote =
    "If you held shares before 1965 you could elect for them all to be rebase for CGT.\n\nThe same applies to "
    "1982.\n\nIf no election was made the smallest CGT gain or loss should be selected.\n\nFor details please refer "
    "to an accountant.";

template <typename W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QString Number(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

double Value(const QLineEdit* edit) { return edit ? edit->text().toDouble() : 0; }

bool HidesAllCharges(int type) { return type == 8 || type == 10 || TranIsOrder(type) || TranIsSplit(type); }
bool HidesStampAndLevy(int type) { return type == 9 || type == 3; }

} // namespace

bool TypeDefaultsToPounds(int type) { return type == 6 || type == 7; }

CTransactionRecord::CTransactionRecord(const TransactionDialogSetup& setup, QWidget* parent)
    : QDialog(parent), setup_(setup)
{
    setObjectName(QStringLiteral("221"));
    setWindowTitle(setup.editing ? QStringLiteral("Edit a transaction") : QStringLiteral("Record a transaction"));
    figures_.type = setup.type;
    figures_.previousHolding = setup.previousHolding;
    figures_.newNumber = setup.previousHolding;

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* field, int labelId = 0) {
        auto* l = new QLabel(label, this);
        if (labelId)
            labels_.push_back({labelId, l});
        grid->addWidget(l, row, 0);
        grid->addWidget(field, row++, 1);
    };
    addRow(QStringLiteral("Portfolio"), new QLabel(FromCp1252(setup.portfolioName), this));
    addRow(QStringLiteral("Share"), new QLabel(FromCp1252(setup.shareName), this));
    line_ = Named(new QComboBox(this), C::Line);
    for (const auto& l : setup.lines)
        line_->addItem(FromCp1252(l.text), int(l.shareType));
    line_->setCurrentIndex(std::clamp(setup.line, 0, std::max(line_->count() - 1, 0)));
    addRow(QStringLiteral("Share type"), line_);
    type_ = Named(new QComboBox(this), C::Type);
    for (int item = 0; item < kTransactionTypeItems; ++item)
        type_->addItem(QString::fromLatin1(TransactionTypeName(TransactionTypeOfItem(item))));
    type_->setCurrentIndex(TransactionItemOfType(setup.type));
    addRow(QStringLiteral("Transaction"), type_);
    date_ = new CDateEdit(this);
    date_->Create(C::Date, this, QRect(0, 0, 220, 24), nullptr, setup.date);
    date_->setMinimumWidth(220);
    addRow(QStringLiteral("Date"), date_);

    const struct {
        int id;
        const char* label;
    } kNumbers[] = {{C::Previous, "Previous holding"}, {C::Shares, "Num. of shares"}, {C::Price, "Price per share"},
                    {C::Broker, "Broker charges"},    {C::Stamp, "Stamp"},           {C::Levy, "Contract Levy"},
                    {C::Total, "Total value"},         {C::RateOrNew, "Tax rate %"},   {C::CreditOrRatio, "Tax credit"}};
    for (const auto& n : kNumbers) {
        QLineEdit* edit = AddNumber(n.id);
        if (n.id == C::Price) {
            auto* box = new QWidget(this);
            auto* h = new QHBoxLayout(box);
            h->setContentsMargins(0, 0, 0, 0);
            pence_ = Named(new QRadioButton(QStringLiteral("Pence"), box), C::Pence);
            pounds_ = Named(new QRadioButton(QStringLiteral("Pounds"), box), C::Pounds);
            auto* units = new QButtonGroup(box);
            units->addButton(pence_);
            units->addButton(pounds_);
            h->addWidget(edit);
            h->addWidget(pence_);
            h->addWidget(pounds_);
            addRow(QString::fromLatin1(n.label), box, n.id);
            connect(pence_, &QRadioButton::toggled, this, [this] { ShowFigures(); });
            continue;
        }
        addRow(QString::fromLatin1(n.label), edit, n.id);
    }
    numbers_.front().second->setReadOnly(true);
    hiddenCharges_ = new QLabel(this);
    grid->addWidget(hiddenCharges_, row++, 1);
    splitText_ = new QLabel(this);
    splitText_->setWordWrap(true);
    grid->addWidget(splitText_, row++, 0, 1, 2);

    cash_ = Named(new QComboBox(this), C::Cash);
    cash_->addItem(QStringLiteral("<< none >>"), 0);
    for (const auto& a : setup.accounts)
        cash_->addItem(FromCp1252(a.name), int(a.number));
    cash_->setCurrentIndex(std::max(cash_->findData(int(setup.cashAccount)), 0));
    addRow(QStringLiteral("Cash Account"), cash_, C::Cash);
    reference_ = Named(new QLineEdit(this), C::Reference);
    reference_->setMaxLength(19);
    addRow(QStringLiteral("Reference"), reference_);
    note_ = Named(new QLineEdit(this), C::Note);
    note_->setMaxLength(200);
    addRow(QStringLiteral("Note 1"), note_);

    gains_ = new QGroupBox(this);
    auto* g = new QGridLayout(gains_);
    ignore_ = Named(new QCheckBox(QStringLiteral("Ignore in CGT calculations"), gains_), C::Ignore);
    ignorePounds_ = Named(new QCheckBox(QStringLiteral("Ignore \xA3"), gains_), C::IgnorePounds);
    ignoredAmount_ = Named(new QLineEdit(gains_), C::IgnoredAmount);
    auto* validator = new QDoubleValidator(0, 1e12, 4, ignoredAmount_);
    validator->setNotation(QDoubleValidator::StandardNotation);
    ignoredAmount_->setValidator(validator);
    smallReceipt_ =
        Named(new QCheckBox(QStringLiteral("Treat as a 'small receipt' in CGT calculation"), gains_), C::SmallReceipt);
    historic_ = Named(new QRadioButton(QStringLiteral("Historic cost"), gains_), C::Historic);
    base1965_ = Named(new QRadioButton(QStringLiteral("Value per share on 6th April 1965"), gains_), C::Base1965);
    base1982_ = Named(new QRadioButton(QStringLiteral("Value per share on 31st March 1982"), gains_), C::Base1982);
    value1965_ = Named(new QLineEdit(gains_), C::Value1965);
    value1982_ = Named(new QLineEdit(gains_), C::Value1982);
    historic_->setChecked(true);
    for (QLineEdit* amount : {ignoredAmount_, value1965_, value1982_})
        amount->setMinimumWidth(amount->fontMetrics().horizontalAdvance(QStringLiteral("000000000.00")));
    g->addWidget(ignore_, 0, 0, 1, 2);
    g->addWidget(ignorePounds_, 1, 0);
    g->addWidget(ignoredAmount_, 1, 1);
    g->addWidget(smallReceipt_, 2, 0, 1, 2);
    g->addWidget(historic_, 3, 0);
    g->addWidget(base1965_, 4, 0);
    g->addWidget(value1965_, 4, 1);
    g->addWidget(base1982_, 5, 0);
    g->addWidget(value1982_, 5, 1);
    auto* note = new QLabel(QString::fromLatin1(kRebasingNote), gains_);
    note->setWordWrap(true);
    g->addWidget(note, 6, 0, 1, 2);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(ignore_), static_cast<QAbstractButton*>(ignorePounds_),
                               static_cast<QAbstractButton*>(historic_), static_cast<QAbstractButton*>(base1965_),
                               static_cast<QAbstractButton*>(base1982_)})
        connect(b, &QAbstractButton::toggled, this, [this] { UpdateGainsChoices(); });

    auto* side = new QHBoxLayout;
    auto* options = Named(new QPushButton(QStringLiteral("Options"), this), C::Options);
    options->setEnabled(bool(FrameDialogs().optionsSheet));
    connect(options, &QPushButton::clicked, this, [this] { OpenOptions(); });
    gainsButton_ = Named(new QPushButton(this), C::ShowGains);
    connect(gainsButton_, &QPushButton::clicked, this, [this] { ToggleGains(); });
    auto* gainsHelp = Named(new QPushButton(QStringLiteral("Help on CGT"), this), C::GainsHelp);
    connect(gainsHelp, &QPushButton::clicked, this, [] { ShowDialogHelp(kGainsHelp); });
    for (QPushButton* b : {options, gainsButton_, gainsHelp}) {
        b->setAutoDefault(false);
        side->addWidget(b);
    }

    // The capital gains part stands beside the fields: below them it made the dialog taller than a
    // 1000-pixel screen, which then squeezed the fields over one another.
    auto* body = new QHBoxLayout;
    body->addLayout(grid);
    body->addWidget(gains_, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(side);
    layout->addWidget(OkCancelHelpButtons(*this, kRecordHelp));
    InstallControlHelp(*this);

    connect(type_, &QComboBox::currentIndexChanged, this, [this] { TypeChanged(); });
    connect(date_->edit(), &QLineEdit::textChanged, this, [this] { DateChanged(); });

    const TransactionDialogOptions& defaults = TransactionDialogDefaults();
    if (setup.record) {
        FillFromRecord(*setup.record);
    } else {
        const bool switched = setup.type == 3 ? defaults.dividendOtherUnit : defaults.otherUnit;
        const bool inPounds = TypeDefaultsToPounds(setup.type) != switched;
        (inPounds ? pounds_ : pence_)->setChecked(true);
        if (setup.type == 3) {
            figures_.shares = setup.previousHolding;
            figures_.taxRate = 10;
        } else if (TranIsDebit(setup.type)) {
            figures_.price = setup.latestPrice;
        }
        figures_.Recompute();
    }
    typeShown_ = figures_.type;
    ApplyLayout();
    DateChanged();
}

QLineEdit* CTransactionRecord::AddNumber(int id)
{
    auto* edit = Named(new QLineEdit(this), id);
    auto* validator = new QDoubleValidator(-1e12, 1e12, 6, edit);
    validator->setNotation(QDoubleValidator::StandardNotation);
    edit->setValidator(validator);
    connect(edit, &QLineEdit::textEdited, this, [this, id] { NumberEdited(id); });
    numbers_.push_back({id, edit});
    return edit;
}

void CTransactionRecord::FillFromRecord(const TransactionFields& r)
{
    figures_.type = r.type;
    figures_.shares = r.shares;
    figures_.price = TranIsSplit(r.type) ? 0 : r.price;
    figures_.broker = r.brokerCharge;
    figures_.stamp = r.stampDuty;
    figures_.levy = r.contractLevy;
    figures_.taxRate = r.taxCreditRate;
    figures_.ratio = TranIsSplit(r.type) ? r.splitRatio : 1;
    figures_.newNumber = figures_.previousHolding * figures_.ratio;
    figures_.sharesTyped = true;
    figures_.Recompute();
    if (r.type != 3 && !TranIsSplit(r.type))
        figures_.total = r.amount;
    const bool inPounds = TypeDefaultsToPounds(r.type) != bool(r.flags & TransactionFlag::OtherUnit);
    (inPounds ? pounds_ : pence_)->setChecked(true);
    note_->setText(FromCp1252(r.texts[1]));
    const auto* ref = reinterpret_cast<const char*>(r.reference.data());
    reference_->setText(FromCp1252(std::string(ref, strnlen(ref, r.reference.size()))));
    ignore_->setChecked(r.flags & TransactionFlag::IgnoreInGains);
    ignorePounds_->setChecked(r.flags & TransactionFlag::IgnorePounds);
    smallReceipt_->setChecked(r.flags & TransactionFlag::SmallReceipt);
    ignoredAmount_->setText(Number(r.ignoredAmount));
    value1965_->setText(Number(r.value1965));
    value1982_->setText(Number(r.value1982));
    (r.gainsBase == 1 ? base1965_ : r.gainsBase == 2 ? base1982_ : historic_)->setChecked(true);
    cash_->setCurrentIndex(std::max(cash_->findData(int(r.cashAccount)), 0));
}

bool CTransactionRecord::PriceInPence() const { return pence_ && pence_->isChecked(); }

void CTransactionRecord::TypeChanged()
{
    const int type = TransactionTypeOfItem(type_->currentIndex());
    if (type < 0 || type == typeShown_)
        return;
    typeShown_ = type;
    const double previous = figures_.previousHolding;
    figures_ = {};
    figures_.type = type;
    figures_.previousHolding = previous;
    figures_.newNumber = previous;
    const TransactionDialogOptions& defaults = TransactionDialogDefaults();
    const bool switched = type == 3 ? defaults.dividendOtherUnit : defaults.otherUnit;
    (TypeDefaultsToPounds(type) != switched ? pounds_ : pence_)->setChecked(true);
    ApplyLayout();
    UpdateGainsChoices();
}

void CTransactionRecord::ApplyLayout()
{
    const int type = figures_.type;
    const ExpensesOption expenses = TransactionDialogDefaults().expenses;
    const bool order = TranIsOrder(type), split = TranIsSplit(type), dividend = type == 3;
    auto show = [this](int id, bool on, const char* label = nullptr) {
        for (auto& [n, edit] : numbers_)
            if (n == id)
                edit->setVisible(on);
        for (auto& [n, l] : labels_)
            if (n == id) {
                l->setVisible(on);
                if (label)
                    l->setText(QString::fromLatin1(label));
            }
        if (id == C::Price) {
            pence_->setVisible(on);
            pounds_->setVisible(on);
        }
    };
    const bool cost = TranIsCostType(type);
    const char* priceLabel = cost ? "Cost per share" : "Price per share";
    std::string totalLabel = StringPrintf("Total %s", cost ? "cost" : "value");
    if (order) {
        const bool quote = type == 16 || type == 19;
        priceLabel = quote ? "Quote per share" : "Limit per share";
        totalLabel = quote ? "Estimated value" : "Target value";
    } else if (dividend) {
        priceLabel = "Net per share";
        totalLabel = "Total received";
    }
    const bool noCharges = HidesAllCharges(type) || expenses == kHideExpenses;
    const bool oneCharge = expenses == kShowExpenses;
    show(C::Previous, true, split ? "Prev. Number" : "Previous holding");
    show(C::Shares, !split, "Num. of shares");
    show(C::Price, !split && expenses != kHideExpenses, priceLabel);
    show(C::Total, !split, totalLabel.c_str());
    show(C::Broker, !noCharges, oneCharge ? "Charges" : "Broker charges");
    show(C::Stamp, !noCharges && !oneCharge && !HidesStampAndLevy(type));
    show(C::Levy, !noCharges && !oneCharge && !HidesStampAndLevy(type));
    show(C::RateOrNew, dividend || split, split ? "New Number" : "Tax rate %");
    show(C::CreditOrRatio, dividend || split, split ? "Ratio" : "Tax credit");
    for (auto& [n, l] : labels_)
        if (n == C::Cash)
            l->setVisible(!order && !split);
    cash_->setVisible(!order && !split);
    splitText_->setVisible(split);
    hiddenCharges_->setVisible(expenses == kHideExpenses && !HidesAllCharges(type));
    gains_->setVisible(TransactionDialogDefaults().showGains && !split);
    gainsButton_->setText(TransactionDialogDefaults().showGains ? QStringLiteral("Hide CGT") : QStringLiteral("Show CGT"));
    ShowFigures();
    UpdateGainsChoices();
    // The layout takes the shown and hidden parts in now, so that the dialog also shrinks to them.
    layout()->activate();
    adjustSize();
    // A layout that grows the shown dialog (the capital gains part) keeps its bottom on the screen;
    // wrapped texts settle their height a moment later, so the check runs again then.
    KeepOnScreen(*this);
    if (isVisible())
        QTimer::singleShot(0, this, [this] { KeepOnScreen(*this); });
}

void CTransactionRecord::ShowFigures()
{
    const bool split = TranIsSplit(figures_.type);
    const double unit = PriceInPence() ? 100 : 1;
    for (auto& [id, edit] : numbers_) {
        if (edit->hasFocus() && edit->isModified())
            continue;
        double v = 0;
        switch (id) {
        case C::Previous: v = figures_.previousHolding; break;
        case C::Shares: v = figures_.shares; break;
        case C::Price: v = figures_.price * unit; break;
        case C::Total: v = TransactionDialogDefaults().expenses == kHideExpenses ? figures_.total * 100 : figures_.total; break;
        case C::Broker: v = TransactionDialogDefaults().expenses == kShowExpenses ? figures_.charges() : figures_.broker; break;
        case C::Stamp: v = figures_.stamp; break;
        case C::Levy: v = figures_.levy; break;
        case C::RateOrNew: v = split ? figures_.newNumber : figures_.taxRate; break;
        case C::CreditOrRatio: v = split ? figures_.ratio : figures_.taxCredit; break;
        }
        edit->setText(Number(v));
    }
    if (split) {
        const double r = figures_.ratio;
        const std::string head = r >= 1 ? StringPrintf("%s share 'bonus' for each existing share", ToCp1252(Number(r - 1)).c_str())
                                        : StringPrintf("1 share for each %s existing shares",
                                                       ToCp1252(Number(std::fabs(r) < kSmallestDivisor ? 0 : 1 / r)).c_str());
        splitText_->setText(FromCp1252(head + "\n\nNote:  Only one split a day allowed"));
    }
    hiddenCharges_->setText(FromCp1252(StringPrintf("+ hidden charges %s", ToCp1252(Number(figures_.charges())).c_str())));
}

void CTransactionRecord::NumberEdited(int id)
{
    QLineEdit* edit = nullptr;
    for (auto& [n, e] : numbers_)
        if (n == id)
            edit = e;
    const double v = Value(edit);
    const bool split = TranIsSplit(figures_.type);
    const ExpensesOption expenses = TransactionDialogDefaults().expenses;
    switch (id) {
    case C::Shares: figures_.SetShares(v); break;
    case C::Price: figures_.SetPrice(PriceInPence() ? PoundsOfPence(v) : v); break;
    case C::Total: figures_.SetTotal(expenses == kHideExpenses ? PoundsOfPence(v) : v); break;
    case C::Broker:
        if (expenses == kShowExpenses)
            figures_.SetCharges(v, 0, 0);
        else
            figures_.SetCharges(v, figures_.stamp, figures_.levy);
        break;
    case C::Stamp: figures_.SetCharges(figures_.broker, v, figures_.levy); break;
    case C::Levy: figures_.SetCharges(figures_.broker, figures_.stamp, v); break;
    case C::RateOrNew:
        if (split)
            figures_.SetNewNumber(v);
        else
            figures_.SetTaxRate(v);
        break;
    case C::CreditOrRatio:
        if (split)
            figures_.SetRatio(v);
        else
            figures_.SetTaxCredit(v);
        break;
    default: return;
    }
    // The field typed in keeps its text; the rate capped at 90 shows at once.
    if (edit)
        edit->setModified(!(id == C::RateOrNew && !split && v > kHighestTaxRate));
    ShowFigures();
}

void CTransactionRecord::DateChanged() { UpdateGainsChoices(); }

void CTransactionRecord::UpdateGainsChoices()
{
    const PackedDate date = date_->ReadDate() ? date_->ReadDate() : setup_.date;
    const RebasingChoices choices = RebasingChoicesFor(figures_.type, date);
    const int base = base1965_->isChecked() ? 1 : base1982_->isChecked() ? 2 : 0;
    const int kept = FallBackGainsBase(base, choices);
    if (kept != base)
        (kept == 2 ? base1982_ : historic_)->setChecked(true);
    base1965_->setEnabled(choices.base1965);
    value1965_->setEnabled(choices.base1965);
    base1982_->setEnabled(choices.base1982);
    value1982_->setEnabled(choices.base1982);
    const bool counted = !ignore_->isChecked();
    ignorePounds_->setEnabled(counted);
    ignoredAmount_->setEnabled(counted);
    smallReceipt_->setEnabled(counted && (figures_.type == 2 || figures_.type == 5));
}

void CTransactionRecord::ToggleGains()
{
    TransactionDialogDefaults().showGains = !TransactionDialogDefaults().showGains;
    ApplyLayout();
}

void CTransactionRecord::OpenOptions()
{
    const auto& sheet =
        FrameDialogs().portfolioViewOptionsSheet ? FrameDialogs().portfolioViewOptionsSheet : FrameDialogs().optionsSheet;
    if (sheet && sheet(kPortfolioOptionsPage))
        ApplyLayout();
}

// Share counts are kept in single precision: a sale within this of the holding sells the holding.
constexpr double kShareTolerance = 0.0001;

bool CTransactionRecord::ConfirmSaleBeyondHolding(int type, PackedDate date)
{
    // A sale of more than is held would record a negative holding and a profit never made.
    if (!TranRemovesShares(type) || !setup_.holdingOn)
        return true;
    const double held = std::max(setup_.holdingOn(date, std::max(line_->currentIndex(), 0)), 0.0);
    if (figures_.shares <= held + kShareTolerance)
        return true;
    // The count to four places, without trailing zeros ("250", "12.5").
    std::string count = StringPrintf("%.4f", held);
    count.erase(count.find_last_not_of('0') + 1);
    if (count.back() == '.')
        count.pop_back();
    const std::string text = StringPrintf("You hold only %s shares of %s on %s.\n\nRecord the sale anyway?",
                                          count.c_str(), setup_.shareName.c_str(), FormatLongDate(date).c_str());
    return ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question, 1) == MsgAnswer::Yes;
}

void CTransactionRecord::accept()
{
    const int type = TransactionTypeOfItem(type_->currentIndex());
    if (type < 0) {
        ShowMessage("you need to select a transaction type");
        return;
    }
    if (date_->RefuseBadText())
        return;
    const PackedDate date = date_->ReadDate() ? date_->ReadDate() : setup_.date;
    if (setup_.today && date > setup_.today &&
        ShowMessage("Warning - the transaction's date is set in the future. Is this ok?", {}, MsgButtons::YesNo,
                    MsgIcon::Question) != MsgAnswer::Yes)
        return;
    if (!ConfirmSaleBeyondHolding(type, date))
        return;
    answer_ = {};
    answer_.figures = figures_;
    answer_.figures.type = type;
    answer_.date = date;
    answer_.time = setup_.time;
    answer_.line = uint8_t(std::max(line_->currentIndex(), 0));
    answer_.shareType = line_->currentIndex() >= 0 ? uint8_t(line_->currentData().toInt()) : 31;
    answer_.cashAccount = uint16_t(cash_->currentData().toInt());
    answer_.gainsBase = uint8_t(base1965_->isChecked() ? 1 : base1982_->isChecked() ? 2 : 0);
    answer_.value1965 = Value(value1965_);
    answer_.value1982 = Value(value1982_);
    answer_.ignoredAmount = Value(ignoredAmount_);
    answer_.ignoreInGains = ignore_->isChecked();
    answer_.ignorePounds = ignorePounds_->isChecked() && ignorePounds_->isEnabled();
    answer_.smallReceipt = smallReceipt_->isChecked() && smallReceipt_->isEnabled();
    answer_.otherUnit = pounds_->isChecked() != TypeDefaultsToPounds(type);
    answer_.note = ToCp1252(note_->text());
    answer_.reference = ToCp1252(reference_->text());
    if (type == 3)
        TransactionDialogDefaults().dividendOtherUnit = answer_.otherUnit;
    else
        TransactionDialogDefaults().otherUnit = answer_.otherUnit;
    QDialog::accept();
}

} // namespace qv
