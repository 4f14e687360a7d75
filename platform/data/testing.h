// Test hooks of the data-access component.
#pragma once

namespace ado {
class Recordset;
}

namespace ado::testing {

// Pretend the component is not installed: its ProgIDs are unknown and no object is created.
void setComponentInstalled(bool installed);

// Whether an open static recordset reads through the cheaper plan rather than its statement as
// written.
bool readsThroughCheaperPlan(Recordset* recordset);

} // namespace ado::testing
