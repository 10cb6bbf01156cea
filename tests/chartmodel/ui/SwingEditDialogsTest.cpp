// The swing edit list and its edit dialog, the event display dialog behind the Display Events
// samples, and the marker shapes they draw.
#include "chartmodel/ui/DisplayEventsDlg.h"
#include "chartmodel/ui/EventDisplayDlg.h"
#include "chartmodel/ui/MarkerBox.h"
#include "chartmodel/ui/SwingDesignDlg.h"
#include "chartmodel/ui/SwingEditDlgs.h"
#include "chartmodel/ui/VGViewColumnsDlg.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/DateText.h"
#include "core/PackedDate.h"
#include "devtools/lib/SyntheticDays.h"
#include "platform/ByteOrder.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/ModalDialog.h"
#include "support/ui/ControlById.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Control;
namespace gs = graphsetting;

class ModalAnswers {
public:
    explicit ModalAnswers(std::function<int(QDialog&)> answer) { SetModalDialogRunner(std::move(answer)); }
    ~ModalAnswers() { SetModalDialogRunner(nullptr); }
};

std::vector<DayRecord> Days() { return dev::MakeSyntheticDays(40); }

QString Line(QListWidget* list, int row) { return list->item(row)->text(); }

TEST(SwingEditList, NewestFirstWithTheTypeTextsAndNoEditsSaidSo)
{
    const std::vector<DayRecord> days = Days();
    std::vector<SwingEdit> none;
    CSwingEditListDlg empty(none, "Alder Foods", days);
    EXPECT_EQ(empty.windowTitle(), QStringLiteral("Swing edits for Alder Foods"));
    auto* list = Control<QListWidget>(empty, 4064);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(Line(list, 0), QStringLiteral("No swing edits"));
    list->setCurrentRow(0);
    EXPECT_FALSE(Control<QPushButton>(empty, 4066)->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(empty, 4068)->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(empty, 4067)->isEnabled());

    const PackedDate first = days[5].date, second = days[9].date;
    std::vector<SwingEdit> edits{{second, kEditUpTrend}, {first, kEditDownSwing}, {days[12].date, 64}};
    CSwingEditListDlg dialog(edits, "Alder Foods", days);
    list = Control<QListWidget>(dialog, 4064);
    ASSERT_EQ(list->count(), 3);
    EXPECT_TRUE(Line(list, 0).endsWith(QStringLiteral("\t"))) << "an unknown type shows no text";
    EXPECT_TRUE(Line(list, 1).endsWith(QStringLiteral("\tUp trend")));
    EXPECT_EQ(Line(list, 2), QString::fromStdString(SwingEditLine({first, kEditDownSwing})));
    const QString expected = QStringLiteral("%1\t%2/%3/%4\tDown swing")
                                 .arg(QString::fromLatin1(std::string(DayAbbreviation(WeekdayOf(first))).c_str()))
                                 .arg(DayOfMonth(first), 2, 10, QLatin1Char('0'))
                                 .arg(MonthOfYear(first), 2, 10, QLatin1Char('0'))
                                 .arg(FullYear(first) % 100, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(Line(list, 2), expected);
    const QImage shown = test::RenderWidget(dialog);
    test::SaveRender(shown, QStringLiteral("swing_edit_list"));
    // The last row ("Fri 09/01/15 Down swing" or so) is drawn once, its date never run into its type:
    // no unbroken run of ink is wider than a letter.
    const QRect row = list->visualItemRect(list->item(2)).translated(list->viewport()->mapTo(&dialog, QPoint()));
    int run = 0, widest = 0;
    for (int x = row.left(); x <= row.right(); ++x) {
        bool ink = false;
        for (int y = row.top(); y <= row.bottom() && !ink; ++y)
            ink = qGray(shown.pixel(x, y)) < 128;
        run = ink ? run + 1 : 0;
        widest = std::max(widest, run);
    }
    EXPECT_GT(widest, 0);
    EXPECT_LE(widest, 12);
}

TEST(SwingEditList, AddEditAndDeleteGoThroughTheEditDialogAndKeepTheDateOrder)
{
    const std::vector<DayRecord> days = Days();
    std::vector<SwingEdit> edits{{days[20].date, kEditUpSwing}};
    CSwingEditListDlg dialog(edits, "Alder Foods", days);
    auto* list = Control<QListWidget>(dialog, 4064);
    // Add an earlier day as a down trend: it goes to the bottom (the list shows the newest first).
    {
        ModalAnswers answers([&](QDialog& d) {
            auto* date = d.findChild<CDateEdit*>();
            date->date = days[3].date;
            date->FormatDate(true);
            Control<QRadioButton>(d, 4059)->setChecked(true);
            d.accept();
            return int(QDialog::Accepted);
        });
        Control<QPushButton>(dialog, 4067)->click();
    }
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(Line(list, 1).endsWith(QStringLiteral("Down trend")));
    // Edit the bottom line through the context menu's command: now an up swing.
    list->setCurrentRow(1);
    EXPECT_TRUE(Control<QPushButton>(dialog, 4068)->isEnabled());
    {
        ModalAnswers answers([&](QDialog& d) {
            Control<QRadioButton>(d, 4056)->setChecked(true);
            d.accept();
            return int(QDialog::Accepted);
        });
        dialog.RunMenuCommand(27281);
    }
    EXPECT_TRUE(Line(list, 1).endsWith(QStringLiteral("Up swing")));
    // Delete the top (the later day) and keep the rest on OK; more edits than there were fit.
    list->setCurrentRow(0);
    Control<QPushButton>(dialog, 4066)->click();
    ASSERT_EQ(list->count(), 1);
    dialog.accept();
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].date, days[3].date);
    EXPECT_EQ(edits[0].type, kEditUpSwing);
    // Delete and Edit without a selection do nothing.
    list->clearSelection();
    dialog.Delete();
    dialog.Edit();
    EXPECT_EQ(list->count(), 1);
}

