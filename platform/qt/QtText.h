// Windows-1252 texts of the core at the Qt window boundary.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qv {

QString FromCp1252(std::string_view text);
std::string ToCp1252(const QString& text);

} // namespace qv
