// qvtool mbo FILE: the fields of an outgoing mailbox message a submitted InfoCentre form left.
#include "devtools/qvtool/Verbs.h"
#include "infocentre/FormMessage.h"

#include <cstdio>

namespace qv::tool {
namespace {

int RunMbo(const std::vector<std::string>& args)
{
    int exitCode = 0;
    const std::optional<std::vector<uint8_t>> bytes = ReadFileArgument(args, "mbo FILE", exitCode);
    if (!bytes)
        return exitCode;
    const std::optional<FormMessage> message = ParseFormMessage(*bytes);
    if (!message) {
        std::fprintf(stderr, "%s: not a mailbox message\n", args[0].c_str());
        return 1;
    }
    std::printf("To: %s\nTitle: %s\nHeader: %zu bytes\n%sBody: %s\n", message->destination.c_str(), message->title.c_str(),
                message->header.size(), message->header.c_str(), message->body.c_str());
    return 0;
}

const Verb kMbo("mbo", "mbo FILE", "the fields of an outgoing mailbox message (MAILBOX\\OUT\\FRM*.MBO)", RunMbo);

} // namespace
} // namespace qv::tool