TEST(EditSwing, ADateWithoutPricesDisablesTheTypesAndOkAndStoresNoDate)
{
    const std::vector<DayRecord> days = Days();
    SwingEdit edit{days[4].date, kEditDownTrend};
    CEditSwingDlg dialog(edit, "Alder Foods", days);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Edit swing event"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, 4059)->isChecked());
    EXPECT_TRUE(Control<QPushButton>(dialog, 1)->isEnabled());
    EXPECT_EQ(Control<QLabel>(dialog, 4036)->text(), QStringLiteral("Alder Foods"));
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("edit_swing_event"));
    auto* date = dialog.findChild<CDateEdit*>();
    date->date = PackedDate(days.back().date + 40); // past the prices
    date->FormatDate(true);
    EXPECT_EQ(Control<QLabel>(dialog, 4049)->text(), QStringLiteral("No prices for this date"));
    EXPECT_FALSE(Control<QPushButton>(dialog, 1)->isEnabled());
    EXPECT_FALSE(Control<QRadioButton>(dialog, 4056)->isEnabled());
    dialog.done(QDialog::Accepted);
    EXPECT_EQ(edit.date, 0);
}

TEST(SwingDesignOverrides, ShownForAShareAndEditedInTheListStoredOnOk)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    const std::vector<DayRecord> days = Days();
    std::vector<uint8_t> stored;
    CSwingDesignDlg dialog(setting, {}, [&](const std::vector<uint8_t>& entries) { stored = entries; }, 0);
    auto* overrides = Control<QPushButton>(dialog, 3945);
    EXPECT_TRUE(overrides->isHidden());
    dialog.SetShare("Alder Foods", days);
    EXPECT_FALSE(overrides->isHidden());
    {
        ModalAnswers answers([&](QDialog& d) {
            if (d.objectName() == QStringLiteral("844")) {
                EXPECT_EQ(d.windowTitle(), QStringLiteral("Swing edits for Alder Foods"));
                Control<QPushButton>(d, 4067)->click();
                d.accept();
                return int(QDialog::Accepted);
            }
            d.accept(); // the edit dialog: today has no price, so nothing is added
            return int(QDialog::Accepted);
        });
        overrides->click();
    }
    dialog.accept();
    EXPECT_TRUE(stored.empty());
}

TEST(EventDisplay, OkPacksTheEntryAndAnEmptyLetterStoresZero)
{
    uint8_t entry[16] = {};
    entry[0] = 1 | 4;
    entry[1] = 2;
    entry[3] = 'X';
    StoreU32(entry + 4, 0x40102030);
    StoreU32(entry + 8, 0x05A0B0C0);
    StoreU32(entry + 12, 0x02000080);
    CEventDisplayDlg dialog(entry);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Event Display Settings"));
    EXPECT_TRUE(Control<QCheckBox>(dialog, 4190)->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(dialog, 4189)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, 4191)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, 4193)->isChecked());
    EXPECT_EQ(Control<QLineEdit>(dialog, 4195)->text(), QStringLiteral("X"));
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("event_display_settings"));
    Control<QCheckBox>(dialog, 4189)->setChecked(true);
    Control<QCheckBox>(dialog, 4194)->setChecked(true);
    Control<QLineEdit>(dialog, 4195)->clear();
    dialog.accept();
    EXPECT_EQ(entry[0], 1 | 2 | 4);
    EXPECT_EQ(entry[1], 1 | 2 | 4) << "bit 0 always set";
    EXPECT_EQ(entry[2], 4);
    EXPECT_EQ(entry[3], 0);
    EXPECT_EQ(LoadU32(entry + 4), 0x40102030u);
    EXPECT_EQ(LoadU32(entry + 8), 0x05A0B0C0u) << "the background keeps its style byte";
    EXPECT_EQ(LoadU32(entry + 12), 0x02000080u) << "the border colours the pen, which keeps its style";

    uint8_t untouched[16] = {1, 0, 0, 'Q'};
    CEventDisplayDlg cancelled(untouched);
    cancelled.reject();
    EXPECT_EQ(untouched[1], 0);
}

