// Registry and profile settings through the platform registry.
#include "core/RegistrySettings.h"

#include "platform/ByteOrder.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

#include <climits>
#include <vector>

namespace qv {
namespace {

constexpr const char* kPlacementValue = "WinCoord";
constexpr const char* kServersSection = "RTComms2004";
constexpr const char* kAddressNames[3] = {"IPAddress1", "IPAddress2", "IPAddress3"};
constexpr const char* kPortNames[3] = {"IPAddPort1", "IPAddPort2", "IPAddPort3"};
constexpr const char* kDialUpName = "RASName";

std::vector<uint8_t> PlacementBytes(const WindowPlacement& p)
{
    ByteWriter w;
    w.u32(p.length);
    w.i32(p.flags);
    w.u32(p.showCommand);
    for (int32_t v : {p.minX, p.minY, p.maxX, p.maxY, p.normalLeft, p.normalTop, p.normalRight, p.normalBottom})
        w.i32(v);
    return w.take();
}

void ReadPlacement(const std::vector<uint8_t>& bytes, WindowPlacement& p)
{
    ByteReader r(bytes);
    r.u32(p.length);
    r.i32(p.flags);
    r.u32(p.showCommand);
    for (int32_t* v : {&p.minX, &p.minY, &p.maxX, &p.maxY, &p.normalLeft, &p.normalTop, &p.normalRight,
                       &p.normalBottom})
        r.i32(*v);
}

int ReadInt(const char* section, const char* name, int fallback)
{
    auto value = Registry::Instance().getU32(section, name);
    return value ? int(*value) : fallback;
}

} // namespace

void WindowCoordinates(bool write, WindowPlacement& placement)
{
    Registry& registry = Registry::Instance();
    if (write) {
        registry.setBinary("", kPlacementValue, PlacementBytes(placement));
        return;
    }
    placement.flags = -1;
    auto bytes = registry.getBinary("", kPlacementValue);
    // A value of another size is not a placement record; reading part of one would place the
    // window from half-filled fields.
    if (bytes && bytes->size() == WindowPlacement::kSize)
        ReadPlacement(*bytes, placement);
}

const std::array<std::string, 3>& DefaultRealTimeAddresses()
{
    static const std::array<std::string, 3> addresses{"127.0.0.1", "rt1.feed.quorvantis.invalid",
                                                      "rt2.feed.quorvantis.invalid"};
    return addresses;
}

int PortFromText(const std::string& text)
{
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return int(value);
}

RealTimeServers LoadRealTimeServers()
{
    Registry& registry = Registry::Instance();
    RealTimeServers servers;
    for (int i = 0; i < 3; ++i) {
        servers.addresses[i] =
            registry.getString(kServersSection, kAddressNames[i]).value_or(DefaultRealTimeAddresses()[i]);
        servers.ports[i] = PortFromText(
            registry.getString(kServersSection, kPortNames[i]).value_or(std::to_string(RealTimeServers::kDefaultPort)));
    }
    servers.dialUpName = registry.getString(kServersSection, kDialUpName).value_or("");
    return servers;
}

void SaveRealTimeServers(const RealTimeServers& servers)
{
    Registry& registry = Registry::Instance();
    for (int i = 0; i < 3; ++i) {
        registry.setString(kServersSection, kAddressNames[i], servers.addresses[i]);
        registry.setString(kServersSection, kPortNames[i], std::to_string(servers.ports[i]));
    }
    registry.setString(kServersSection, kDialUpName, servers.dialUpName);
}

DebugAndEmailSettings& DebugAndEmail()
{
    static DebugAndEmailSettings settings;
    return settings;
}

void LoadDebugAndEmailSettings()
{
    DebugAndEmail().debugLevel = ReadInt("Settings", "Debug Level", 0);
    DebugAndEmail().emailReceive = ReadInt("Comms", "EmailReceive", 1);
}

void SaveDebugAndEmailSettings()
{
    Registry& registry = Registry::Instance();
    registry.setU32("Settings", "Debug Level", uint32_t(DebugAndEmail().debugLevel));
    registry.setU32("Comms", "EmailReceive", uint32_t(DebugAndEmail().emailReceive));
}

std::filesystem::path ExportFolder()
{
    auto folder = Registry::Instance().getString("Settings", "ExportFolder");
    if (folder && !folder->empty())
        return *folder;
    return AppPath("data") / "Export";
}

} // namespace qv
