// The added-graph commands' share and colour choosers.
#include "chartmodel/ui/AddedGraphDialogs.h"

#include "chartmodel/AddedGraphEntries.h"
#include "core/ShareList.h"
#include "platform/qt/QtText.h"
#include "shell/ui/FindShareDlg.h"
#include "shell/ui/LineStyleDlg.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QCheckBox>

namespace qv {

void InstallAddedGraphDialogs()
{
    AddedGraphDialogs& seams = AddedGraphDialogSeams();
    seams.chooseColour = [](uint32_t background, uint32_t offered) -> std::optional<uint32_t> {
        CLineStyleDlg dialog(offered, background, QApplication::activeWindow());
        dialog.setWindowTitle(QStringLiteral("Choose colour for line"));
        // The pen is the graph's own: there is no default to set here.
        if (auto* setDefault = dialog.findChild<QCheckBox*>(QStringLiteral("2168")))
            setDefault->hide();
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return std::nullopt;
        return dialog.word();
    };
    seams.chooseShare = [](const std::string& title, ShareList* list) -> std::optional<RecordCursor> {
        RecordCursor preset;
        if (const RecordCursor* current = list ? CurrentEntry(list) : nullptr)
            preset = *current;
        CFindShareDlg dialog(QApplication::activeWindow(), preset);
        if (!title.empty())
            dialog.setWindowTitle(dialog.windowTitle() + QStringLiteral(" - ") + FromCp1252(title));
        if (dialog.run() != QDialog::Accepted || !dialog.chosen().record)
            return std::nullopt;
        return dialog.chosen();
    };
}

} // namespace qv
