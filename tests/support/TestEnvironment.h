// Set-up shared by the test programs: a private configuration folder so that no test touches the
// user's own settings.
#pragma once

namespace qv::test {

void PrepareTestEnvironment();

} // namespace qv::test
