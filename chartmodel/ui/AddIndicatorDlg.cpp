// The add-indicator dialogs.
#include "chartmodel/ui/AddIndicatorDlg.h"

#include "chartmodel/PortfolioSeriesCache.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/IndicatorTable.h"
#include "core/RecordAccess.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/FindShareDlg.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace qv {

namespace {

constexpr uint32_t kIndicatorHelpBase = 84536;
constexpr int kPreviewId = 18127;
constexpr int kSetDefaultId = 4097;
const QString kColourAndStyle = QStringLiteral("Indicator's colour and style");
const QStringList kMethods = {QStringLiteral("Simple"), QStringLiteral("Exponential"), QStringLiteral("Weighted"),
                              QStringLiteral("Triangualar"), QStringLiteral("Variable")};

QString Id(int id) { return QString::number(id); }

bool Bit(const IndicatorRecord& r, int n) { return (r.flags >> n) & 1; }
void SetBit(IndicatorRecord& r, int n, bool on)
{
    r.flags = uint8_t(on ? (r.flags | (1u << n)) : (r.flags & ~(1u << n)));
}

bool HasBareColour(int type)
{
    static constexpr std::array<int, 6> kTypes = {3, 13, 14, 42, 43, 48};
    for (int t : kTypes)
        if (t == type)
            return true;
    return false;
}

// ---- The plain dialog (544).
class CPlainIndicatorDlg : public CAddIndicatorDlg {
public:
    CPlainIndicatorDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(544, QStringLiteral("Add Indicator"), r, c, p)
    {
        AddPeriods(20);
        if (r.type == 49 || r.type == 50)
            periodsLabel_->setText(QStringLiteral("limit move"));
        AddColour(1459, QStringLiteral("Colour"), 1);
        if (HasBareColour(r.type)) {
            HidePeriods();
            colourLabel_->setText(kColourAndStyle);
        }
    }
};

// ---- Volume in a box (58).
class CVolumeBoxDlg : public CAddIndicatorDlg {
public:
    CVolumeBoxDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(27247, QStringLiteral("Add Volume in a Box"), r, c, p)
    {
        signal_ = AddNumber(1074, QStringLiteral("signal periods"));
        barWidth_ = AddCheck(3966, QStringLiteral("Use OHLC bar width"));
        schemes_ = new QButtonGroup(this);
        const char* texts[] = {"Use main price colour scheme", "Single colour", "Colour by volume change",
                               "Colour by price up/down movement"};
        for (int i = 0; i < 4; ++i)
            schemes_->setId(AddRadio(3967 + i, QString::fromLatin1(texts[i]), schemes_), i);
        showSignal_ = AddCheck(3971, QStringLiteral("Show volume signal"));
        AddColour(3963, QStringLiteral("Up"), 1);
        AddColour(3964, QStringLiteral("Down"), 3);
        AddColour(3965, QStringLiteral("Signal"), 2);
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        signal_->setText(QString::number(Initial(r.period2, 9)));
        barWidth_->setChecked(!isNew() && Bit(r, 1));
        showSignal_->setChecked(!isNew() && Bit(r, 0));
        int scheme = isNew() ? 0 : std::clamp<int>(r.period3, 0, 3);
        schemes_->button(scheme)->setChecked(true);
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        int signal = 0;
        if (!ReadNumber(signal_, 2, 999, signal))
            return false;
        r.period2 = int16_t(signal);
        SetBit(r, 1, barWidth_->isChecked());
        SetBit(r, 0, showSignal_->isChecked());
        r.period3 = int16_t(std::max(0, schemes_->checkedId()));
        return true;
    }
    int ColourCount() const override { return 3; }

private:
    QLineEdit* signal_;
    QCheckBox* barWidth_;
    QCheckBox* showSignal_;
    QButtonGroup* schemes_;
};

// ---- Price oscillator (11).
class CPriceOscDlg : public CAddIndicatorDlg {
public:
    CPriceOscDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(549, QStringLiteral("Add Indicator"), r, c, p)
    {
        AddPeriods(20);
        second_ = AddNumber(1652, QStringLiteral("and"), &secondLabel_);
        method_ = AddList(1709, QStringLiteral("Method"), kMethods);
        AddColour(1459, QStringLiteral("Colour"), 1);
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        second_->setText(QString::number(Initial(r.period2, 10)));
        method_->setCurrentIndex(std::clamp<int>(Initial(r.period3, 0), 0, 4));
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        int second = 0;
        if (!ReadNumber(second_, 5, 999, second))
            return false;
        r.period2 = int16_t(second);
        r.period3 = int16_t(method_->currentIndex());
        return true;
    }
    void LockFields() override
    {
        for (QWidget* w : std::initializer_list<QWidget*>{second_, secondLabel_, method_})
            w->hide();
    }

private:
    QLineEdit* second_;
    QLabel* secondLabel_ = nullptr;
    QComboBox* method_;
};

// ---- TRIX and the volume indices (9, 46, 47).
class CSignalLineDlg : public CAddIndicatorDlg {
public:
    CSignalLineDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(548, QStringLiteral("Add Indicator"), r, c, p)
    {
        AddPeriods(26);
        signal_ = AddNumber(1074, QStringLiteral("signal periods"), &signalLabel_);
        AddColour(1459, QStringLiteral("Indicator"), 1);
        AddColour(1460, QStringLiteral("Signal"), 2);
        if (r.type == 46 || r.type == 47) {
            HidePeriods();
            colourLabel_->setText(kColourAndStyle);
        }
    }
    void LoadFields(const IndicatorRecord& r) override { signal_->setText(QString::number(Initial(r.period2, 9))); }
    bool ReadFields(IndicatorRecord& r) override
    {
        int signal = 0;
        if (!ReadNumber(signal_, 2, 999, signal))
            return false;
        r.period2 = int16_t(signal);
        return true;
    }
    void LockFields() override
    {
        signal_->hide();
        signalLabel_->hide();
    }
    int ColourCount() const override { return 2; }

private:
    QLineEdit* signal_;
    QLabel* signalLabel_ = nullptr;
};

// ---- MACD (8).
class CMacdDlg : public CAddIndicatorDlg {
public:
    CMacdDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(650, QStringLiteral("Add Indicator"), r, c, p)
    {
        AddPeriods(13, 5);
        second_ = AddNumber(1652, QStringLiteral("and"), &secondLabel_);
        signal_ = AddNumber(1074, QStringLiteral("signal periods"), &signalLabel_);
        lines_ = AddCheck(2359, QStringLiteral("Draw indicator and signal lines"));
        histogram_ = AddCheck(2356, QStringLiteral("Draw histogram"));
        AddColour(1459, QStringLiteral("Indicator"), 1);
        AddColour(1460, QStringLiteral("Signal"), 2);
        negative_ = AddColour(2326, QStringLiteral("Histogram -ve"), 3, true);
        positive_ = AddColour(2327, QStringLiteral("Histogram +ve"), 4, true);
        connect(histogram_, &QCheckBox::toggled, this, [this](bool on) {
            negative_->setEnabled(on);
            positive_->setEnabled(on);
        });
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        second_->setText(QString::number(Initial(r.period2, 26)));
        signal_->setText(QString::number(Initial(r.period3, 9)));
        lines_->setChecked(isNew() || Bit(r, 0));
        histogram_->setChecked(!isNew() && Bit(r, 1));
        negative_->setEnabled(histogram_->isChecked());
        positive_->setEnabled(histogram_->isChecked());
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        int second = 0, signal = 0;
        if (!ReadNumber(second_, 6, 999, second) || !ReadNumber(signal_, 2, 999, signal))
            return false;
        r.period2 = int16_t(second);
        r.period3 = int16_t(signal);
        SetBit(r, 0, lines_->isChecked());
        SetBit(r, 1, histogram_->isChecked());
        return true;
    }
    void LockFields() override
    {
        for (QWidget* w : std::initializer_list<QWidget*>{second_, secondLabel_, signal_, signalLabel_})
            w->hide();
        lines_->setEnabled(false);
        histogram_->setEnabled(false);
    }
    int ColourCount() const override { return 4; }

private:
    QLineEdit* second_;
    QLabel* secondLabel_ = nullptr;
    QLineEdit* signal_;
    QLabel* signalLabel_ = nullptr;
    QCheckBox* lines_;
    QCheckBox* histogram_;
    CStyleButton* negative_;
    CStyleButton* positive_;
};

// ---- Stochastic oscillator (12).
class CStochasticDlg : public CAddIndicatorDlg {
public:
    CStochasticDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(552, QStringLiteral("Add Indicator"), r, c, p)
    {
        AddPeriods(20);
        slowing_ = AddNumber(1651, QStringLiteral("Slowing Periods"), &slowingLabel_);
        closing_ = AddCheck(3084, QStringLiteral("Use closing price in place of OHLC"));
        signal_ = AddNumber(1074, QStringLiteral("signal periods"), &signalLabel_);
        method_ = AddList(1710, QStringLiteral("Method"), kMethods);
        AddColour(1459, QStringLiteral("Indicator"), 1);
        AddColour(1460, QStringLiteral("Signal"), 2);
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        slowing_->setText(QString::number(Initial(r.period3 & 0xFF, 2)));
        closing_->setChecked(!isNew() && Bit(r, 0));
        signal_->setText(QString::number(Initial(r.period2, 9)));
        method_->setCurrentIndex(std::clamp<int>(Initial(r.period4, 0), 0, 4));
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        int slowing = 0, signal = 0;
        if (!ReadNumber(slowing_, 1, 200, slowing) || !ReadNumber(signal_, 2, 999, signal))
            return false;
        SetU8Low(r.period3, slowing);
        SetBit(r, 0, closing_->isChecked());
        r.period2 = int16_t(signal);
        r.period4 = int16_t(method_->currentIndex());
        return true;
    }
    void LockFields() override
    {
        for (QWidget* w : std::initializer_list<QWidget*>{slowing_, slowingLabel_, signal_, signalLabel_, method_})
            w->hide();
    }
    int ColourCount() const override { return 2; }

private:
    QLineEdit* slowing_;
    QLabel* slowingLabel_ = nullptr;
    QCheckBox* closing_;
    QLineEdit* signal_;
    QLabel* signalLabel_ = nullptr;
    QComboBox* method_;
};

// ---- Kagi chart (55).
class CKagiDlg : public CAddIndicatorDlg {
public:
    CKagiDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(27067, QStringLiteral("Add Indicator"), r, c, p)
    {
        reversal_ = AddNumber(3413, QStringLiteral("Reversal"));
        percent_ = AddCheck(3199, QStringLiteral("Reversal is % of share range"));
        mainScale_ = AddCheck(3198, QStringLiteral("Use main timescale"));
        AddColour(1459, QStringLiteral("Up"), 1);
        AddColour(1460, QStringLiteral("Down"), 2);
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        reversal_->setText(QString::number(Initial(r.period3 & 0xFF, 3)));
        percent_->setChecked(!isNew() && Bit(r, 0));
        mainScale_->setChecked(!isNew() && Bit(r, 1));
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        int reversal = 0;
        if (!ReadNumber(reversal_, 0, 100, reversal))
            return false;
        SetU8Low(r.period3, reversal);
        SetBit(r, 0, percent_->isChecked());
        SetBit(r, 1, mainScale_->isChecked());
        return true;
    }
    void LockFields() override { reversal_->setEnabled(false); }
    int ColourCount() const override { return 2; }

private:
    QLineEdit* reversal_;
    QCheckBox* percent_;
    QCheckBox* mainScale_;
};

// ---- Point and figure (15).
class CPointFigureDlg : public CAddIndicatorDlg {
public:
    CPointFigureDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(547, QStringLiteral("Add Indicator"), r, c, p)
    {
        box_ = AddNumber(1073, QStringLiteral("Box Size"));
        unit_ = AddLabel(2469, QStringLiteral("%"));
        percent_ = AddCheck(2171, QStringLiteral("Box size a % of share range"));
        reversal_ = AddNumber(1654, QStringLiteral("Reversal Amount"));
        AddColour(1459, QStringLiteral("Up"), 1);
        AddColour(1460, QStringLiteral("Down"), 2);
        connect(percent_, &QCheckBox::toggled, this,
                [this](bool on) { unit_->setText(on ? QStringLiteral("%") : QStringLiteral("p")); });
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        int tenths = Initial(uint16_t(r.period2), 40);
        box_->setText(QString::number(tenths / 10.0, 'g', 6));
        percent_->setChecked(isNew() || Bit(r, 0));
        unit_->setText(percent_->isChecked() ? QStringLiteral("%") : QStringLiteral("p"));
        reversal_->setText(QString::number(Initial(r.period3 & 0xFF, 3)));
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        bool ok = false;
        double box = box_->text().trimmed().toDouble(&ok);
        if (!ok || box < 1.0 || box > 1000.0) {
            ShowMessage("Enter a number between 1 and 1000");
            box_->setFocus();
            return false;
        }
        int reversal = 0;
        if (!ReadNumber(reversal_, 1, 200, reversal))
            return false;
        r.period2 = int16_t(uint16_t(box * 10 + 0.5));
        SetU8Low(r.period3, reversal);
        SetBit(r, 0, percent_->isChecked());
        return true;
    }
    void LockFields() override
    {
        box_->setEnabled(false);
        reversal_->setEnabled(false);
        percent_->setEnabled(false);
    }
    int ColourCount() const override { return 2; }

private:
    QLineEdit* box_;
    QLabel* unit_;
    QCheckBox* percent_;
    QLineEdit* reversal_;
};

// ---- Equivolume (41).
class CEquiVolumeDlg : public CAddIndicatorDlg {
public:
    CEquiVolumeDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(632, QStringLiteral("Add Indicator"), r, c, p)
    {
        candle_ = AddCheck(1838, QStringLiteral("Draw as a candle volume chart"));
        AddColour(1459, QStringLiteral("Colour"), 1);
    }
    void LoadFields(const IndicatorRecord& r) override { candle_->setChecked(!isNew() && (r.flags & 0x7F) != 0); }
    bool ReadFields(IndicatorRecord& r) override
    {
        r.flags = uint8_t((r.flags & IndicatorRecord::kLockedFlag) | (candle_->isChecked() ? 1 : 0));
        return true;
    }

private:
    QCheckBox* candle_;
};

// ---- Average directional movement (54).
class CDirectionalDlg : public CAddIndicatorDlg {
public:
    CDirectionalDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(633, QStringLiteral("Add Indicator"), r, c, p)
    {
        AddPeriods(14);
        boxes_[0] = AddCheck(2208, QStringLiteral("Directional indicators"));
        buttons_[0] = {AddColour(1462, QStringLiteral("+DI"), 2), AddColour(1460, QStringLiteral("-DI"), 3)};
        boxes_[1] = AddCheck(2205, QStringLiteral("Average directional index"));
        buttons_[1] = {AddColour(1459, QStringLiteral("ADX"), 1), nullptr};
        boxes_[2] = AddCheck(2206, QStringLiteral("Avg. direct. index rating"));
        buttons_[2] = {AddColour(1461, QStringLiteral("ADXR"), 4), nullptr};
        for (int i = 0; i < 3; ++i)
            connect(boxes_[size_t(i)], &QCheckBox::clicked, this, [this, i](bool on) { Clicked(i, on); });
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        for (int i = 0; i < 3; ++i)
            boxes_[size_t(i)]->setChecked(isNew() ? i < 2 : Bit(r, i));
        if (!boxes_[0]->isChecked() && !boxes_[1]->isChecked() && !boxes_[2]->isChecked())
            boxes_[1]->setChecked(true);
        Enable();
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        for (int i = 0; i < 3; ++i)
            SetBit(r, i, boxes_[size_t(i)]->isChecked());
        return true;
    }
    int ColourCount() const override { return 4; }

private:
    void Clicked(int i, bool on)
    {
        int ticked = 0;
        for (QCheckBox* b : boxes_)
            ticked += b->isChecked() ? 1 : 0;
        if (!on && ticked == 0)
            boxes_[size_t(i)]->setChecked(true);
        Enable();
    }
    void Enable()
    {
        for (size_t i = 0; i < 3; ++i)
            for (CStyleButton* b : buttons_[i])
                if (b != nullptr)
                    b->setEnabled(boxes_[i]->isChecked());
    }
    std::array<QCheckBox*, 3> boxes_{};
    std::array<std::array<CStyleButton*, 2>, 3> buttons_{};
};

// ---- Correlation, beta and relative-to (6, 16, 59).
class CRelativeDlg : public CAddIndicatorDlg {
public:
    CRelativeDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(553, QStringLiteral("Add Relative Graph"), r, c, p)
    {
        AddPeriods(20);
        relativeLabel_ = AddLabel(2357, QStringLiteral("Relative to the other share"));
        QLabel* correlationLabel = AddLabel(0, QStringLiteral("Other share for correlation"));
        name_ = AddLabel(554, {});
        kind_ = AddLabel(555, {});
        select_ = AddButton(1879, QStringLiteral("Select another share..."));
        connect(select_, &QPushButton::clicked, this, [this] { SelectOther(); });
        AddColour(1459, QStringLiteral("Colour"), 1);
        helpTopic_ = r.type == 6 ? 84542 : r.type == 16 ? 84552 : 92819;
        if (r.type == 59) {
            HidePeriods();
            correlationLabel->hide();
        } else {
            relativeLabel_->hide();
        }
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        item_ = isNew() ? LastOtherItem() : OtherItem{uint16_t(r.period2), uint16_t(r.period3)};
        ShowItem();
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        r.period2 = int16_t(item_.id);
        r.period3 = int16_t(item_.type);
        return true;
    }
    void LockFields() override
    {
        HidePeriods();
        select_->setEnabled(false);
    }
    OtherItem item() const { return item_; }
    void SetItem(OtherItem item)
    {
        item_ = item;
        LastOtherItem() = item;
        ShowItem();
    }

private:
    void SelectOther()
    {
        CFindShareDlg find(this);
        if (RunModalDialog(find) != QDialog::Accepted || find.chosen().record == nullptr)
            return;
        SetItem({LoadU16(find.chosen().record + 2), uint16_t(find.chosen().count)});
    }
    void ShowItem()
    {
        std::string name, description;
        GetOtherShareName(FindRecordById(item_.id, item_.type), name, description);
        name_->setText(name.empty() ? QStringLiteral("(not in the database)") : FromCp1252(name));
        kind_->setText(FromCp1252(description));
    }
    QLabel* relativeLabel_;
    QLabel* name_;
    QLabel* kind_;
    QPushButton* select_;
    OtherItem item_;
};

// ---- RSI (2).
class CRsiDlg : public CAddIndicatorDlg {
public:
    CRsiDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(672, QStringLiteral("Add Indicator"), r, c, p)
    {
        AddPeriods(20);
        smoothing_ = new QButtonGroup(this);
        smoothing_->setId(AddRadio(2984, QStringLiteral("Wilder"), smoothing_), 0);
        smoothing_->setId(AddRadio(2985, QStringLiteral("Exponential"), smoothing_), 1);
        smoothing_->setId(AddRadio(2986, QStringLiteral("Simple"), smoothing_), 2);
        halfLine_ = AddCheck(2365, QStringLiteral("50% line only"));
        AddColour(1459, QStringLiteral("Colour"), 1);
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        int smoothing = isNew() ? 0 : std::min(r.flags & 3, 2);
        smoothing_->button(smoothing)->setChecked(true);
        halfLine_->setChecked(!isNew() && Bit(r, 2));
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        r.flags = uint8_t((r.flags & ~3u) | uint32_t(std::max(0, smoothing_->checkedId())));
        SetBit(r, 2, halfLine_->isChecked());
        return true;
    }
    void LockFields() override
    {
        for (QAbstractButton* b : smoothing_->buttons())
            b->hide();
    }

private:
    QButtonGroup* smoothing_;
    QCheckBox* halfLine_;
};

// ---- Average true range (57).
class CTrueRangeDlg : public CAddIndicatorDlg {
public:
    CTrueRangeDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(27076, QStringLiteral("Add Indicator"), r, c, p)
    {
        AddPeriods(14);
        AddColour(1459, QStringLiteral("Colour"), 1);
    }
};

// ---- Market graphs (18-30). "Shares" gives code 1, "FTSE 100" code 4, "Other" the choice in the list
// beside it: "All shares" (code 0) or a portfolio (its number, with the portfolio flag).
class CMarketGraphDlg : public CAddIndicatorDlg {
public:
    CMarketGraphDlg(IndicatorRecord& r, const AddIndicatorContext& c, QWidget* p)
        : CAddIndicatorDlg(546, QStringLiteral("Add Market Graph"), r, c, p)
    {
        source_ = new QButtonGroup(this);
        source_->setId(AddRadio(1663, QStringLiteral("Shares"), source_), 1);
        source_->setId(AddRadio(1665, QStringLiteral("FTSE 100"), source_), 4);
        source_->setId(AddRadio(1664, QStringLiteral("Other"), source_), 0);
        lists_ = AddList(3710, {}, {QStringLiteral("All shares")});
        lists_->setItemData(0, -1);
        for (const MarketGraphPortfolio& p : MarketGraphPortfolios())
            lists_->addItem(FromCp1252(p.name), int(p.number));
        smooth_ = AddCheck(1662, QStringLiteral("Smooth Graph"));
        percent_ = AddNumber(1661, QStringLiteral("%"));
        AddColour(1459, QStringLiteral("Colour"), 1);
        connect(smooth_, &QCheckBox::toggled, percent_, &QWidget::setEnabled);
        connect(source_, &QButtonGroup::idClicked, this, [this](int id) { lists_->setEnabled(id == 0); });
    }
    void LoadFields(const IndicatorRecord& r) override
    {
        int code = isNew() ? 1 : r.period3;
        const bool portfolio = !isNew() && (r.flags & kMarketGraphPortfolioFlag);
        QAbstractButton* b = source_->button(!portfolio && (code == 1 || code == 4) ? code : 0);
        b->setChecked(true);
        const int at = portfolio ? lists_->findData(int(uint16_t(r.period4))) : 0;
        lists_->setCurrentIndex(std::max(at, 0));
        lists_->setEnabled(source_->checkedId() == 0);
        int percent = isNew() ? 0 : r.period2;
        smooth_->setChecked(percent > 0);
        percent_->setText(QString::number(percent > 0 ? percent : 10));
        percent_->setEnabled(percent > 0);
    }
    bool ReadFields(IndicatorRecord& r) override
    {
        int percent = 0;
        if (smooth_->isChecked() && !ReadNumber(percent_, 0, 100, percent))
            return false;
        r.period2 = int16_t(percent);
        r.flags = uint8_t(r.flags & IndicatorRecord::kLockedFlag);
        r.period3 = int16_t(source_->checkedId());
        const int number = lists_->currentData().toInt();
        r.period4 = 0;
        // A portfolio goes in the u16 field after period 3 (BreadthKeyOf).
        if (source_->checkedId() == 0 && number >= 0) {
            r.flags |= kMarketGraphPortfolioFlag;
            r.period3 = 0;
            r.period4 = int16_t(uint16_t(number));
        }
        return true;
    }
    void LockFields() override
    {
        for (QAbstractButton* b : source_->buttons())
            b->hide();
        lists_->hide();
        smooth_->setEnabled(false);
        percent_->setEnabled(false);
    }

private:
    QButtonGroup* source_;
    QComboBox* lists_;
    QCheckBox* smooth_;
    QLineEdit* percent_;
};

} // namespace

