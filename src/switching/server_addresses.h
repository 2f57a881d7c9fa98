#pragma once
// The servers named in the launcher templates: five live servers and one experience server.
// Distributors set the real addresses here. The defaults are reserved documentation
// addresses (RFC 5737, and a host name under .invalid) that reach no one, so a build that
// was never given the real ones cannot send a player's launcher to a stranger's machine.
// Macros, because the templates are joined from string literals at compile time.

#define VORLANE_LIVE_SERVER_1 "live1.vorlane.invalid"  // a host name of the live service
#define VORLANE_LIVE_SERVER_2 "192.0.2.11"
#define VORLANE_LIVE_SERVER_3 "192.0.2.12"
#define VORLANE_LIVE_SERVER_4 "198.51.100.13"
#define VORLANE_LIVE_SERVER_5 "198.51.100.14"
#define VORLANE_EXPERIENCE_SERVER "203.0.113.21"
