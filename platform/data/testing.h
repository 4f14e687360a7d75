// Test hooks of the data-access component.
#pragma once

namespace ado::testing {

// Pretend the component is not installed: its ProgIDs are unknown and no object is created.
void setComponentInstalled(bool installed);

} // namespace ado::testing
