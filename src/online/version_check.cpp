#include "online/version_check.h"

#include <string_view>

#include "online/page_labels.h"
#include "online/text_between.h"
#include "online/web_addresses.h"
#include "program/app.h"
#include "program/controls.h"

namespace vorlane {
namespace {

// The live version's caption until a fetch has replaced it.
constexpr std::string_view kNotFetched = "0.0.0.0";
// A download page that keeps saying "0.0.0.0" would otherwise be fetched every tick forever.
constexpr int kMaxNotFetchedPages = 3;

}  // namespace

void onVersionTimerTick(App& app) {
    Control& timer = app.main.control(controls::versionTimer);
    // A tick already queued when the timer stopped must not complete the caption again, and
    // one that comes while its pages are on their way does nothing.
    if (timer.interval() == 0 || app.versionPagesPending) return;

    Control& live = app.main.control(controls::liveNewestVersionLabel);
    if (live.text() == kNotFetched && app.zeroVersionFetches < kMaxNotFetchedPages) {
        app.versionPagesPending = true;
        fetchLabels(app.platform, timer,
                    {{webAddresses.downloadPage, liveVersionLabel}, {webAddresses.makerPage, experienceVersionLabel}},
                    [&app, &live](const std::vector<Text>& labels) {
                        app.versionPagesPending = false;
                        live.setText(labels[0]);
                        app.main.control(controls::experienceNewestVersionLabel).setText(labels[1]);
                        if (live.text() == kNotFetched) ++app.zeroVersionFetches;
                    });
        return;
    }

    timer.setInterval(0);
    if (countOccurrences(live.text(), ".") < 3) live.setText("0." + live.text());
}

}  // namespace vorlane