OtherItem& LastOtherItem()
{
    static OtherItem item;
    return item;
}

std::unique_ptr<CAddIndicatorDlg> CAddIndicatorDlg::Create(IndicatorRecord& record, const AddIndicatorContext& context,
                                                           QWidget* parent)
{
    std::unique_ptr<CAddIndicatorDlg> d;
    switch (record.type) {
    case 58: d.reset(new CVolumeBoxDlg(record, context, parent)); break;
    case 11: d.reset(new CPriceOscDlg(record, context, parent)); break;
    case 9: case 46: case 47: d.reset(new CSignalLineDlg(record, context, parent)); break;
    case 8: d.reset(new CMacdDlg(record, context, parent)); break;
    case 12: d.reset(new CStochasticDlg(record, context, parent)); break;
    case 55: d.reset(new CKagiDlg(record, context, parent)); break;
    case 15: d.reset(new CPointFigureDlg(record, context, parent)); break;
    case 41: d.reset(new CEquiVolumeDlg(record, context, parent)); break;
    case 54: d.reset(new CDirectionalDlg(record, context, parent)); break;
    case 6: case 16: case 59: d.reset(new CRelativeDlg(record, context, parent)); break;
    case 2: d.reset(new CRsiDlg(record, context, parent)); break;
    case 57: d.reset(new CTrueRangeDlg(record, context, parent)); break;
    default:
        if (record.type >= 18 && record.type <= 30)
            d.reset(new CMarketGraphDlg(record, context, parent));
        else
            d.reset(new CPlainIndicatorDlg(record, context, parent));
    }
    d->Init();
    return d;
}

