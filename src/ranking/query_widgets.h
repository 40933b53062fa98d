#pragma once
// The few widget operations a ranking query needs, by control name, all texts
// GBK. A missing control reads as empty and ignores writes.
#include <initializer_list>
#include <string>
#include <string_view>

#include "ranking/listing_urls.h"
#include "ranking/query_kind.h"
#include "ranking/result_texts.h"

class QWidget;

namespace ranking {

std::string read_control(const QWidget& window, const char* name);
void write_control(const QWidget& window, const char* name, std::string_view gbk);

// Moves the caret to the end of a multi-line box, inserts the text there and
// scrolls it into view.
void append_control(const QWidget& window, const char* name, std::string_view gbk);
void write_result(const QWidget& window, const char* box, const ResultWrite& write);

SortChoice read_sort_choice(const QWidget& window);

void disable_buttons(const QWidget& window, std::initializer_list<QueryKind> kinds);
// The pressed button shows "查询中…" while its query runs.
void show_busy(const QWidget& window, QueryKind pressed);
// The pressed button enabled and captioned "查询" first, then the other three.
void restore_buttons(const QWidget& window, QueryKind pressed);
// True while the kind's button is disabled, that is while its query runs.
bool button_disabled(const QWidget& window, QueryKind kind);

}  // namespace ranking