TEST(EventDisplay, ASampleClickOpensTheKindsSettingsAndOkChangesTheSample)
{
    GraphSetting setting{};
    InitGraphSetting(setting, false);
    CDisplayEventsDlg dialog(setting);
    Control<QCheckBox>(dialog, 4172)->setChecked(true); // the samples wait for "Show events"
    int opened = 0;
    {
        ModalAnswers answers([&](QDialog& d) {
            ++opened;
            EXPECT_EQ(d.objectName(), QStringLiteral("27280"));
            Control<QLineEdit>(d, 4195)->setText(QStringLiteral("Z"));
            d.accept();
            return int(QDialog::Accepted);
        });
        Control<QPushButton>(dialog, 4142)->click();
    }
    EXPECT_EQ(opened, 1);
    dialog.accept();
    EXPECT_EQ(gs::U8(setting, gs::EventEntry(2) + gs::kEventLetter), 'Z');
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("display_events_samples"));
}

// The shapes on white: each filled in red with a black outline, 20 pixels square.
QImage Shape(uint8_t shape, bool filled, char letter = 0)
{
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    MarkerStyle m;
    m.shape = shape;
    m.lineFlags = filled ? 1 : 0;
    m.fill = 0x0000FF;
    m.pen = 0;
    m.letter = letter;
    m.letterColour = 0xFF0000;
    DrawMarkerBox(painter, QRect(5, 5, 20, 20), m, false, false);
    return image;
}

TEST(MarkerBox, ShapesFillAndOutlineWhereTheyShould)
{
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
    struct Case {
        uint8_t shape;
        QPoint filled, clear;
    } cases[] = {
        {2, QPoint(15, 20), QPoint(7, 8)},   // up: the bottom is wide, the top corners clear
        {3, QPoint(15, 9), QPoint(7, 22)},   // down: the top is wide, the bottom corners clear
        {4, QPoint(7, 8), QPoint(2, 2)},     // box: its corners filled
        {9, QPoint(7, 8), QPoint(2, 2)},     // any other code: a box
    };
    for (const Case& c : cases) {
        const QImage image = Shape(c.shape, true);
        EXPECT_EQ(image.pixel(c.filled), red) << int(c.shape);
        EXPECT_EQ(image.pixel(c.clear), white) << int(c.shape);
        EXPECT_EQ(Shape(c.shape, false).pixel(c.filled), white) << "outline only";
    }
    // A cross with no letter: the diagonals only.
    const QImage cross = Shape(6, true);
    EXPECT_EQ(cross.pixel(15, 15), qRgb(0, 0, 0));
    EXPECT_EQ(cross.pixel(15, 8), white);
    // Each shape with its letter, filled and outlined, as the chart's markers draw them.
    QImage strip(4 * 30, 60, QImage::Format_RGB32);
    strip.fill(Qt::white);
    {
        QPainter painter(&strip);
        const uint8_t shapes[4] = {2, 3, 4, 6};
        for (int i = 0; i < 4; ++i)
            for (int filled = 0; filled < 2; ++filled)
                painter.drawImage(30 * i, 30 * filled, Shape(shapes[i], filled != 0, char('A' + i)));
    }
    test::SaveRender(strip.scaled(480, 240), QStringLiteral("marker_shapes"));
}

TEST(MarkerBox, TheLetterTakesTheLargestSizeThatFits)
{
    // At 8 points a letter 6 wide and 10 high: a 20-pixel box gives min(22 x 8 / 10 + 1, 20 x 8 / 6) = 18.
    EXPECT_EQ(MarkerLetterPoints(20, 20, 6, 10), 18);
    EXPECT_EQ(MarkerLetterPoints(6, 20, 6, 10), 8);
    EXPECT_EQ(MarkerLetterPoints(3, 3, 6, 10), 4) << "too small to draw a letter of a large marker";
    EXPECT_EQ(MarkerLetterPoints(5, 5, 0, 10), 0);
    // The letter is drawn in its colour in a large box, not in a tiny one.
    auto hasRed = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qRed(image.pixel(x, y)) > 200 && qBlue(image.pixel(x, y)) < 80 && qGreen(image.pixel(x, y)) < 80)
                    return true;
        return false;
    };
    auto letterIn = [](int side) {
        QImage image(30, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        MarkerStyle m;
        m.letter = 'g';
        m.letterColour = 0x0000FF;
        DrawMarkerBox(painter, QRect(5, 5, side, side), m, false, false);
        return image;
    };
    EXPECT_TRUE(hasRed(letterIn(20)));
    EXPECT_FALSE(hasRed(letterIn(3)));
}

TEST(VGViewColumnsNotice, TheBoxTakesTheCallersFlagAndGivesItBackOnOk)
{
    bool dontShow = false;
    CVGViewColumnsDlg dialog(dontShow);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vantley Gazette View Columns"));
    auto* box = Control<QCheckBox>(dialog, 3136);
    EXPECT_FALSE(box->isChecked());
    bool first = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        first = first || label->text().startsWith(QStringLiteral("Please note that the views expressed in the VG views"));
    EXPECT_TRUE(first);
    test::SaveRender(test::RenderWidget(dialog), QStringLiteral("vg_view_columns_notice"));
    box->setChecked(true);
    Control<QPushButton>(dialog, 1)->click();
    EXPECT_TRUE(dontShow);
}

} // namespace
} // namespace qv
