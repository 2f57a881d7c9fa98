#pragma once
// The product version comes from the build (CMake's project version), the one place it is
// set: it names the window and the message boxes, fills the version label and the version
// resource, and names the release.
#ifndef VORLANE_VERSION
#error "VORLANE_VERSION comes from the build: CMake's project version"
#endif

// "Vorlane1.0": the title of the main window and of every message box.
#define VORLANE_TITLE "Vorlane" VORLANE_VERSION
