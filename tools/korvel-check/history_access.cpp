#include "history_access.h"

#include "history/default_path.h"

namespace cli {

OpenedHistory open_history(const std::optional<std::string>& db) {
    std::filesystem::path file;
    if (db) {
        file = std::filesystem::path(*db);
    } else {
        auto found = history::default_history_path();
        if (!found)
            return {std::nullopt, found.error().message};
        file = found.value();
    }
    auto store = history::Store::open(file);
    if (!store)
        return {std::nullopt, store.error().message};
    return {std::move(store).value(), {}};
}

}  // namespace cli
