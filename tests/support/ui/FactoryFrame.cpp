// The main-frame-and-window-factory fixture's set-up and tear-down.
#include "support/ui/FactoryFrame.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/Memory.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "core/WindowLayouts.h"
#include "devtools/lib/ShareListChain.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "platform/Paths.h"
#include "shell/KeyRouting.h"
#include "shell/TimerCallbacks.h"
#include "views/FrameState.h"

#include <QApplication>
#include <algorithm>

namespace qv::test {

FactoryFrame::FactoryFrame(int width, int height) : previousProgramFolder(ProgramFolder())
{
    std::filesystem::create_directories(programFolder.path() / "data");
    SetProgramFolder(programFolder.path());
    Config().optionsA.data()[OptionBlockA::kMultipleWindows] = 1;
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 1;
    WindowLayouts() = WindowLayoutSet{};
    MainWindowCreated = 1;
    portfolio.number = 0;
    PortfolioChain() = &portfolio;
    frame = std::make_unique<CMainFrame>();
    frame->resize(width, height);
    frame->show();
    QApplication::processEvents();
    factory = std::make_unique<CWindowFactory>(*frame);
}

FactoryFrame::~FactoryFrame()
{
    factory.reset();
    frame.reset();
    QApplication::processEvents();
    // Closed windows wait for a deferred delete that only a running event loop would do.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DeliverPostedMessages();
    ClearTimerCallbacks();
    SetFindShareDialog(nullptr);
    MainWindowCreated = 0;
    BusyFlag = DeferredFlag = 0;
    PortfolioChain() = nullptr;
    CurrentShareList() = nullptr;
    Config().optionsA.data()[OptionBlockA::kMultipleWindows] = 0;
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
    WindowLayouts() = WindowLayoutSet{};
    dev::FreeShareListChain();
    ProFree(portfolio.entries);
    SetProgramFolder(previousProgramFolder);
}

uint8_t* FactoryFrame::Share(uint16_t id)
{
    // The smallest whole record: the head with an empty name and no items, one ordinary share's
    // sub-record without prices, and the zero length that ends the sub-records.
    constexpr uint16_t kHead = RecordLayout::Text + 1;
    constexpr uint16_t kSub = SubRecordLayout::Stream;
    constexpr uint16_t kLength = kHead + kSub + 2;
    auto& r = records.emplace_back(std::make_unique<uint8_t[]>(kLength));
    std::fill_n(r.get(), kLength, uint8_t(0));
    StoreU16(r.get(), kLength);
    StoreU16(r.get() + RecordLayout::FirstSubRecord, kHead);
    StoreU16(r.get() + kHead + SubRecordLayout::Length, kSub);
    r[kHead + SubRecordLayout::Kind] = SubRecordKind::Ordinary;
    StoreU16(r.get() + 2, id);
    return r.get();
}

} // namespace qv::test
