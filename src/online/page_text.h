#pragma once
// Fetched pages as texts the GBK markers can be searched in.
#include "platform/platform.h"

namespace vorlane {

// A page declared UTF-8 is converted; any other page, or one whose bytes are not valid
// UTF-8, is taken byte for byte. The charset is looked for where a browser looks: a byte
// order mark, the Content-Type header, then a <meta> within the first 1024 bytes. Time
// linear in the page's size, whatever it holds.
Text pageText(const HttpResponse& response);

}  // namespace vorlane
