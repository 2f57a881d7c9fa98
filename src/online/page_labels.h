#pragma once
// The labels cut from fetched pages. Each is made on the worker that fetched its page (a
// PageDigest), so the window only ever receives these short texts.
#include <functional>

#include "platform/platform.h"

namespace vorlane {

// A longer text between the markers is no version: it counts as not found.
constexpr std::size_t kMaxLabelBytes = 64;

Text newestReleaseLabel(const HttpResponse& makerPage);      // newestReleaseLabel
Text experienceVersionLabel(const HttpResponse& makerPage);  // experienceNewestVersionLabel
Text liveVersionLabel(const HttpResponse& downloadPage);     // liveNewestVersionLabel

// The labels of the pages, in the order asked, given to `apply` once all have come back, as
// an event of `requester` ("fetched"); the caller does not wait.
void fetchLabels(Platform& platform, Control& requester, std::vector<PageRequest> pages,
                 std::function<void(const std::vector<Text>& labels)> apply);

}  // namespace vorlane
