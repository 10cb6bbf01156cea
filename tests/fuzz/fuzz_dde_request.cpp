// Fuzzes what a DDE client can send: arbitrary bytes cut into chunks, framed into lines, parsed as
// requests, with their names parsed as items and topics and their values encoded in every format.
#include "platform/LocalServer.h"
#include "shell/DdeItems.h"
#include "shell/DdeRequest.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace qv;
    if (size == 0)
        return 0;
    // The first byte sets the chunk size, as reads may cut the stream anywhere.
    size_t chunk = size_t(data[0] % 64) + 1;
    ++data;
    --size;
    LineFramer framer(256);
    std::vector<std::string> lines;
    for (size_t at = 0; at < size; at += chunk) {
        size_t n = size - at < chunk ? size - at : chunk;
        if (!framer.feed(reinterpret_cast<const char*>(data + at), n, lines))
            break;
    }
    if (framer.pending() > 256)
        std::abort();
    for (const std::string& line : lines) {
        if (line.size() > 256 || line.find('\n') != std::string::npos)
            std::abort();
        DdeRequest request;
        std::string error;
        if (!ParseDdeRequest(line, request, error)) {
            if (error.empty())
                std::abort();
            continue;
        }
        if (request.item.size() > kDdeNameMax || request.topic.size() > kDdeNameMax)
            std::abort();
        for (bool realTime : {false, true}) {
            if (std::optional<DdeItemCode> code = ParseDdeItemName(request.item, realTime)) {
                if (DdeItemName(*code).empty())
                    std::abort();
            }
        }
        std::string canonical = CanonicalDdeTopic(request.topic);
        if (canonical.find(':') == std::string::npos)
            std::abort();
        DdeValue value;
        value.type = kDdeText;
        value.text = request.item + request.format;
        int kind = GetDdeFormatKind(request.format);
        for (int format : {0, 1, 2, kind})
            EncodeDdeData(value, format);
    }
    return 0;
}
