#include "history_access.h"

#include "history/default_path.h"
#include "run_settings.h"

namespace cli {

OpenedHistory open_history(const CheckOptions& options) {
    history::Location location;
    if (options.db) {
        location = history::Location(*options.db);
    } else {
        const service::HistorySetting configured =
            service::load_configuration(run_settings_file(options)).history;
        if (!configured.problem.empty())
            return {std::nullopt, configured.problem};
        location = configured.location;
    }
    if (location.empty()) {
        auto found = history::default_history_path();
        if (!found)
            return {std::nullopt, found.error().message};
        location = found.value();
    }
    auto store = history::Store::open(location);
    if (!store)
        return {std::nullopt, store.error().message};
    return {std::move(store).value(), {}};
}

}  // namespace cli
