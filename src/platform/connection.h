#pragma once
// Whether the computer is on a network, for the options that act only with an internet connection.

namespace tkv {

// True when an interface other than loopback is up and holds an IPv4 or IPv6 address that is
// neither loopback nor link-local (those appear without any network behind them).
bool internet_connection_present();

} // namespace tkv