CAddIndicatorDlg::CAddIndicatorDlg(int templateId, const QString& caption, IndicatorRecord& record,
                                   const AddIndicatorContext& context, QWidget* parent)
    : QDialog(parent), record_(record), copy_(record), context_(context), type_(record.type),
      locked_(record.flags & IndicatorRecord::kLockedFlag), helpTopic_(kIndicatorHelpBase + record.type),
      fields_(new QGridLayout)
{
    setObjectName(Id(templateId));
    setWindowTitle(caption);
    uint32_t bg = context.background;
    light_ = double((bg & 0xFF) + ((bg >> 8) & 0xFF) + ((bg >> 16) & 0xFF)) > 382.5;
}

CAddIndicatorDlg::~CAddIndicatorDlg() = default;

QLabel* CAddIndicatorDlg::AddLabel(int id, const QString& text)
{
    auto* label = new QLabel(text, this);
    if (id != 0)
        label->setObjectName(Id(id));
    fields_->addWidget(label, row_++, 0, 1, 2);
    return label;
}

QLineEdit* CAddIndicatorDlg::AddNumber(int id, const QString& label, QLabel** labelOut)
{
    auto* l = new QLabel(label, this);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(Id(id));
    edit->setMaximumWidth(90);
    fields_->addWidget(l, row_, 0);
    fields_->addWidget(edit, row_++, 1);
    if (labelOut != nullptr)
        *labelOut = l;
    return edit;
}

