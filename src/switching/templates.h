#pragma once
// The launcher files each server needs, held by the hidden edit boxes of the main window.
namespace vorlane::templates {

extern const char* const kVersionHead;         // 编辑框4, 编辑框11
extern const char* const kVersionMiddle;       // 编辑框12, 编辑框13
extern const char* const kLiveDirServers;      // 编辑框5
extern const char* const kLiveVersionServers;  // 编辑框6
extern const char* const kLiveServerChoice;    // 编辑框7
extern const char* const kTestServerChoice;    // 编辑框8
extern const char* const kTestVersionServers;  // 编辑框9
extern const char* const kTestDirServers;      // 编辑框10

}  // namespace vorlane::templates
