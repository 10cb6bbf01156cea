// A fixture with the "Portfolio" layout open on the demo data in a program folder of its own: its
// database, portfolios and cash accounts, the share list and portfolio windows registered; afterwards
// all of it is gone again.
#pragma once

#include "devtools/lib/TempFolder.h"
#include "shell/ui/ChildWindow.h"
#include "support/ui/FactoryFrame.h"
#include "views/ui/ViewClassRegistry.h"

#include <filesystem>

namespace qv::test {

class PortfolioLayoutFrame : public FactoryFrame {
protected:
    PortfolioLayoutFrame();
    ~PortfolioLayoutFrame() override;

    // Lets the windows and the program's posted messages settle.
    static void Settle();

    // The first window of the layout whose view is a V, or null.
    template <class V>
    V* FindView() const
    {
        for (CChildWindow* child : factory->Children())
            if (auto* v = dynamic_cast<V*>(child->widget()))
                return v;
        return nullptr;
    }

private:
    // The portfolios and accounts the views save go here, not into the folder the tests run from.
    dev::TempFolder folder_;
    std::filesystem::path previousFolder_;
    ViewClassFactory previousList_;
};

} // namespace qv::test
