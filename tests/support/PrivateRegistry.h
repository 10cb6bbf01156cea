// A registry file of the test's own for as long as the object lives; the previous file comes back.
#pragma once

#include "devtools/lib/TempFolder.h"
#include "platform/Registry.h"

namespace qv::test {

class PrivateRegistry {
public:
    PrivateRegistry() : previous_(Registry::Instance().file())
    {
        Registry::Instance().reopen(folder_ / "registry.ini");
    }
    ~PrivateRegistry() { Registry::Instance().reopen(previous_); }
    PrivateRegistry(const PrivateRegistry&) = delete;
    PrivateRegistry& operator=(const PrivateRegistry&) = delete;

private:
    dev::TempFolder folder_{"registry"};
    std::filesystem::path previous_;
};

} // namespace qv::test
