#include "settings/Env.h"

#include "vbrt/VbError.h"

namespace pv {

host::VBE* objVBE = nullptr;

host::VBE& Vbe() {
    if (!objVBE) vbrt::Raise(vbrt::err::ObjectNotSet);
    return *objVBE;
}

}  // namespace pv
