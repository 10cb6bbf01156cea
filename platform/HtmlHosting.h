// Hosting of HTML controls and the pre-loading of the browser's in-process servers. Neither exists
// on this platform; both report "not present" so that the InfoCentre stays switched off.
#pragma once

#include <string_view>

namespace qv {

inline constexpr std::string_view kWebBrowserClassId = "{8856F961-340A-11D0-A96B-00C04FD705A2}";
inline constexpr std::string_view kHtmlDocumentClassId = "{25336920-03F9-11CF-8FD0-00AA00686F13}";

// Installs the control-occurrence manager for controls inside the HTML view; false when none exists.
bool InstallHtmlControlHosting();
// Loads the in-process server of a class id ahead of its first use; false when it is not present.
bool PreloadInProcessServer(std::string_view classId);

} // namespace qv
