// qvdde: asks the running program's DDE price server for a share's values, once or as they change.
//
//     qvdde [--socket PATH] TOPIC request ITEM [FORMAT]
//     qvdde [--socket PATH] TOPIC advise ITEM [FORMAT] [COUNT]
#include "app/LayerHooks.h"
#include "devtools/lib/DdeClient.h"
#include "platform/LocalServer.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: qvdde [--socket PATH] TOPIC request ITEM [FORMAT]\n"
                         "       qvdde [--socket PATH] TOPIC advise ITEM [FORMAT] [COUNT]\n"
                         "FORMAT: CF_TEXT (default), XlTable or \"Rich Text Format\"\n");
    return 2;
}

// Text values are printed as they are; XlTable blocks as hexadecimal bytes.
void PrintValue(const std::string& format, const std::string& data)
{
    if (format == "XlTable") {
        for (unsigned char c : data)
            std::printf("%02x", c);
        std::printf("\n");
    } else {
        std::printf("%s\n", qv::dev::DdeText(data).c_str());
    }
    std::fflush(stdout);
}

int Refused(const qv::dev::DdeReply& reply, const char* what)
{
    if (reply.kind == qv::dev::DdeReply::Error)
        std::fprintf(stderr, "qvdde: %s: error: %s\n", what, reply.text.c_str());
    else
        std::fprintf(stderr, "qvdde: %s refused\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    qv::InstallLayerHooks();
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string path = qv::LocalServerPath(std::string(qv::dev::kDdeServiceName));
    if (args.size() >= 2 && args[0] == "--socket") {
        path = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() < 3 || (args[1] != "request" && args[1] != "advise"))
        return Usage();
    const std::string& topic = args[0];
    const std::string& item = args[2];
    std::string format = args.size() >= 4 ? args[3] : "CF_TEXT";
    long count = args.size() >= 5 ? std::strtol(args[4].c_str(), nullptr, 10) : 1;

    qv::dev::DdeClient client;
    std::string error;
    if (!client.open(path, &error)) {
        std::fprintf(stderr, "qvdde: %s\n", error.c_str());
        return 1;
    }
    qv::dev::DdeReply connected = client.call(std::string("CONNECT ") + std::string(qv::dev::kDdeServiceName) + " " + topic);
    if (connected.kind != qv::dev::DdeReply::Ok)
        return Refused(connected, "connect");
    if (args[1] == "request") {
        qv::dev::DdeReply reply = client.call("REQUEST " + item + " " + format);
        if (reply.kind != qv::dev::DdeReply::Data)
            return Refused(reply, "request");
        PrintValue(format, reply.data);
        return 0;
    }
    qv::dev::DdeReply started = client.call("ADVSTART " + item + " " + format);
    if (started.kind != qv::dev::DdeReply::Ok)
        return Refused(started, "advise");
    for (long i = 0; count <= 0 || i < count; ++i) {
        std::optional<qv::dev::DdeAdvise> advise = client.waitAdvise(24 * 3600 * 1000);
        if (!advise)
            return 1;
        PrintValue(format, advise->data);
    }
    client.call("ADVSTOP " + item + " " + format);
    return 0;
}
