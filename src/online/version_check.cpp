#include "online/version_check.h"

#include <string_view>

#include "app/app.h"
#include "online/page_text.h"
#include "online/text_between.h"
#include "online/web_addresses.h"

namespace vorlane {
namespace {

// The live version's caption until a fetch has replaced it.
constexpr std::string_view kNotFetched = "0.0.0.0";
// A download page that keeps saying "0.0.0.0" would otherwise be fetched every tick forever.
constexpr int kMaxNotFetchedPages = 3;

}  // namespace

void onVersionTimerTick(App& app) {
    Control& timer = app.main.control("时钟1");
    // A tick already queued when the timer stopped must not complete the caption again.
    if (timer.interval() == 0) return;

    Control& live = app.main.control("透明标签5");
    if (live.text() == kNotFetched && app.zeroVersionFetches < kMaxNotFetchedPages) {
        const Text download = fetchPageText(app.platform, webAddresses.downloadPage);
        live.setText(textBetween(download, "穿越火线（CrossFire）v", "完整客户端:"));
        const Text maker = fetchPageText(app.platform, webAddresses.makerPage);
        app.main.control("透明标签4").setText(textBetween(maker, "cfv", "vvvv"));
        if (live.text() == kNotFetched) ++app.zeroVersionFetches;
        return;
    }

    timer.setInterval(0);
    if (countOccurrences(live.text(), ".") < 3) live.setText("0." + live.text());
}

}  // namespace vorlane
