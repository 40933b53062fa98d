#include "plain/csv_reader.h"

namespace test {

CsvRecords read_csv(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    CsvRecords records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    const auto end_record = [&] {
        record.push_back(std::move(field));
        records.push_back(std::move(record));
        field.clear();
        record.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            end_record();
        } else if (c == '\n') {
            end_record();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !record.empty())
        end_record();
    return records;
}

}  // namespace test
