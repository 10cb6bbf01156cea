// Feeds arbitrary bytes to the readers of the filter, window-layout and time-zone files and to the
// command-line parser: none may read out of bounds, loop without end or crash.
#include "core/FilterFile.h"
#include "core/TimeZoneFile.h"
#include "core/WindowLayoutFile.h"
#include "platform/ByteOrder.h"
#include "shell/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    qv::FilterFileFormat format;
    format.subVersion = data[0] % 6;
    format.level = uint8_t(99 + data[1] % 4);
    format.filterCount = data[2];
    qv::ByteReader in(data + 3, size - 3);
    if (auto contents = qv::ReadFilterBody(in, format)) {
        qv::ByteWriter out;
        qv::WriteFilterBody(out, contents->filters);
    }

    std::vector<uint8_t> image(data, data + size);
    if (auto contents = qv::ReadFilterFile(image))
        qv::BuildFilterFile(contents->filters, nullptr);
    qv::WindowLayoutSet set;
    qv::LayoutLoadContext context;
    context.multipleWindows = (data[0] & 1) != 0;
    qv::ApplyLayoutFile(image, (data[1] % 15) - 1, context, set);
    qv::BuildLayoutFile(set, data[2] % 13, image);

    qv::ReadTimeZoneBody(std::span<const uint8_t>(data, size));
    qv::ParseCommandLine(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
