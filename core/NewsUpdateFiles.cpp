// News update files waiting in the data folder: finding them, checking them and handing them to the
// news database's merge, deleting a file only once it has been merged.
#include "core/NewsUpdateFiles.h"

#include "platform/DebugOutput.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
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

// One message for the pass: each file is set aside once and not tried again.
void ReportSetAside(const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    std::string text = names.size() == 1 ? "A news update file could not be read and was not merged:\n"
                                          : "These news update files could not be read and were not merged:\n";
    for (const std::string& name : names)
        text += "\n" + name + " (kept unchanged as " + name + ".bad)";
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

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
    std::vector<std::string> setAside;
    for (const std::filesystem::path& file : FindNewsUpdateFiles()) {
        ++outcome.found;
        std::string name = file.filename().string();
        NewsMergeResult result = host.mergeNewsUpdate(name, file.parent_path());
        if (result == NewsMergeResult::SetAside) {
            ++outcome.setAside;
            OutputDebugText("News update " + name + " damaged; set aside");
            setAside.push_back(name);
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
    ReportSetAside(setAside);
    return outcome;
}

} // namespace qv
