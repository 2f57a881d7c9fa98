#include "online/page_labels.h"

#include "online/page_text.h"
#include "online/text_between.h"

namespace vorlane {
namespace {

Text label(const HttpResponse& page, std::string_view startMarker, std::string_view endMarker,
           int startPosition = 0) {
    Text between = textBetween(pageText(page), startMarker, endMarker, startPosition, false);
    return between.size() <= kMaxLabelBytes ? between : Text();
}

}  // namespace

Text newestReleaseLabel(const HttpResponse& makerPage) { return label(makerPage, "cfs", "iii", -1); }

Text experienceVersionLabel(const HttpResponse& makerPage) { return label(makerPage, "cfv", "vvvv"); }

Text liveVersionLabel(const HttpResponse& downloadPage) {
    return label(downloadPage, "穿越火线（CrossFire）v", "完整客户端:");
}

void fetchLabels(Platform& platform, Control& requester, std::vector<PageRequest> pages,
                 std::function<void(const std::vector<Text>& labels)> apply) {
    platform.fetchPages(std::move(pages), [&requester, apply = std::move(apply)](const std::vector<Text>& labels) {
        requester.window().fireFetched(requester, [&] { apply(labels); });
    });
}

}  // namespace vorlane
