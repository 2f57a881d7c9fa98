#pragma once
// The launcher files each server needs, held by the hidden edit boxes of the main window.
namespace vorlane::templates {

extern const char* const kVersionHead;         // liveVersionHeadTemplate, experienceVersionHeadTemplate
extern const char* const kVersionMiddle;       // liveVersionMiddleTemplate, experienceVersionMiddleTemplate
extern const char* const kLiveDirServers;      // liveDirServersTemplate
extern const char* const kLiveVersionServers;  // liveVersionServersTemplate
extern const char* const kLiveServerChoice;    // liveServerChoiceTemplate
extern const char* const kTestServerChoice;    // experienceServerChoiceTemplate
extern const char* const kTestVersionServers;  // experienceVersionServersTemplate
extern const char* const kTestDirServers;      // experienceDirServersTemplate

}  // namespace vorlane::templates
