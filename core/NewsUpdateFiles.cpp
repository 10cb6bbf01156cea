// News update files waiting in the data folder: finding them, checking them and handing them to the
// news database's merge, deleting a file only once it has been merged.
#include "core/NewsUpdateFiles.h"

#include "platform/DebugOutput.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

namespace qv {

namespace {

NewsMergeHost& StandInHost()
{
    static NewsMergeHost host;
    return host;
}

NewsMergeHost*& CurrentHost()
{
    static NewsMergeHost* host = &StandInHost();
    return host;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

class ExclusiveNewsLock {
public:
    explicit ExclusiveNewsLock(NewsMergeHost& host) : host_(host) { host_.lockExclusive(); }
    ~ExclusiveNewsLock() { host_.unlock(); }
    ExclusiveNewsLock(const ExclusiveNewsLock&) = delete;
    ExclusiveNewsLock& operator=(const ExclusiveNewsLock&) = delete;

private:
    NewsMergeHost& host_;
};

} // namespace

NewsMergeHost* SetNewsMergeHost(NewsMergeHost* host)
{
    NewsMergeHost* previous = CurrentHost();
    CurrentHost() = host ? host : &StandInHost();
    return previous == &StandInHost() ? nullptr : previous;
}

bool IsNewsUpdateFileName(std::string_view name)
{
    if (name.size() != 11 || Upper(name[0]) != 'N')
        return false;
    std::string_view extension = name.substr(7);
    return extension[0] == '.' && Upper(extension[1]) == 'U' && Upper(extension[2]) == 'P' &&
           Upper(extension[3]) == 'D';
}

std::vector<std::filesystem::path> FindNewsUpdateFiles()
{
    std::filesystem::path folder = AppPath("data");
    std::vector<std::filesystem::path> files;
    for (const std::string& name : FindFiles(folder, "*.upd")) {
        std::error_code error;
        std::filesystem::path path = folder / name;
        if (IsNewsUpdateFileName(name) && std::filesystem::is_regular_file(path, error))
            files.push_back(path);
    }
    return files;
}

NewsUpdateOutcome ApplyNewsUpdateFiles()
{
    NewsMergeHost& host = *CurrentHost();
    host.showProgress("Creating List");
    ExclusiveNewsLock lock(host);
    host.loadNewsDatabase();
    NewsUpdateOutcome outcome;
    for (const std::filesystem::path& file : FindNewsUpdateFiles()) {
        ++outcome.found;
        std::string name = file.filename().string();
        NewsMergeResult result = host.mergeNewsUpdate(name, file.parent_path());
        if (result == NewsMergeResult::SetAside) {
            ++outcome.setAside;
            OutputDebugText("News update " + name + " damaged; set aside");
            continue;
        }
        if (result != NewsMergeResult::Merged) {
            ++outcome.kept;
            OutputDebugText("News update " + name + " not merged; kept");
            continue;
        }
        ++outcome.merged;
        if (!ForceDelete(file))
            OutputDebugText("News update " + name + " merged but could not be deleted");
    }
    return outcome;
}

} // namespace qv
