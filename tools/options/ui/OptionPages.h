// The options sheet's pages: each copies its settings in when built, refuses bad values on OK (the
// sheet then stays open on it) and writes them back when the sheet is confirmed. Controls carry their
// ids as object names. The pages connect to lambdas only, so they need no meta-object code.
#pragma once

#include "core/PackedDate.h"
#include "tools/options/OptionRules.h"
#include "realtime/RTFeedSettings.h"
#include "tools/options/OptionSettings.h"

#include <QDialog>
#include <QWidget>

#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace qv {

class CCalcEdit;
class CDateEdit;
class CStyleButton;
class CTimesListBox;

class COptionPage : public QWidget {
public:
    COptionPage(OptionPage page, QWidget* parent);
    OptionPage page() const { return page_; }
    // False after telling the user what is wrong, with the focus on the control.
    virtual bool Validate() { return true; }
    virtual void Commit() = 0;

protected:
    QCheckBox* Check(int id, const char* text, bool on);
    QRadioButton* Radio(int id, const char* text);
    QLineEdit* Edit(int id, const QString& text);
    QButtonGroup* Group(std::initializer_list<QRadioButton*> buttons, int checked);

private:
    OptionPage page_;
};

// The checks the pages make, each refusing with the class library's wording.
bool CheckWholeField(QLineEdit* edit, int low, int high);
bool CheckRealField(QLineEdit* edit, double low, double high);
bool CheckFieldLength(QLineEdit* edit, size_t most);

class COptionList : public COptionPage {
public:
    COptionList(bool realTime, QWidget* parent);
    bool Validate() override;
    void Commit() override;

private:
    QCheckBox *showOld_, *prefix_, *doubleClick_, *trusts_, *stepped_, *resort_, *flicker_, *tips_, *cycling_;
    QLineEdit *days_, *frozen_;
    QComboBox* start_;
    QButtonGroup* scale_;
};

class COptionGraph : public COptionPage {
public:
    COptionGraph(bool realTime, QWidget* parent);
    void Commit() override;

private:
    QCheckBox *adjusted_, *deflated_, *line_, *percent_, *epic_, *exchange_, *flicker_, *spikes_, *alarmed_, *pounds_,
        *vertical_;
    CStyleButton* style_;
};

class COptionClipboard : public COptionPage {
public:
    explicit COptionClipboard(QWidget* parent);
    bool Validate() override;
    void Commit() override;

private:
    void Enable();
    QRadioButton *bitmap_, *vector_, *window_, *fixed_;
    QLineEdit *width_, *height_;
};

class COptionGeneral : public COptionPage {
public:
    explicit COptionGeneral(QWidget* parent);
    void Commit() override;

private:
    void Enable();
    QRadioButton *own_, *desktop_;
    QCheckBox *buttons_, *value_, *calculation_, *large_, *fastEpic_, *ask_;
};

class COptionCurrency : public COptionPage {
public:
    explicit COptionCurrency(QWidget* parent);
    bool Validate() override;
    void Commit() override;

private:
    QCheckBox* euroAsE_;
    CCalcEdit *euro_, *dollar_;
};

// Export and Import share their format controls.
class COptionFileFormat : public COptionPage {
public:
    COptionFileFormat(OptionPage page, uint8_t format, char separator, char dateSeparator, bool dateSeparatorUsed,
                      QWidget* parent);

protected:
    uint8_t Format() const;
    // The chosen separators; an empty choice keeps `old` after saying so.
    char FieldSeparator(char old, const char* emptyText) const;
    char DateSeparator(char old, const char* emptyText) const;
    void Update();
    QButtonGroup *order_, *field_;
    QCheckBox *fourDigits_, *useDateSeparator_;
    QLineEdit *other_, *dateSeparator_;
    QLabel* sample_;
    QWidget* extra_;
};

class COptionExport : public COptionFileFormat {
public:
    explicit COptionExport(QWidget* parent);
    void Commit() override;

private:
    QCheckBox *adjusted_, *latest_, *ohlcv_, *pence_, *noHeader_;
};

class COptionImport : public COptionFileFormat {
public:
    explicit COptionImport(QWidget* parent);
    void Commit() override;

private:
    QButtonGroup *errors_, *overwrite_;
    QCheckBox *replaceDates_, *fileName_, *comma_;
};

class COptionPort : public COptionPage {
public:
    COptionPort(bool forPortfolioView, QWidget* parent);
    bool Validate() override;
    void Commit() override;

private:
    QButtonGroup *expenses_, *warning_;
    QCheckBox* cash_;
    QLineEdit* value_;
};

