// Installs the portfolio windows: the portfolio view's class and the portfolio dialogs behind the
// seams of the frame, the lists, the details view and the add-to-portfolio path.
#pragma once

namespace qv {

void InstallPortfolioWindows();
// Puts every seam back as it was before the install (tests).
void RemovePortfolioWindows();

} // namespace qv