QCheckBox* CAddIndicatorDlg::AddCheck(int id, const QString& text)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(Id(id));
    fields_->addWidget(box, row_++, 0, 1, 2);
    return box;
}

QComboBox* CAddIndicatorDlg::AddList(int id, const QString& label, const QStringList& items)
{
    auto* list = new QComboBox(this);
    list->setObjectName(Id(id));
    list->addItems(items);
    fields_->addWidget(new QLabel(label, this), row_, 0);
    fields_->addWidget(list, row_++, 1);
    return list;
}

QRadioButton* CAddIndicatorDlg::AddRadio(int id, const QString& text, QButtonGroup* group)
{
    auto* radio = new QRadioButton(text, this);
    radio->setObjectName(Id(id));
    group->addButton(radio);
    fields_->addWidget(radio, row_++, 0, 1, 2);
    return radio;
}

QPushButton* CAddIndicatorDlg::AddButton(int id, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(Id(id));
    button->setAutoDefault(false);
    fields_->addWidget(button, row_++, 0, 1, 2);
    return button;
}

CStyleButton* CAddIndicatorDlg::AddColour(int id, const QString& label, int word, bool colourOnly)
{
    auto* button = new CStyleButton(this);
    button->setObjectName(Id(id));
    button->setFixedSize(110, 24);
    auto* l = new QLabel(label, this);
    if (colourLabel_ == nullptr)
        colourLabel_ = l;
    fields_->addWidget(l, row_, 0);
    fields_->addWidget(button, row_++, 1);
    colours_.push_back({button, word, colourOnly});
    return button;
}

