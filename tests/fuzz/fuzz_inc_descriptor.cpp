// Fuzzes the InfoCentre descriptor reader: any bytes are read within their bounds, and every
// attached name that is accepted lies inside the content folder.
#include "infocentre/InCDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    uint16_t number = uint16_t(data[0] | data[1] << 8);
    qv::InCDocRecord record;
    if (!qv::ParseInCDescriptor(std::span(data + 2, size - 2), number, record))
        return 0;
    if (record.summary.number != number || record.files.size() > size)
        std::abort();
    const std::filesystem::path folder = "/content";
    for (const std::string& name : record.files)
        if (auto path = qv::ContentFilePath(folder, name))
            if (path->lexically_relative(folder).begin()->string() == "..")
                std::abort();
    return 0;
}
