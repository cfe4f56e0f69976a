#pragma once
// What every routine of the add-in reaches: the host's root object (objVBE, set
// at connection) and the services of the run time it runs in: the user
// interface toolkit and the per-user settings store. The front end that hosts
// the add-in provides the services; nothing here is created by the add-in.
#include "forms/Ui.h"
#include "vbrt/SettingsStore.h"

namespace host {
class VBE;
}

namespace pv {

// The process-wide reference to the host's root object, set at connection.
extern host::VBE* objVBE;

struct Env {
    forms::Ui& ui;
    vbrt::SettingsStore& store;
};

// objVBE, or error 91 when the add-in is not connected.
host::VBE& Vbe();

}  // namespace pv
