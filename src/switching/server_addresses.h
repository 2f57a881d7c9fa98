#pragma once
// The servers named in the launcher templates: five live servers and one experience server.
// They come from the build (the CMake cache variables VORLANE_LIVE_SERVERS and
// VORLANE_EXPERIENCE_SERVER), which checks their forms; the defaults there are reserved
// documentation addresses that reach no one, so a build that was never given the real ones
// cannot send a player's launcher to a stranger's machine.
// Macros, because the templates are joined from string literals at compile time.

#if !defined(VORLANE_LIVE_SERVER_1) || !defined(VORLANE_LIVE_SERVER_2) || !defined(VORLANE_LIVE_SERVER_3) || \
    !defined(VORLANE_LIVE_SERVER_4) || !defined(VORLANE_LIVE_SERVER_5) || !defined(VORLANE_EXPERIENCE_SERVER)
#error "The server addresses come from the build: VORLANE_LIVE_SERVERS and VORLANE_EXPERIENCE_SERVER in CMake"
#endif
