#pragma once

namespace korvanel {

// Makes Windows start the notifier at every logon: the HKLM Run value
// "Korvanel" with this executable's full path, as REG_EXPAND_SZ. Written
// only when absent, so an administrator's own entry is left alone. Without
// the rights to the key nothing happens.
void RegisterAutoStart();

}  // namespace korvanel
