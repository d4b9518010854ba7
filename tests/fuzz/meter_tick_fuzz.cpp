// Any three field texts, changed between ticks: the meter never crashes and
// its amount stays finite. The input holds lines: the first byte picks the
// locale, then each group of three lines is one tick's persons, salary and
// base cost, and a line starting with '!' presses "Stop" and "Start".
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_common.h"
#include "meter/meter_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tallaro;
    if (size == 0) {
        return 0;
    }
    std::string_view rest(reinterpret_cast<const char *>(data + 1), size - 1);
    std::vector<std::string_view> lines;
    while (!rest.empty() && lines.size() < 300) {
        const std::size_t end = rest.find('\n');
        lines.push_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    MeterModel meter(fuzz::localeOf(data[0]));
    for (std::size_t i = 0; i + 2 < lines.size(); i += 3) {
        const MeterFields fields{lines[i], lines[i + 1], lines[i + 2]};
        if (lines[i].starts_with("!")) {
            meter.stop();
        }
        if (meter.state() != MeterModel::State::Running) {
            (void)meter.start(fields);
            continue;
        }
        const MeterDisplay display = meter.tick(fields);
        if (!std::isfinite(meter.totalCost()) || display.amount.empty() || display.time.empty()) {
            fuzz::violated();
        }
    }
    return 0;
}
