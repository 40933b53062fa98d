// korvel-check's output: CSV quoting, JSON escaping, terminal widths and the
// three formats built from them.
#include <gtest/gtest.h>

#include "output_format.h"

namespace {

using cli::ResultRow;
using ranking::RunStatus;

struct Case {
    const char* input;
    const char* expected;
};

TEST(CsvField, QuotesOnlyWhereNeededAndDoublesQuotes) {
    const Case cases[] = {
        {"辣条", "辣条"},
        {"", ""},
        {"a b", "a b"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cli::csv_field(c.input), c.expected) << c.input;
}

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters) {
    const Case cases[] = {
        {"辣条", "\"辣条\""},
        {"", "\"\""},
        {"a\"b", "\"a\\\"b\""},
        {"back\\slash", "\"back\\\\slash\""},
        {"l1\nl2\r\t", "\"l1\\nl2\\r\\t\""},
        {"\x01\x1f", "\"\\u0001\\u001f\""},
        {"/ and \x7f", "\"/ and \x7f\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cli::json_string(c.input), c.expected) << c.input;
}

TEST(DisplayWidth, WideCharactersTakeTwoColumns) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"price-asc", 9},
        {"辣条", 4},
        {"辣条x", 5},
        {"ＡＢ", 4},                 // full-width letters
        {"e\xCC\x81", 1},            // e and a combining accent
        {"café", 4},                 // a precomposed letter
        {"한국", 4},                 // Hangul syllables
        {"\xE6\xBE", 1},             // a broken sequence shows as one replacement character
        {"服务器返回错误 503", 18},  // the reason texts mix both
    };
    for (const auto& [text, width] : cases)
        EXPECT_EQ(cli::display_width(text), width) << text;
}

std::vector<ResultRow> sample_rows() {
    return {
        {"4033138", "keyword", "辣条,大礼包", "sales", RunStatus::found, 37, ""},
        {"4033138", "new", "", "", RunStatus::not_in_top_1000, 0, ""},
        {"http://x/goods2.html?goods_id=\"1\"", "tab", "14", "", RunStatus::failed, 0,
         "未取得商品ID"},
    };
}

TEST(FormatCsv, HeaderThenOneQuotedLinePerRow) {
    EXPECT_EQ(cli::format_csv(sample_rows()),
              "goods_id,listing,key,sort,status,rank,reason\n"
              "4033138,keyword,\"辣条,大礼包\",sales,found,37,\n"
              "4033138,new,,,not_in_top_1000,,\n"
              "\"http://x/goods2.html?goods_id=\"\"1\"\"\",tab,14,,failed,,未取得商品ID\n");
}

// A keyword or an input typed as a formula reads as text in a spreadsheet.
TEST(FormatCsv, TypedTextBeginsWithAnApostropheWhereASpreadsheetWouldRunIt) {
    const std::vector<ResultRow> rows = {
        {"=1+1", "keyword", "-辣条", "sales", RunStatus::failed, 0, "@原因"},
        {"4033138", "keyword", "+辣条,小包", "", RunStatus::found, 3, ""},
    };
    EXPECT_EQ(cli::format_csv(rows, true),
              "\xEF\xBB\xBF"
              "goods_id,listing,key,sort,status,rank,reason\n"
              "'=1+1,keyword,'-辣条,sales,failed,,'@原因\n"
              "4033138,keyword,\"'+辣条,小包\",,found,3,\n");
    EXPECT_EQ(cli::format_rows(rows, cli::Format::json, true).find("\xEF\xBB\xBF"),
              std::string::npos)
        << "the mark is for CSV only";
}

TEST(FormatCsv, NoRowsGiveTheHeaderOnly) {
    EXPECT_EQ(cli::format_csv({}), "goods_id,listing,key,sort,status,rank,reason\n");
}

TEST(FormatJson, AbsentValuesAreNullAndTextIsEscaped) {
    EXPECT_EQ(cli::format_json(sample_rows()),
              "[\n"
              "  {\"goods_id\":\"4033138\",\"listing\":\"keyword\",\"key\":\"辣条,大礼包\","
              "\"sort\":\"sales\",\"status\":\"found\",\"rank\":37,\"reason\":null},\n"
              "  {\"goods_id\":\"4033138\",\"listing\":\"new\",\"key\":null,\"sort\":null,"
              "\"status\":\"not_in_top_1000\",\"rank\":null,\"reason\":null},\n"
              "  {\"goods_id\":\"http://x/goods2.html?goods_id=\\\"1\\\"\",\"listing\":\"tab\","
              "\"key\":\"14\",\"sort\":null,\"status\":\"failed\",\"rank\":null,"
              "\"reason\":\"未取得商品ID\"}\n"
              "]\n");
}

TEST(FormatJson, NoRowsGiveAnEmptyArray) {
    EXPECT_EQ(cli::format_json({}), "[]\n");
}

// The column where each cell after the first starts, counted in terminal
// columns: cells are separated by at least two spaces and hold none.
std::vector<int> cell_starts(const std::string& line) {
    std::vector<int> starts;
    int column = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t gap = line.find("  ", i);
        const std::size_t end = gap == std::string::npos ? line.size() : gap;
        column += cli::display_width(line.substr(i, end - i));
        i = line.find_first_not_of(' ', end);
        if (i == std::string::npos)
            break;
        column += static_cast<int>(i - end);
        starts.push_back(column);
    }
    return starts;
}

TEST(FormatTable, ColumnsLineUpInTerminalColumnsWithChineseCells) {
    const std::vector<ResultRow> rows = {
        {"4033138", "keyword", "辣条大礼包", "default", RunStatus::found, 37, ""},
        {"4033138", "keyword", "ab", "price-desc", RunStatus::found, 618, ""},
        {"4033138", "keyword", "辣条", "sales", RunStatus::failed, 0, "服务器返回错误 503"},
    };
    const std::string table = cli::format_table(rows);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < table.size();) {
        const std::size_t end = table.find('\n', start);
        lines.push_back(table.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("goods_id", 0), 0u);
    // Empty cells show no text, so each line is checked at the cells it has:
    // listing, key, sort and status everywhere, then rank or reason.
    const std::vector<int> header = cell_starts(lines[0]);
    ASSERT_EQ(header.size(), 6u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<int> starts = cell_starts(lines[i]);
        ASSERT_EQ(starts.size(), 5u) << lines[i];
        for (std::size_t c = 0; c < 4; ++c)
            EXPECT_EQ(starts[c], header[c]) << "column " << c + 2 << " of " << lines[i];
        const int last = i < 3 ? header[4] : header[5];
        EXPECT_EQ(starts[4], last) << lines[i];
        EXPECT_NE(lines[i].back(), ' ') << "trailing blanks in " << lines[i];
    }
}

}  // namespace
