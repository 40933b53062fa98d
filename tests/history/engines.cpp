// Every StoreContract case runs once per engine.
#include "history_fixture.h"

namespace history_test {

INSTANTIATE_TEST_SUITE_P(Engines, StoreContract,
                         ::testing::Values(EngineKind::sqlite, EngineKind::postgresql),
                         [](const ::testing::TestParamInfo<EngineKind>& info) {
                             return info.param == EngineKind::sqlite ? "SQLite" : "PostgreSQL";
                         });

}  // namespace history_test
