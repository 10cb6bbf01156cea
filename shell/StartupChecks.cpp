// Start-up's checks of the machine and its small preparations before the files are read.
#include "shell/StartupChecks.h"

#include "core/Document.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace qv {
namespace {

constexpr int kResolutionAdviceStarts = 20;

std::string SupportLine()
{
    return std::string("\n\nIf you need help changing this please ring support on ") + kHelpTelephone;
}

} // namespace

void CheckColourDepth(int bitsPerPixel)
{
    if (bitsPerPixel > 8)
        return;
    ShowMessage("Quorvantis runs best with a colour depth of 16 bits or more" + SupportLine(), {},
                MsgButtons::Ok, MsgIcon::Exclamation);
}

bool CheckResolution(int screenWidth, uint8_t& counter)
{
    if (screenWidth >= 800) {
        counter = 0;
        return false;
    }
    if (counter > 0) {
        --counter;
        return false;
    }
    counter = kResolutionAdviceStarts;
    ShowMessage(std::string("Quorvantis runs best with a screen resolution of ") + "800 x 600" + " or more" +
                    SupportLine(),
                {}, MsgButtons::Ok, MsgIcon::Exclamation);
    return true;
}

void TrimLogFile(const std::filesystem::path& file, uint64_t limit)
{
    std::error_code ec;
    uint64_t size = std::filesystem::file_size(file, ec);
    if (ec || size <= limit)
        return;
    ForceDelete(file);
}

std::vector<uint8_t> ReadStoredUpdateMessage(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    uint8_t head[4];
    if (!in.read(reinterpret_cast<char*>(head), 4))
        return {};
    uint32_t length = uint32_t(head[0]) | uint32_t(head[1]) << 8 | uint32_t(head[2]) << 16 | uint32_t(head[3]) << 24;
    std::error_code ec;
    uint64_t size = std::filesystem::file_size(file, ec);
    // A stated length beyond the file is a damaged file: take only what is there.
    uint64_t available = ec || size < 4 ? 0 : size - 4;
    uint64_t take = std::min<uint64_t>(length, available);
    std::vector<uint8_t> message(take + 1, 0);
    in.read(reinterpret_cast<char*>(message.data()), std::streamsize(take));
    message.resize(size_t(in.gcount()) + 1);
    message.back() = 0;
    return message;
}

std::vector<uint8_t>& StoredUpdateMessage()
{
    static std::vector<uint8_t> message;
    return message;
}

int ListFontHeightForWidth(int screenWidth)
{
    if (screenWidth < 1000)
        return -11;
    if (screenWidth < 1200)
        return -12;
    return -15;
}

int FontHeightForPoints(int points, int pixelsPerInchY)
{
    return -(points * pixelsPerInchY / 72);
}

StartupFonts& ProgramFonts()
{
    static StartupFonts fonts;
    return fonts;
}

void PrepareFonts(int screenWidth, int pixelsPerInchY)
{
    StartupFonts& f = ProgramFonts();
    f.largeHeight = FontHeightForPoints(10, pixelsPerInchY);
    f.smallHeight = FontHeightForPoints(8, pixelsPerInchY);
    int list = ListFontHeightForWidth(screenWidth);
    f.baseHeight = list;
    f.listHeight = list;
    f.secondListHeight = list;
    f.fixedLarge = -15;
    f.fixedSmall = -11;
    f.pixelsPerInchY = pixelsPerInchY;
}

bool HandleKeysHeldAtStart(bool spaceHeld, bool ctrlHeld)
{
    if (spaceHeld &&
        ShowMessage("Are you sure you wish to clear the news index & title files?", {}, MsgButtons::YesNo,
                    MsgIcon::Question) == MsgAnswer::Yes) {
        ForceDelete(AppPath("data\\News\\TNews.dat"));
        ForceDelete(AppPath("data\\News\\INews.dat"));
    }
    if (!ctrlHeld)
        return false;
    return ShowMessage("Do you want to load Quorva.cfg?", {}, MsgButtons::YesNo, MsgIcon::Question, 1) !=
           MsgAnswer::Yes;
}

} // namespace qv
