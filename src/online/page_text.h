#pragma once
// Fetched pages as texts the GBK markers can be searched in.
#include "platform/platform.h"

namespace vorlane {

// A page declared UTF-8 (byte order mark, Content-Type, or else its first <meta> with a
// charset) is converted; any other page, or one whose bytes are not valid UTF-8, is taken
// byte for byte.
Text pageText(const HttpResponse& response);

// The page at url as a text; an empty address fetches nothing and gives the empty text.
Text fetchPageText(Platform& platform, const Text& url);

}  // namespace vorlane
