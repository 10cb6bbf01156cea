// The Qt side of the application services: the installed fonts and the default printer's settings.
#pragma once

class QPageLayout;

namespace qv {

// Call once after the QApplication exists.
void InstallAppServicesQt();

// The page layout the program prints with; its orientation follows the stored landscape flag.
QPageLayout& DefaultPrinterPageLayout();

} // namespace qv
