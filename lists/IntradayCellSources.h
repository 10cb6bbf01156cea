// Hands the list cells' intraday seams (values, flashes, small graphs, column names) to the intraday
// engine.
#pragma once

namespace qv {

void InstallIntradayCellSources();

} // namespace qv
