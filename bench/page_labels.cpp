// Times the work on a fetched page (its charset found, converted, the texts between the
// three labels' markers cut from it) on hostile bodies of the sizes given, natively:
//   page_labels <KiB> [<KiB> ...]
// One line per body and size: "<body> <KiB> KiB: <ms> ms, between markers <bytes> <bytes> <bytes>"
// (a label keeps such a text only up to 64 bytes). It uses only what the code had before the
// work was made linear too, so the same program measures both.
//   meta:   "<meta" repeated, never closed (the charset search's worst case)
//   marker: every pair of markers around one value that fills the body
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "online/page_text.h"
#include "online/text_between.h"

namespace {

using vorlane::HttpResponse;

std::string metaFlood(std::size_t size) {
    std::string body;
    while (body.size() + 5 <= size) body += "<meta";
    return body;
}

std::string hugeMarker(std::size_t size) {
    const std::string open = "cfs cfv 穿越火线（CrossFire）v";
    const std::string close = "完整客户端: vvvv iii";
    return open + std::string(size - open.size() - close.size(), '1') + close;
}

void measure(const char* name, const std::string& body, std::size_t kib) {
    const HttpResponse page{vorlane::Bytes(body.begin(), body.end()), "text/html"};
    const auto start = std::chrono::steady_clock::now();
    const vorlane::Text text = vorlane::pageText(page);
    const std::size_t live = vorlane::textBetween(text, "穿越火线（CrossFire）v", "完整客户端:").size();
    const std::size_t release = vorlane::textBetween(text, "cfs", "iii", -1, false).size();
    const std::size_t experience = vorlane::textBetween(text, "cfv", "vvvv").size();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("%s %zu KiB: %.1f ms, between markers %zu %zu %zu\n", name, kib, took.count(), live, release,
                experience);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::size_t kib = std::strtoul(argv[i], nullptr, 10);
        measure("meta", metaFlood(kib << 10), kib);
        measure("marker", hugeMarker(kib << 10), kib);
    }
    return 0;
}
