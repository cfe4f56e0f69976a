#include "options/frmOptions.h"

namespace pv {

// Repair and compact are not offered yet.
void frmOptions::cmdCompact_Click() {}

}  // namespace pv
