// The progress dialog the breadth series build shows while it walks many shares.
#pragma once

namespace qv {

// Installs the dialog as the breadth build's progress; call once after the QApplication exists.
void InstallSeriesProgressDialog();

} // namespace qv
