// The "Data Mining" progress window of filter runs, on the shared progress dialog.
#pragma once

namespace qv {

// Installs the window for the filter runs of datamining/FilterProgress.
void InstallFilterProgressDialog();

} // namespace qv
