#include "switching/templates.h"

namespace vorlane::templates {

const char* const kVersionHead = "";
const char* const kVersionMiddle = "";
const char* const kLiveDirServers = "";
const char* const kLiveVersionServers = "";
const char* const kLiveServerChoice = "";
const char* const kTestServerChoice = "";
const char* const kTestVersionServers = "";
const char* const kTestDirServers = "";

}  // namespace vorlane::templates
