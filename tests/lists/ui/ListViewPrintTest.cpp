// A real share list printed through the print dialog to PDF and previewed: the pages drawn, and the
// current row and first row shown put back afterwards.
#include "lists/ui/ListDialogCommands.h"
#include "lists/ui/ViewList.h"

#include "lists/ListOptions.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "shell/ui/ModalDialog.h"
#include "../ListFixture.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

class ListViewPrint : public ListFixture {
protected:
    void SetUp() override
    {
        std::vector<FixtureShare> shares;
        for (uint32_t i = 0; i < 12; ++i)
            shares.push_back({uint16_t(0x4001 + i), "Share " + std::to_string(i), {11}, MakeRecordFlags(kMarketMain, kIndexFtse100)});
        LoadShares(shares);
    }
    void TearDown() override
    {
        SetModalDialogRunner(nullptr);
        ForgetListRows();
    }
};

} // namespace

TEST_F(ListViewPrint, PrintsToPdfAndRestoresTheView)
{
    ShareList* list = NewList(0, 16);
    list->windowSlot = -1;
    SelectColumnSetting(list, kListKindShares, 0, false, false);
    RefreshListRows(list, true, true);
    ASSERT_GT(ShareListCount(list), 3);
    CViewList view(1);
    view.list = list;
    view.SetFixedFontPixels(12);
    list->current = 2;
    list->firstVisible = 1;

    const QString path = QStringLiteral("/tmp/qv-list-view-print-%1.pdf").arg(::getpid());
    SetModalDialogRunner([&](QDialog& d) {
        auto* dialog = qobject_cast<QPrintDialog*>(&d);
        if (!dialog)
            return int(QDialog::Rejected);
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(path);
        return int(QDialog::Accepted);
    });
    PrintListView(view, false, nullptr);
    QFile pdf(path);
    ASSERT_TRUE(pdf.exists());
    EXPECT_GT(pdf.size(), 1000);
    EXPECT_EQ(list->current, 2);
    EXPECT_EQ(list->firstVisible, 1);
    QFile::remove(path);

    // The preview closes as Cancel would in an unattended run.
    SetModalDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    PrintListView(view, true, nullptr);
    EXPECT_EQ(list->current, 2);
}
