// The chart font chooser over the options block's chart font.
#include "chartmodel/ui/ChartFontDlg.h"

#include "chartmodel/ChartFont.h"
#include "core/ConfigState.h"
#include "core/ShareList.h"
#include "platform/qt/QtText.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/ModalDialog.h"

#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QFontInfo>
#include <QMessageBox>

#include <cmath>

namespace qv {

namespace {

QFont ToQFont(const ChartFont& stored)
{
    QFont font(FromCp1252(stored.face), stored.points);
    font.setBold(stored.weight >= 700);
    font.setItalic(stored.italic);
    font.setUnderline(stored.underline);
    return font;
}

ChartFont FromQFont(const QFont& font, const QWidget* on)
{
    ChartFont stored;
    stored.face = CutFontFace(ToCp1252(font.family()));
    stored.points = int(std::lround(font.pointSizeF()));
    stored.weight = font.bold() ? 700 : 400;
    stored.italic = font.italic();
    stored.underline = font.underline();
    int dpi = on ? on->logicalDpiY() : 96;
    stored.height = -int32_t(std::lround(double(stored.points) * dpi / 72.0));
    return stored;
}

// The chooser offers no script: its writing-system list and that list's caption are hidden.
void HideScriptChoice(QFontDialog& dialog)
{
    for (QComboBox* scripts : dialog.findChildren<QComboBox*>()) {
        scripts->hide();
        for (QLabel* caption : dialog.findChildren<QLabel*>())
            if (caption->buddy() == scripts)
                caption->hide();
    }
}

} // namespace

bool RunChartFontChooser(QWidget* parent)
{
    QFont chosen = ToQFont(ReadChartFont(Config().optionsA));
    for (;;) {
        QFontDialog dialog(chosen, parent);
        dialog.setObjectName(QStringLiteral("21103"));
        dialog.setOption(QFontDialog::DontUseNativeDialog);
        HideScriptChoice(dialog);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            return false;
        chosen = dialog.currentFont();
        int points = int(std::lround(chosen.pointSizeF()));
        if (ChartFontSizeValid(points))
            break;
        QMessageBox box(QMessageBox::Warning, dialog.windowTitle(),
                        QStringLiteral("Size must be between %1 and %2 points.")
                            .arg(ChartFont::kMinPoints)
                            .arg(ChartFont::kMaxPoints),
                        QMessageBox::Ok, parent);
        RunModalDialog(box);
    }
    WriteChartFont(Config().optionsA, FromQFont(chosen, parent));
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    return true;
}

} // namespace qv
