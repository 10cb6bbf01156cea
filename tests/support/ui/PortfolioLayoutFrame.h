// A fixture with the "Portfolio" layout open on the demo data: its database, portfolios and cash
// accounts, the share list and portfolio windows registered; afterwards all of it is gone again.
#pragma once

#include "support/ui/FactoryFrame.h"
#include "views/ui/ViewClassRegistry.h"

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
    ViewClassFactory previousList_;
};

} // namespace qv::test
