#pragma once
// The one standard way the add-in reports a failure: a critical message box
// whose text is the description, one blank and the number, titled with the
// procedure's name. Every procedure traps at its own boundary through Trap().
#include <exception>
#include <functional>
#include <string>

#include "forms/Ui.h"
#include "vbrt/VbError.h"

namespace forms {

void ReportError(Ui& ui, const std::string& title, const vbrt::VbError& error);

// Runs `body`; a VbError (or any other exception, reported as error 51,
// "Internal error") is reported under `title` and swallowed here. Returns true
// when the body finished without a failure. `filter` may claim an error first
// (return true: handled, no message).
bool Trap(Ui& ui, const std::string& title, const std::function<void()>& body,
          const std::function<bool(const vbrt::VbError&)>& filter = {});

}  // namespace forms
