// A listing of the InfoCentre store: every entry with its state, due time, expiry and texts, then the
// three AutoView queues.
#pragma once

#include <string>

namespace qv {
class CInCStore;
}

namespace qv::dev {

std::string DescribeInfoCentre(CInCStore& store);

} // namespace qv::dev
