// The list views' dialogs and link opener.
#include "lists/ui/ListViewSeams.h"

#include "core/ColumnDef.h"
#include "core/ConfigState.h"
#include "core/SystemDate.h"
#include "lists/ui/ColumnDialogs.h"
#include "lists/ui/EditNoteDlg.h"
#include "lists/ui/ResultsSheetDlg.h"
#include "platform/qt/QtText.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/ModalDialog.h"


namespace qv {
namespace {

ShellOpenFunction& Opener()
{
    static ShellOpenFunction open;
    return open;
}

// A date parameter as the dialogs' unit and value, and back.
std::pair<int, int> UnitAndValue(int32_t parameter) { return {(parameter >> 16) & 7, parameter & 0xFFFF}; }
int32_t DateParameterOf(std::pair<int, int> choice)
{
    const int unit = choice.first >= 1 && choice.first <= 5 ? choice.first : 0;
    return int32_t((uint32_t(unit) << 16) | (uint32_t(choice.second) & 0xFFFF));
}

} // namespace

ListColumnDialogs& ColumnDialogs()
{
    static ListColumnDialogs dialogs;
    return dialogs;
}

std::optional<std::string> AskColumnName(QWidget* parent, const std::string& heading, const std::string& ownTitle,
                                         const std::string& defaultName)
{
    if (const auto& ask = ColumnDialogs().rename)
        return ask(heading, ownTitle);
    CColumnNameDlg dialog(QString::fromStdString(heading), QString::fromStdString(defaultName), parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.name().toStdString();
}

std::optional<std::string> AskNote(QWidget* parent, const std::string& heading, const std::string& share,
                                   const std::string& text)
{
    if (const auto& ask = ColumnDialogs().note)
        return ask(heading, share, text);
    CEditNoteDlg dialog(FromCp1252(heading), FromCp1252(share), FromCp1252(text), parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return ToCp1252(dialog.text());
}

std::optional<int> AskColumnNumber(QWidget* parent, const std::string& title, const std::string& prompt,
                                   const std::string& hint, int initial, bool limited)
{
    if (const auto& ask = ColumnDialogs().number)
        return ask(title, prompt, hint, initial);
    constexpr uint32_t kNumberEntryHelp = 0x20000 + 218;
    CTextEntryDlg dialog(QString::fromStdString(title), QString::fromStdString(prompt), QString::fromStdString(hint),
                         kNumberEntryHelp, initial, limited, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.value();
}

std::optional<ResultsChoice> AskResultsColumn(QWidget* parent, int command, const uint8_t* def, int columnCount,
                                              std::function<int(const ResultsChoice&)> addNow)
{
    if (const auto& ask = ColumnDialogs().results)
        return ask(command);
    // The one-page results command opens the sheet on its headline page; the sheet's own command
    // and an edit open the page last used or the page of the column's kind.
    const bool change = def != nullptr && ColumnDefKind(def) == kColumnResultsChange;
    const int page = def ? (change ? 1 : 0) : (command == 26094 ? 0 : -1);
    CResultsV2 sheet(def == nullptr, page, columnCount, parent);
    if (def && change)
        sheet.advanced().setChoice(AdvancedOfResultsColumn(ColumnDefCode(def), def[ColumnDefLayout::Option]));
    else if (def)
        sheet.basic().setChoice(BasicOfResultsColumn(ColumnDefCode(def), int8_t(def[ColumnDefLayout::Option])));
    const auto chosen = [](CResultsV2& s) {
        return s.activePage() == 1 ? ResultsChoiceOfAdvanced(s.advanced().choice()) : ResultsChoiceOfBasic(s.basic().choice());
    };
    if (addNow)
        sheet.setAddNow([&](const CResultsV2&) { return addNow(chosen(sheet)); });
    if (RunModalDialog(sheet) != QDialog::Accepted)
        return std::nullopt;
    return chosen(sheet);
}

std::optional<std::pair<int32_t, int32_t>> AskDateParameters(QWidget* parent, int command, int fieldCode,
                                                             std::pair<int32_t, int32_t> current)
{
    if (const auto& ask = ColumnDialogs().parameters)
        return ask(command);
    if (fieldCode == 30 || fieldCode == 31) {
        const auto [unit, value] = UnitAndValue(current.first);
        CPriceDateDlg dialog(unit, value, GetLatestTradingDate(0), parent);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        return std::pair<int32_t, int32_t>{DateParameterOf(dialog.choice()), 0};
    }
    if (fieldCode == 56 || fieldCode == 57) {
        CPriceChangeDlg dialog(UnitAndValue(current.first), UnitAndValue(current.second), GetLatestTradingDate(0),
                               GetLatestTradingDate(1), parent);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        return std::pair<int32_t, int32_t>{DateParameterOf(dialog.first()), DateParameterOf(dialog.second())};
    }
    if (fieldCode == 87) {
        const auto [unit, value] = UnitAndValue(current.first);
        CVolumeDateDlg dialog(unit, value, GetLatestTradingDate(0), parent);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        return std::pair<int32_t, int32_t>{DateParameterOf(dialog.choice()), 0};
    }
    if (fieldCode == 88) {
        // The average spans trading days.
        CVolumeAverageDlg dialog(current.first & 0xFFFF, parent);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        return std::pair<int32_t, int32_t>{DateParameterOf({5, dialog.days()}), 0};
    }
    return std::nullopt;
}

std::optional<HighLowChoice> AskHighLowColumn(QWidget* parent, int fieldCode, int subKind, int32_t periodKind,
                                             int32_t periodValue)
{
    if (const auto& ask = ColumnDialogs().highLow)
        return ask();
    OptionBlockB& block = Config().optionsB;
    HighLowPeriods periods{ReadHighLowPeriod(block, OptionBlockB::kGlobalHighLowPeriod),
                           ReadHighLowPeriod(block, OptionBlockB::kColumnHighLowPeriod)};
    std::optional<CHighLowColumnDlg> dialog;
    if (fieldCode == 0)
        dialog.emplace(periods, false, 0, GetLatestTradingDate(0), parent);
    else
        dialog.emplace(periods, fieldCode, subKind, HighLowPeriod{uint16_t(periodKind), uint16_t(periodValue)},
                       GetLatestTradingDate(0), parent);
    const bool accepted = RunModalDialog(*dialog) == QDialog::Accepted;
    // The periods entered through the settings buttons are kept whether or not the column is added.
    WriteHighLowPeriod(block, OptionBlockB::kGlobalHighLowPeriod, periods.global);
    WriteHighLowPeriod(block, OptionBlockB::kColumnHighLowPeriod, periods.lastColumn);
    if (!accepted)
        return std::nullopt;
    HighLowChoice choice;
    choice.family = dialog->customPeriod() ? 1 : 0;
    choice.measure = dialog->display();
    choice.side = dialog->lows() ? 1 : 0;
    if (dialog->customPeriod()) {
        choice.parameter1 = dialog->ownPeriod().kind;
        choice.parameter2 = dialog->ownPeriod().value;
    }
    return choice;
}

void SetShellOpen(ShellOpenFunction open)
{
    Opener() = std::move(open);
}

void ShellOpen(const std::string& link)
{
    if (Opener()) {
        Opener()(link);
        return;
    }
    OpenExternal(link);
}

} // namespace qv
