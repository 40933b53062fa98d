#pragma once
// The four selection lists of the category and 爱逛街 pages.
namespace catalogue {

// Level 1 (组合框1), level 2 (组合框2), level 3 (组合框3) and the 爱逛街 tabs
// (组合框4).
enum class ListKind { Level1, Level2, Level3, Tabs };

}  // namespace catalogue