void CAddIndicatorDlg::AddPeriods(int fallback, int low)
{
    periodsFallback_ = fallback;
    periodsLow_ = low;
    periods_ = AddNumber(1072, QStringLiteral("periods"), &periodsLabel_);
}

void CAddIndicatorDlg::HidePeriods()
{
    if (periods_ == nullptr)
        return;
    periods_->hide();
    periodsLabel_->hide();
}

bool CAddIndicatorDlg::ReadNumber(QLineEdit* edit, int low, int high, int& value)
{
    bool ok = false;
    value = edit->text().trimmed().toInt(&ok);
    if (ok && value >= low && value <= high)
        return true;
    ShowMessage("Enter a number between " + std::to_string(low) + " and " + std::to_string(high));
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CAddIndicatorDlg::BuildCommon()
{
    auto* box = new QGroupBox(this);
    auto* targets = new QGridLayout(box);
    const char* texts[] = {"Create new window", "Replace window", "Add to 1st window", "Add to 2nd window",
                           "Add to 3rd window", "Add to 4th window"};
    for (int i = 0; i < 6; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(texts[i]), box);
        radio->setObjectName(Id(1077 + i));
        targets->addWidget(radio, i < 2 ? i : i - 2, i < 2 ? 0 : 1);
        targets_.push_back(radio);
        // A preview writes into the record where it stands: a change of place turns it off.
        connect(radio, &QRadioButton::clicked, this, [this] { previewButton_->setEnabled(false); });
    }
    setDefault_ = new QCheckBox(QStringLiteral("Set colour as default for this indicator"), this);
    setDefault_->setObjectName(Id(kSetDefaultId));
    auto* buttons = OkCancelHelpButtons(*this, helpTopic_);
    previewButton_ = buttons->addButton(QStringLiteral("Preview"), QDialogButtonBox::ApplyRole);
    previewButton_->setObjectName(Id(kPreviewId));
    connect(previewButton_, &QPushButton::clicked, this, [this] {
        if (Apply() && context_.preview)
            context_.preview(record_);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields_);
    layout->addWidget(box);
    layout->addWidget(setDefault_);
    layout->addWidget(buttons);
}

void CAddIndicatorDlg::Init()
{
    BuildCommon();
    copy_ = record_;
    if (type_ >= 0 && type_ < kIndicatorTypes)
        setWindowTitle(QString::fromLatin1(IndicatorTable[size_t(type_)].longName));
    if (isNew()) {
        std::array<uint32_t, kMaxLineStyles> pens{};
        if (LoadIndicatorLineStyles(pens, light_ ? 0 : 1, uint32_t(type_)) > 0)
            record_.pens = pens;
    }
    for (const ColourButton& c : colours_) {
        uint32_t word = record_.pens[size_t(c.word - 1)];
        if (c.colourOnly)
            c.button->CreateColourBox(word & 0xFFFFFF, false);
        else
            c.button->CreateFromPackedStyle(word, context_.background, false);
    }
    if (periods_ != nullptr)
        periods_->setText(QString::number(Initial(record_.period1, periodsFallback_)));
    LoadFields(record_);
    SetTargets();
    if (locked_) {
        HidePeriods();
        LockFields();
    }
    previewButton_->setVisible(!isNew());
}

void CAddIndicatorDlg::SetTargets()
{
    TargetChoice choice = ChooseTargets(context_.usage, context_.openedFromWindow, locked_);
    for (size_t i = 0; i < targets_.size(); ++i)
        targets_[i]->setEnabled(choice.enabled[i]);
    int selected = choice.selected == kTargetNewWindow ? 0 : choice.selected == kTargetReplace ? 1 : 2 + choice.selected;
    targets_[size_t(selected)]->setChecked(true);
    target_ = choice.selected;
}

int CAddIndicatorDlg::ReadTarget() const
{
    for (size_t i = 0; i < targets_.size(); ++i)
        if (targets_[i]->isChecked())
            return i == 0 ? kTargetNewWindow : i == 1 ? kTargetReplace : int(i) - 2;
    return target_;
}

bool CAddIndicatorDlg::Apply()
{
    IndicatorRecord r = record_;
    if (periods_ != nullptr && !periods_->isHidden()) {
        int period = 0;
        if (!ReadNumber(periods_, periodsLow_, 999, period))
            return false;
        r.period1 = int16_t(period);
    }
    if (!ReadFields(r))
        return false;
    r.flags = uint8_t((r.flags & ~IndicatorRecord::kLockedFlag) | (copy_.flags & IndicatorRecord::kLockedFlag));
    for (const ColourButton& c : colours_) {
        uint32_t word = c.colourOnly ? c.button->GetColour(0) : (c.button->GetColour(0) | c.button->GetPackedStyle());
        r.pens[size_t(c.word - 1)] = word;
    }
    target_ = ReadTarget();
    record_ = r;
    return true;
}

void CAddIndicatorDlg::accept()
{
    if (!Apply())
        return;
    if (setDefault_->isChecked())
        SaveIndicatorLineStyles(std::span<const uint32_t>(record_.pens.data(), size_t(ColourCount())), light_ ? 0 : 1,
                                uint32_t(type_));
    QDialog::accept();
}

void CAddIndicatorDlg::reject()
{
    std::array<uint8_t, IndicatorRecord::kSize> now{}, before{};
    record_.Write(now);
    copy_.Write(before);
    record_ = copy_;
    // Only a record in the setting can have been previewed.
    if (now != before && context_.editing && context_.preview)
        context_.preview(record_);
    QDialog::reject();
}

} // namespace qv
