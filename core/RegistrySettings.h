// Settings kept in the registry rather than the configuration file: the main window's placement,
// the real-time feed servers, the debug level, the e-mail-receive switch and the export folder.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace qv {

// The platform's window-placement record, stored as the 44-byte binary value "WinCoord".
struct WindowPlacement {
    static constexpr size_t kSize = 44;

    uint32_t length = kSize;
    int32_t flags = 0; // -1 after a read that found nothing stored
    uint32_t showCommand = 0;
    int32_t minX = 0, minY = 0;
    int32_t maxX = 0, maxY = 0;
    int32_t normalLeft = 0, normalTop = 0, normalRight = 0, normalBottom = 0;
};

// write = false reads "WinCoord" into the placement (flags stays -1 when no value of the right size
// is stored); write = true stores it.
void WindowCoordinates(bool write, WindowPlacement& placement);

struct RealTimeServers {
    static constexpr int kDefaultPort = 7005;

    std::array<std::string, 3> addresses;
    std::array<int, 3> ports{kDefaultPort, kDefaultPort, kDefaultPort};
    std::string dialUpName; // "RASName"
};

// The built-in feed-server endpoints used until the user sets others.
const std::array<std::string, 3>& DefaultRealTimeAddresses();

RealTimeServers LoadRealTimeServers();
void SaveRealTimeServers(const RealTimeServers& servers);

// A port entry's text read as a number: its leading decimal digits, 0 when there are none.
int PortFromText(const std::string& text);

// The two program-wide switches kept under "Settings" and "Comms".
struct DebugAndEmailSettings {
    int debugLevel = 0;
    int emailReceive = 1;
};
DebugAndEmailSettings& DebugAndEmail();

void LoadDebugAndEmailSettings();
void SaveDebugAndEmailSettings();

// The folder every export's file dialog starts in: the "Settings" value "ExportFolder", else the data
// folder's "Export".
std::filesystem::path ExportFolder();

} // namespace qv
