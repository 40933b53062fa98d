#pragma once
// Program-wide data: what the ranking queries and the catalogue keep between
// events, beside the window. All texts are GBK; multi-line texts use CR LF.
#include "catalogue/catalogue_data.h"
#include "ranking/query_state.h"

class QWidget;

namespace app {

struct ProgramData {
    ranking::QueryState query;
    catalogue::CatalogueData catalogue;
};

// What every handler gets: the main window (its controls found by name) and
// the program data beside it.
struct Context {
    QWidget& window;
    ProgramData& data;
};

}  // namespace app
