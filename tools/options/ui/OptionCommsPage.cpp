// The Communications page and its two small dialogs. This platform has no modem interface and no
// dial-up networking: no modem is ever listed, "Internet" is always offered, and the settings are kept
// for the update, which lies outside the program.
#include "tools/options/ui/OptionPages.h"

#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "resources/WebAddresses.h"
#include "shell/FrameSwitches.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kModemWindows = 0, kModemDirect = 1, kInternet = 2;
constexpr uint32_t kModemDialogTopic = 372, kDialUpDialogTopic = 374;

QString Text(const std::string& s) { return FromCp1252(s); }
std::string Text(const QLineEdit* e) { return ToCp1252(e->text()); }

QLineEdit* NamedEdit(QWidget* parent, int id, const std::string& text)
{
    auto* edit = new QLineEdit(FromCp1252(text), parent);
    edit->setObjectName(QString::number(id));
    return edit;
}

} // namespace

COptionComms::COptionComms(QWidget* parent) : COptionPage(OptionPage::Comms, parent), settings_(LoadCommsSettings())
{
    method_ = new QComboBox(this);
    method_->setObjectName(QStringLiteral("1412"));
    method_->addItems({QStringLiteral("Modem (Windows)"), QStringLiteral("Modem (Direct)"), QStringLiteral("Internet")});
    method_->setCurrentIndex(settings_.method);
    modem_ = new QComboBox(this);
    modem_->setObjectName(QStringLiteral("1273"));
    port_ = new QComboBox(this);
    port_->setObjectName(QStringLiteral("1414"));
    port_->addItems({QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4")});
    port_->setCurrentIndex(settings_.port);
    speed_ = new QComboBox(this);
    speed_->setObjectName(QStringLiteral("1415"));
    speed_->addItems({QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"),
                      QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200")});
    speed_->setCurrentIndex(settings_.speed);
    main_ = NamedEdit(this, 1271, "");
    alternative_ = NamedEdit(this, 1272, "");
    account_ = NamedEdit(this, 1416, settings_.account);
    password_ = NamedEdit(this, 1249, settings_.password);
    winsock_ = Check(2835, "Use Winsock 2 if available", settings_.winsock2);
    alert_ = Check(3140, "Alert me when end of day update is complete", !settings_.noUpdateAlert);
    oldProtocol_ = Check(3461, "Use old Update protocol", ProgramSwitches().calculatorMode & kOldUpdateProtocolBit);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Update method"), this), 0, 0);
    top->addWidget(method_, 0, 1);
    auto* configure = new QPushButton(QStringLiteral("Configure"), this);
    configure->setObjectName(QStringLiteral("1417"));
    top->addWidget(configure, 0, 2);
    layout->addLayout(top);
    modemGroup_ = new QGroupBox(QStringLiteral("Modem"), this);
    auto* modemGrid = new QGridLayout(modemGroup_);
    modemGrid->addWidget(new QLabel(QStringLiteral("Modem"), modemGroup_), 0, 0);
    modemGrid->addWidget(modem_, 0, 1, 1, 3);
    modemGrid->addWidget(new QLabel(QStringLiteral("Port"), modemGroup_), 1, 0);
    modemGrid->addWidget(port_, 1, 1);
    modemGrid->addWidget(new QLabel(QStringLiteral("Speed"), modemGroup_), 1, 2);
    modemGrid->addWidget(speed_, 1, 3);
    layout->addWidget(modemGroup_);
    addresses_ = new QGroupBox(this);
    auto* addressGrid = new QGridLayout(addresses_);
    auto* mainDefault = new QPushButton(QStringLiteral("Default"), addresses_);
    mainDefault->setObjectName(QStringLiteral("1279"));
    auto* alternativeDefault = new QPushButton(QStringLiteral("Default"), addresses_);
    alternativeDefault->setObjectName(QStringLiteral("1280"));
    addressGrid->addWidget(new QLabel(QStringLiteral("Main"), addresses_), 0, 0);
    addressGrid->addWidget(main_, 0, 1);
    addressGrid->addWidget(mainDefault, 0, 2);
    addressGrid->addWidget(new QLabel(QStringLiteral("Alternative"), addresses_), 1, 0);
    addressGrid->addWidget(alternative_, 1, 1);
    addressGrid->addWidget(alternativeDefault, 1, 2);
    layout->addWidget(addresses_);
    auto* account = new QGroupBox(QStringLiteral("Account"), this);
    auto* accountGrid = new QGridLayout(account);
    accountGrid->addWidget(new QLabel(QStringLiteral("Account number"), account), 0, 0);
    accountGrid->addWidget(account_, 0, 1);
    accountGrid->addWidget(new QLabel(QStringLiteral("Password"), account), 1, 0);
    accountGrid->addWidget(password_, 1, 1);
    auto* where = new QLabel(QStringLiteral("This information is on the User Guide's inside front cover"), account);
    where->setObjectName(QStringLiteral("3424"));
    accountGrid->addWidget(where, 2, 0, 1, 2);
    layout->addWidget(account);
    for (QCheckBox* box : {winsock_, alert_, oldProtocol_})
        layout->addWidget(box);
    layout->addStretch(1);

    connect(method_, &QComboBox::currentIndexChanged, this, [this] {
        Read();
        ShowMethod();
    });
    connect(mainDefault, &QPushButton::clicked, this, [this] { Defaults(); });
    connect(alternativeDefault, &QPushButton::clicked, this, [this] { Defaults(); });
    connect(configure, &QPushButton::clicked, this, [this] { Configure(); });
    settings_.method = uint8_t(method_->currentIndex());
    ShowMethod();
}

// The main and alternative fields show the addresses for Internet and the numbers for the modems.
void COptionComms::ShowMethod()
{
    const bool internet = method_->currentIndex() == kInternet;
    settings_.method = uint8_t(method_->currentIndex());
    modemGroup_->setVisible(!internet);
    addresses_->setTitle(internet ? QStringLiteral("Update address") : QStringLiteral("Update phone numbers"));
    main_->setText(Text(internet ? settings_.address : settings_.phone));
    alternative_->setText(Text(internet ? settings_.alternativeAddress : settings_.alternativePhone));
}

// Takes the main and alternative fields back into the method they were showing.
void COptionComms::Read()
{
    if (settings_.method == kInternet) {
        settings_.address = Text(main_);
        settings_.alternativeAddress = Text(alternative_);
    } else {
        settings_.phone = Text(main_);
        settings_.alternativePhone = Text(alternative_);
    }
}

void COptionComms::Defaults()
{
    const bool internet = method_->currentIndex() == kInternet;
    main_->setText(QString::fromLatin1(internet ? kUpdateAddress : kUpdatePhone));
    alternative_->setText(QString::fromLatin1(internet ? kUpdateAddressAlternative : kUpdatePhoneAlternative));
}

void COptionComms::Configure()
{
    switch (method_->currentIndex()) {
    case kModemWindows:
        ShowMessage("No modem is installed.", {}, MsgButtons::Ok, MsgIcon::Information);
        return;
    case kModemDirect: {
        CModemAdvancedDlg dialog(settings_, this);
        RunModalDialog(dialog);
        return;
    }
    default: {
        CDialUpSettingsDlg dialog(settings_, this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            dialUpEdited_ = true;
        return;
    }
    }
}

bool COptionComms::Validate()
{
    return CheckFieldLength(account_, kAccountLength) && CheckFieldLength(password_, kCommsPasswordLength);
}

void COptionComms::Commit()
{
    Read();
    settings_.method = uint8_t(method_->currentIndex());
    settings_.winsock2 = winsock_->isChecked();
    settings_.noUpdateAlert = !alert_->isChecked();
    uint8_t& calc = ProgramSwitches().calculatorMode;
    calc = MergeBits(calc, oldProtocol_->isChecked() ? kOldUpdateProtocolBit : 0, kOldUpdateProtocolBit);
    settings_.account = Text(account_);
    settings_.password = Text(password_);
    settings_.port = port_->currentIndex();
    settings_.speed = speed_->currentIndex();
    if (modem_->currentIndex() >= 0)
        settings_.modemName = ToCp1252(modem_->currentText());
    // The Intraday Feed page stores dial-up networking as it goes: its values stand unless this
    // page's own dial-up dialog changed them.
    if (!dialUpEdited_) {
        const CommsSettings stored = LoadCommsSettings();
        settings_.dialUpEnabled = stored.dialUpEnabled;
        settings_.useExistingConnection = stored.useExistingConnection;
        settings_.dialUpUser = stored.dialUpUser;
        settings_.dialUpPassword = stored.dialUpPassword;
    }
    SaveCommsSettings(settings_);
}

// ---- Advanced modem settings

CModemAdvancedDlg::CModemAdvancedDlg(CommsSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("372"));
    setWindowTitle(QStringLiteral("Advanced modem settings"));
    dial_ = NamedEdit(this, 1, settings.dialCommand);
    dial_->setObjectName(QStringLiteral("dial"));
    init_ = NamedEdit(this, 1, settings.initString);
    init_->setObjectName(QStringLiteral("init"));
    timeout_ = NamedEdit(this, 1, std::to_string(settings.dialTimeout));
    timeout_->setObjectName(QStringLiteral("timeout"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Dial command"), this), 0, 0);
    grid->addWidget(dial_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Initialisation string"), this), 1, 0);
    grid->addWidget(init_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Dial time-out (seconds)"), this), 2, 0);
    grid->addWidget(timeout_, 2, 1);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kModemDialogTopic);
    auto* defaults = buttons->addButton(QStringLiteral("Default"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QStringLiteral("3"));
    connect(defaults, &QPushButton::clicked, this, [this] {
        const CommsSettings fresh;
        dial_->setText(Text(fresh.dialCommand));
        init_->setText(Text(fresh.initString));
        timeout_->setText(QString::number(fresh.dialTimeout));
    });
    grid->addWidget(buttons, 3, 0, 1, 2);
}

void CModemAdvancedDlg::accept()
{
    if (!CheckFieldLength(dial_, kModemStringLength) || !CheckFieldLength(init_, kModemStringLength) ||
        !CheckWholeField(timeout_, 0, kDialTimeoutMax))
        return;
    settings_.dialCommand = Text(dial_);
    settings_.initString = Text(init_);
    settings_.dialTimeout = timeout_->text().trimmed().toInt();
    QDialog::accept();
}

// ---- Dial Up Networking settings

CDialUpSettingsDlg::CDialUpSettingsDlg(CommsSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("374"));
    setWindowTitle(QStringLiteral("Dial Up Networking settings"));
    enable_ = new QCheckBox(QStringLiteral("&Enable Dial Up Networking"), this);
    enable_->setObjectName(QStringLiteral("1408"));
    enable_->setChecked(settings.dialUpEnabled);
    existing_ = new QCheckBox(QStringLiteral("Use &existing connection if available"), this);
    existing_->setObjectName(QStringLiteral("1407"));
    existing_->setChecked(settings.useExistingConnection);
    user_ = NamedEdit(this, 1405, settings.dialUpUser);
    password_ = NamedEdit(this, 1406, settings.dialUpPassword);
    password_->setEchoMode(QLineEdit::Password);
    auto* grid = new QGridLayout(this);
    grid->addWidget(enable_, 0, 0, 1, 2);
    grid->addWidget(existing_, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("User name"), this), 2, 0);
    grid->addWidget(user_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Password"), this), 3, 0);
    grid->addWidget(password_, 3, 1);
    auto* none = new QLabel(QStringLiteral("No dial-up connection is installed; the internet connection is used."), this);
    none->setWordWrap(true);
    grid->addWidget(none, 4, 0, 1, 2);
    grid->addWidget(OkCancelHelpButtons(*this, kDialUpDialogTopic), 5, 0, 1, 2);
}

void CDialUpSettingsDlg::accept()
{
    settings_.dialUpEnabled = enable_->isChecked();
    settings_.useExistingConnection = existing_->isChecked();
    settings_.dialUpUser = Text(user_);
    settings_.dialUpPassword = Text(password_);
    QDialog::accept();
}

} // namespace qv
