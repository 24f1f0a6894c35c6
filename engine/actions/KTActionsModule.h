#pragma once

namespace kt {

// Plugs the actions module into the core: a fresh action manager and the state animator into the director,
// and the affine animation loader into the node factory. The program calls it once at start-up, after the
// director exists; tests call it before each case.
void KTInstallActionsModule();

}  // namespace kt