class COptionPresetPorts : public COptionPage {
public:
    explicit COptionPresetPorts(QWidget* parent);
    bool Validate() override;
    void Commit() override;
    // Set when the last OK rebuilt the New Highs and New Lows portfolios.
    static int& RebuildCount();

private:
    void Enable();
    QCheckBox *showList_, *goTo_, *rises_;
    QButtonGroup *alarmMethod_, *highLowMethod_;
    QLineEdit *alarmDays_, *highLowDays_;
    CDateEdit* date_;
};

class COptionComms : public COptionPage {
public:
    explicit COptionComms(QWidget* parent);
    bool Validate() override;
    void Commit() override;
    const CommsSettings& settings() const { return settings_; }

private:
    void ShowMethod();
    void Defaults();
    void Configure();
    void Read();
    CommsSettings settings_;
    bool dialUpEdited_ = false; // this page's own dial-up dialog was confirmed
    QComboBox *method_, *modem_, *port_, *speed_;
    QGroupBox *addresses_, *modemGroup_;
    QLineEdit *main_, *alternative_, *account_, *password_;
    QCheckBox *winsock_, *alert_, *oldProtocol_;
};

// "Advanced modem settings".
class CModemAdvancedDlg : public QDialog {
public:
    CModemAdvancedDlg(CommsSettings& settings, QWidget* parent);
    void accept() override;

private:
    CommsSettings& settings_;
    QLineEdit *dial_, *init_, *timeout_;
};

// "Dial Up Networking settings".
class CDialUpSettingsDlg : public QDialog {
public:
    CDialUpSettingsDlg(CommsSettings& settings, QWidget* parent);
    void accept() override;

private:
    CommsSettings& settings_;
    QCheckBox *enable_, *existing_;
    QLineEdit *user_, *password_;
};

class COptionNews : public COptionPage {
public:
    explicit COptionNews(QWidget* parent);
    bool Validate() override;
    void Commit() override;

private:
    void Enable();
    QButtonGroup *method_, *purge_, *frequency_;
    QCheckBox *showLatest_, *fullSearch_, *checkSpace_, *limit_;
    QLineEdit *weeks_, *size_;
    QLabel *purgeLabel_, *sizeLabel_, *space_;
    CDateEdit* since_;
};

class COptionVexa : public COptionPage {
public:
    explicit COptionVexa(QWidget* parent);
    void Commit() override;
    // How often an OK applied a change.
    static int& AppliedCount();

private:
    void FillLists();
    void GraphChanged();
    EditionChoice before_, choice_;
    QCheckBox* enabled_;
    QListWidget *tables_, *graphs_;
};

// ---- The intraday pages, shown only with the real-time option.

class COptionRTComms : public COptionPage {
public:
    static constexpr int kPortIds[3] = {2961, 2962, 2959};
    explicit COptionRTComms(QWidget* parent);
    bool Validate() override;
    void Commit() override;

private:
    void SelectConnection();
    std::array<QLineEdit*, 3> addresses_{}, ports_{};
    QComboBox* connection_;
    QCheckBox *priority_, *autoConnect_, *winsock_, *noZod_;
};

class COptionRTHist : public COptionPage {
public:
    explicit COptionRTHist(QWidget* parent);
    bool Validate() override;
    void Commit() override;
    // "Purge Now": refused while a backfill runs, else the purge dialog with the page's values.
    void PurgeNow();

private:
    void Enable();
    void ShowStored();
    void Store(RTFeedSettings& s) const;
    QButtonGroup *mode_, *limit_;
    QLineEdit *days_, *mbytes_, *rate_;
    QLabel *daysLabel_, *mbytesLabel_;
    QCheckBox *alert_, *overseas_;
    QComboBox* snapshots_;
};

class COptionRTAlarms : public COptionPage {
public:
    explicit COptionRTAlarms(QWidget* parent);
    bool Validate() override;
    void Commit() override;

private:
    void Enable();
    QCheckBox *dialog_, *flash_, *log_, *audio_, *limit_;
    QRadioButton *beep_, *wave_;
    QLineEdit *logFile_, *waveFile_, *minutes_;
    QPushButton *logBrowse_, *waveBrowse_;
    QButtonGroup* start_;
};

class COptionExchTimes : public COptionPage {
public:
    explicit COptionExchTimes(QWidget* parent);
    void Commit() override;
    CTimesListBox* list() const { return list_; }
    // Puts every exchange's default times into the list.
    void ResetAll();

private:
    void Fill(const std::array<uint32_t, kMarketHoursExchanges>& open, const std::array<uint32_t, kMarketHoursExchanges>& close);
    CTimesListBox* list_;
};

} // namespace qv
