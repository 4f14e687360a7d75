// Test hooks of the data-access component.
#pragma once

#include "platform/data/ado.h"

namespace ado::testing {

// A new recordset bound to `connection` the way screens bind one (a VARIANT holding it); what the
// binding answered goes to `bound` when asked for.
inline Recordset* recordsetOn(Connection* connection, HRESULT* bound = nullptr) {
    Recordset* recordset = createRecordset();
    if (!recordset) return nullptr;
    VARIANT active;
    VariantInit(&active);
    active.vt = VT_DISPATCH;
    active.pdispVal = connection;
    const HRESULT answer = recordset->put_ActiveConnection(active);
    if (bound) *bound = answer;
    return recordset;
}

// Pretend the component is not installed: its ProgIDs are unknown and no object is created.
void setComponentInstalled(bool installed);

// Whether an open static recordset reads through the cheaper plan rather than its statement as
// written.
bool readsThroughCheaperPlan(Recordset* recordset);

} // namespace ado::testing
