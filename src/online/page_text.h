#pragma once
// Fetched pages as texts the GBK markers can be searched in.
#include "platform/platform.h"

namespace vorlane {

// A page declared UTF-8 (byte order mark, Content-Type, or else its first <meta> with a
// charset) is converted; any other page, or one whose bytes are not valid UTF-8, is taken
// byte for byte.
Text pageText(const HttpResponse& response);

// The texts of the pages, in the order of urls, given to `apply` once all have come back, as
// an event of `requester` ("fetched"); the caller does not wait. An empty address fetches
// nothing and gives the empty text.
void fetchPageTexts(Platform& platform, Control& requester, std::vector<Text> urls,
                    std::function<void(const std::vector<Text>& texts)> apply);

}  // namespace vorlane
