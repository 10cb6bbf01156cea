// The demo's company fields that the field-descriptor route and the details page read: the company
// calendar (fields 0x60-0x6F), telephone, website and e-mail (0x70-0x72), a previous name for some
// companies (0x75) and a partner view for a few (123). All are worked out from the record itself, so
// they draw nothing from the engines that make prices, texts and results.
#pragma once

#include "devtools/lib/DatabaseWriter.h"
#include "devtools/lib/DemoDatabase.h"

#include <vector>

namespace qv::dev {

// The Comp.dat descriptors of these fields (record section).
std::vector<FieldDescriptor> DemoCompanyFieldDescriptors();
// Adds the fields of a company (a record with a description) to its item; `n` is its position among
// the companies.
void AddDemoCompanyFields(const DemoRecord& record, int n, CompanyItem& item);

} // namespace qv::dev
