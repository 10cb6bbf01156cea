// The calculator dialog: its keys clicked and typed, the memory indicator, "Insert" handing the
// value back, "Exit" handing nothing; the number field's format and its drop button.
#include "tools/ui/CalculatorDlg.h"

#include "shell/FrameDialogSeams.h"
#include "shell/ui/CalcEdit.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/ModalDialog.h"
#include "support/ui/Render.h"
#include "tools/ui/ToolDialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace qv {
namespace {

QString Shown(const CCalculatorDlg& d) { return QString::fromStdString(d.calculator().display()); }

TEST(CalculatorDlgTest, KeysClickedAndTypedWorkTheSum)
{
    CCalculatorDlg d(0);
    EXPECT_EQ(d.windowTitle(), "Quorvantis Calculator");
    for (int id : {2300, 2311, 2293, 2287}) // 7 / 2 =
        QTest::mouseClick(d.button(id), Qt::LeftButton);
    EXPECT_EQ(Shown(d), "3.5");
    QTest::keyClicks(&d, "200+10%");
    EXPECT_EQ(Shown(d), "220");
    QTest::keyClick(&d, Qt::Key_Backspace);
    QTest::keyClicks(&d, "c1/3");
    QTest::keyClick(&d, Qt::Key_Return);
    EXPECT_EQ(Shown(d), "0.333333333333");
    auto* memory = d.findChild<QLabel*>(QString::number(CCalculatorDlg::kMemoryIndicator));
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(memory->text(), "");
    d.Press(2307); // M+
    EXPECT_EQ(memory->text(), "M");
    test::SaveRender(test::RenderWidget(d), "CalculatorDlg");
    d.Press(2310); // MC
    EXPECT_EQ(memory->text(), "");
    QTest::keyClicks(&d, "8/0=");
    EXPECT_EQ(Shown(d), "Cannot divide by zero.");
    QTest::keyClicks(&d, "12");
    EXPECT_EQ(Shown(d), "Cannot divide by zero.");
    QTest::keyClick(&d, Qt::Key_Delete); // CE
    QTest::keyClicks(&d, "12");
    EXPECT_EQ(Shown(d), "12");
}

TEST(CalculatorDlgTest, InsertHandsTheValueBackAndExitNothing)
{
    CCalculatorDlg insert(2.5);
    QTest::keyClicks(&insert, "*4");
    insert.Press(CCalculatorDlg::kInsert);
    EXPECT_EQ(insert.result(), std::optional<double>(4.0)) << "the displayed value";
    CCalculatorDlg exit(2.5);
    exit.Press(CCalculatorDlg::kExit);
    EXPECT_FALSE(exit.result().has_value());
}

TEST(CalculatorDlgTest, TheGeneralPagesOptionsSetItsLook)
{
    using D = CCalculatorDlg;
    struct Case {
        uint8_t mode;
        bool memoryButtons, calculation;
        const char* memory; // the indicator after M+ of 5
    };
    for (const Case& c : {Case{0, false, false, "M"}, Case{D::kMemoryButtons, true, false, "M"},
                          Case{D::kShowCalculation, false, true, "M"},
                          Case{D::kMemoryButtons | D::kMemoryValue, true, false, "Memory: 5"}}) {
        D d(0, c.mode);
        d.show();
        QTest::keyClicks(&d, "5");
        d.Press(2307); // M+
        QTest::keyClicks(&d, "+");
        for (int id : {2307, 2308, 2309, 2310})
            EXPECT_EQ(d.button(id)->isVisible(), c.memoryButtons) << int(c.mode);
        EXPECT_EQ(d.findChild<QLabel*>(QString::number(D::kMemoryIndicator))->text(), c.memory) << int(c.mode);
        EXPECT_EQ(d.calculationLine(), c.calculation ? "5 +" : "") << int(c.mode);
    }
    D normal(0, D::kStandardLook), large(0, D::kStandardLook | D::kLargeButtons);
    normal.show();
    large.show();
    EXPECT_GT(large.button(2300)->height(), normal.button(2300)->height());
    EXPECT_GT(large.button(2300)->font().pixelSize(), normal.button(2300)->font().pixelSize());
    test::SaveRender(test::RenderWidget(large), "CalculatorDlg_large_memory_value");
}

TEST(CalcEditTest, ValuesShowTwoOrFiveDecimalsLessTheirZeros)
{
    struct Case {
        double value;
        bool two;
        const char* shown;
    } cases[] = {
        {3, true, "3"},         {3.1, true, "3.10"},    {12.5, true, "12.50"}, {12.0, true, "12"},
        {12.345, true, "12.35"}, {-0.5, true, "-0.50"}, {3.1, false, "3.1"},   {1.234567, false, "1.23457"},
        {0, false, "0"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(CCalcEdit::FormatValue(k.value, k.two), k.shown) << k.value;
    CCalcEdit field;
    field.SetValue(3.1);
    EXPECT_EQ(field.edit()->text(), "3.10");
    field.SetTwoDecimals(false);
    EXPECT_EQ(field.edit()->text(), "3.1");
    field.Clear();
    EXPECT_EQ(field.edit()->text(), "");
    EXPECT_EQ(field.value(), 0);
}

TEST(CalcEditTest, TheDropButtonOpensTheCalculatorAndTakesWhatItInserts)
{
    InstallToolDialogs();
    SetModalDialogRunner([](QDialog& d) {
        auto& calc = dynamic_cast<CCalculatorDlg&>(d);
        EXPECT_EQ(calc.calculator().display(), "12.5");
        QTest::keyClicks(&calc, "*2=");
        calc.Press(CCalculatorDlg::kInsert);
        return d.result();
    });
    CCalcEdit field;
    field.SetValue(12.5);
    QTest::mouseClick(field.dropButton(), Qt::LeftButton);
    EXPECT_EQ(field.value(), 25);
    EXPECT_EQ(field.edit()->text(), "25");
    SetModalDialogRunner([](QDialog& d) {
        dynamic_cast<CCalculatorDlg&>(d).Press(CCalculatorDlg::kExit);
        return d.result();
    });
    QTest::mouseClick(field.dropButton(), Qt::LeftButton);
    EXPECT_EQ(field.value(), 25) << "Exit leaves the field";
    SetModalDialogRunner(nullptr);
    // A rate kept as a float opens as the field shows it.
    SetModalDialogRunner([](QDialog& d) {
        auto& calc = dynamic_cast<CCalculatorDlg&>(d);
        EXPECT_EQ(calc.calculator().display(), "1.44");
        calc.Press(CCalculatorDlg::kInsert);
        return d.result();
    });
    field.SetValue(double(1.44f));
    QTest::mouseClick(field.dropButton(), Qt::LeftButton);
    EXPECT_EQ(field.value(), 1.44);
    SetModalDialogRunner(nullptr);
    EXPECT_TRUE(bool(FrameDialogs().calculator));
    RemoveToolDialogs();
    EXPECT_FALSE(bool(FrameDialogs().calculator));
}

} // namespace
} // namespace qv
