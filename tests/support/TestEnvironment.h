// Set-up shared by the test programs: a private configuration folder so that no test touches the
// user's own settings, and process-wide state put back before each test so that tests run in any order.
#pragma once

namespace qv::test {

void PrepareTestEnvironment();

} // namespace qv::test
